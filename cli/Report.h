#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The reports read, for the message that refuses any other input.
inline constexpr std::string_view ReportFormats =
    "it reads cloc --json, also with --by-file, --by-file-by-lang or --diff (the code of SUM; "
    "with --diff its added and modified code), and scc --format json or json2 (the sum of the "
    "languages' Code)";

// A report that cannot be read; what() says what was found and where: the entry by name,
// or the byte (counted from 1) at which the JSON syntax failed.
class BadReport : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code lines that cloc --diff counts between two trees.
struct Change {
    std::int64_t added = 0;
    std::int64_t modified = 0;
    std::int64_t removed = 0;
    std::int64_t same = 0;
};

// One language of a report, by its name there, with the lines it adds to the estimate.
struct Language {
    std::string name;
    std::int64_t lines = 0;
    Change change; // of cloc --diff reports
};

// What a line counter's report counts.
struct Count {
    // The code lines estimated: those of the whole tree, or those added and modified.
    std::int64_t lines = 0;
    // Each language once, in the order the report first names it; none where the report
    // has no breakdown, or one of more than any line counter knows.
    std::vector<Language> languages;
    std::optional<Change> change; // for cloc --diff only
};

// The count of a line counter's JSON report: the code of the SUM entry of cloc's --json
// report (at the top, or under by_lang or by_file with --by-file-by-lang), the added and
// modified code of its SUM with --diff, or the sum of Code over the languages of scc's
// --format json list or of its json2 languageSummary; the languages from cloc's entries,
// its files' language with --by-file, or scc's Name. A count may be any whole number,
// spelt as JSON allows (12.0 is 12); 0 lines for a report that counts no code ({} from
// cloc, [] from scc). Counts beyond 64 bits stay at the largest. The file is read as it is
// parsed, so that a large report, or endless input, is never held whole; reading stops at
// the first byte that cannot belong to a report. Throws BadReport; read errors show in
// std::ferror(file).
Count ReadReport(std::FILE *file);

// total + count, staying at the largest 64-bit count beyond it; a negative count, which
// no size may have, stays the result whatever follows.
std::int64_t AddCounts(std::int64_t total, std::int64_t count);

} // namespace cli
