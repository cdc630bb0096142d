#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace cli {

// The reports read, for the message that refuses any other input.
inline constexpr std::string_view ReportFormats =
    "it reads cloc --json, also with --by-file or --by-file-by-lang (the code of SUM), and "
    "scc --format json or json2 (the sum of the languages' Code)";

// A report that cannot be read; what() says what was found and where: the entry by name,
// or the byte (counted from 1) at which the JSON syntax failed.
class BadReport : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code lines counted in a line counter's JSON report: the code of the SUM entry of
// cloc's --json report (at the top, or under by_lang or by_file with --by-file-by-lang),
// or the sum of Code over the languages of scc's --format json list or of its json2
// languageSummary. A count may be any whole number, spelt as JSON allows (12.0 is 12);
// 0 for a report that counts no code ({} from cloc, [] from scc). Counts beyond 64 bits
// stay at the largest. The file is read as it is parsed, so that a large report, or
// endless input, is never held whole; reading stops at the first byte that cannot belong
// to a report. Throws BadReport; read errors show in std::ferror(file).
std::int64_t CodeLines(std::FILE *file);

// total + count, staying at the largest 64-bit count beyond it; a negative count, which
// no size may have, stays the result whatever follows.
std::int64_t AddCounts(std::int64_t total, std::int64_t count);

} // namespace cli
