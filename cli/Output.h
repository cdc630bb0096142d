#pragma once

#include "cli/Arguments.h"
#include "cli/Calculation.h"
#include "cli/Numbers.h"

#include <string>
#include <string_view>

namespace cli {

// The model, the mode, the lines with each report's and language's, the factor and the
// results with the results screen's two decimals, the years beside the months, the cost in
// whole units with grouped digits, a line saying what each figure is and one saying what
// the mode stands for. For COCOMO II, no mode, but its ratings, exponents, effort without SCED
// and SCED percentage, and a line with its equations.
std::string FormatText(const Request &request, const std::optional<Outcome> &figures,
                       const std::optional<History> &history, const NumberFormat &format);

// The rows of the text form as a Markdown table ready to paste into a pull request, and the
// same lines about the figures and the mode.
std::string FormatMarkdown(const Request &request, const std::optional<Outcome> &figures,
                           const std::optional<History> &history, const NumberFormat &format);

// One JSON object: the same figures as full-precision doubles, with the ratings and phase
// columns the factor was formed from, the reports the lines were counted in and their
// languages.
std::string FormatJson(const Request &request, const std::optional<Outcome> &figures,
                       const std::optional<History> &history);

// A header row and one data row with the fields of the JSON object, the ratings, columns
// and changed lines one field each, the languages counted in one.
std::string FormatCsv(const Request &request, const std::optional<Outcome> &figures,
                      const std::optional<History> &history);

// The summary SLOCCount writes after its table, figure for figure, and its totals by
// language before it where the reports have languages.
std::string FormatSlocCount(const Request &request, const Outcome &figures);

} // namespace cli
