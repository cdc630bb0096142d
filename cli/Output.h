#pragma once

#include "cli/Arguments.h"
#include "cli/Calculation.h"

#include <string>
#include <string_view>

namespace cli {

// The model, the mode, the lines, the factor and the three results with the results
// screen's two decimals, and a line saying what each figure is; numbers with the given
// decimal separator.
std::string FormatText(const Request &request, const Figures &figures,
                       std::string_view decimalSeparator);

// One JSON object: the same figures as full-precision doubles, with the ratings and phase
// columns the factor was formed from and the reports the lines were counted in.
std::string FormatJson(const Request &request, const Figures &figures);

// A header row and one data row with the fields of the JSON object, the ratings and
// columns one field each.
std::string FormatCsv(const Request &request, const Figures &figures);

} // namespace cli
