#pragma once

#include "cli/Arguments.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

// What one estimate gives.
struct Figures {
    std::int32_t lines = 0;    // the size in whole lines, as the calculation read it
    std::optional<double> eaf; // the factor applied; none for the Basic model
    double effort = 0.0;       // staff-months
    double tdev = 0.0;         // months
    double averageStaffing = 0.0;
    std::optional<double> cost; // with --salary only
    // Where the lines came from: each report's count, in the order given; none for --lines.
    std::vector<std::pair<std::string, std::int64_t>> reports;
};

// The wizard's own steps: the factor formed as the cost-driver or phase screen forms it (or
// as given), then the calculation on the size text for the model and mode. Throws
// rt::RuntimeError where the calculation refuses the size, UsageError for a cost beyond the
// range of a double.
Figures Calculate(const Request &request, std::string_view linesText);

// The overhead factor the cost is computed with.
double Overhead(const Request &request);

} // namespace cli
