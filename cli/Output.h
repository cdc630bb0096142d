#pragma once

#include "cli/Arguments.h"
#include "cli/Calculation.h"

#include <string>
#include <string_view>

namespace cli {

// How numbers are written for people: the decimal separator, and the thousands separator
// with the sizes of the digit groups from the right as localeconv() gives them (each byte
// one group's size, the last repeated; none, or CHAR_MAX, for no more grouping).
struct NumberFormat {
    std::string decimal = ".";
    std::string thousands = ",";
    std::string grouping = "\3";
};

// The model, the mode, the lines, the factor and the three results with the results
// screen's two decimals, the cost in whole units with grouped digits, and a line saying
// what each figure is.
std::string FormatText(const Request &request, const Figures &figures, const NumberFormat &format);

// The rows of the text form, but the reports, as a Markdown table ready to paste into a pull
// request, and the same line about the figures.
std::string FormatMarkdown(const Request &request, const Figures &figures,
                           const NumberFormat &format);

// One JSON object: the same figures as full-precision doubles, with the ratings and phase
// columns the factor was formed from and the reports the lines were counted in.
std::string FormatJson(const Request &request, const Figures &figures);

// A header row and one data row with the fields of the JSON object, the ratings and
// columns one field each.
std::string FormatCsv(const Request &request, const Figures &figures);

} // namespace cli
