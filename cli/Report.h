#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace cli {

// The reports read, for the message that refuses any other input.
inline constexpr std::string_view ReportFormats =
    "cloc --json (the code of its SUM entry) and scc --format json (the sum of Code over its "
    "languages)";

// The code lines counted in a line counter's JSON report: cloc's --json report (the SUM
// entry's code) or scc's --format json report (the sum of Code over the languages). None
// for any other input. A sum beyond 64 bits stays at the largest 64-bit count, which is
// as far beyond any size the estimate takes.
std::optional<std::uint64_t> CodeLines(std::string_view report);

// The same, read from a file to its end. The file is read as it is parsed, so that a
// large report, or endless input, is never held whole; reading stops at the first byte
// that cannot belong to a report. Read errors show in std::ferror(file).
std::optional<std::uint64_t> CodeLines(std::FILE *file);

} // namespace cli
