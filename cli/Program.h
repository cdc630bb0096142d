#pragma once

#include "cli/Output.h"

#include <cstdio>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace cli {

// Where the program reads and writes, so that tests can run it whole in their own process.
struct Environment {
    std::FILE *input;  // standard input, for --lines-from -
    std::FILE *output; // standard output, written and flushed once, so that a failed write
                       // is known with its reason
    std::ostream &errors;
    // The number format of the user's locale; asked only for --locale.
    NumberFormat (*numberFormat)();
};

// Exit statuses: 0 the estimate was written; 1 the size was refused; 2 the command line or
// a report could not be read; 3 the output could not be written.
inline constexpr int Refused = 1;
inline constexpr int UsageFailure = 2;
inline constexpr int WriteFailure = 3;

// Runs the program on the arguments after its name and returns its exit status. Writes
// to the output only on success, and then nothing to the errors.
int Run(std::span<const std::string_view> args, const Environment &environment);

// The separators and grouping of LC_NUMERIC as the environment sets it (the C locale's
// where that locale is not installed); the program's own locale is left as it was.
NumberFormat UserNumberFormat();

} // namespace cli
