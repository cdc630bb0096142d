#pragma once

#include "runtime/numeric/RuntimeError.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

namespace engine {

// Effort = a * KLOC^b (times EAF for the Intermediate and Advanced models),
// TDEV = c * Effort^d.
struct Coefficients {
    double a;
    double b;
    bool appliesEAF;
    double c;
    double d;
};

// Indexed by [Model - 1][Mode - 1].
inline constexpr std::array<std::array<Coefficients, 3>, 3> CoefficientTable{{
    {{{2.4, 1.05, false, 2.5, 0.38}, {3.0, 1.12, false, 2.5, 0.35}, {3.6, 1.2, false, 2.5, 0.32}}},
    {{{3.2, 1.05, true, 2.5, 0.38}, {3.0, 1.12, true, 2.5, 0.35}, {2.8, 1.2, true, 2.5, 0.32}}},
    {{{3.2, 1.05, true, 2.5, 0.38}, {3.0, 1.12, true, 2.5, 0.35}, {2.8, 1.2, true, 2.5, 0.32}}},
}};

// The three figures of an estimate.
struct Figures {
    double effort = 0.0;      // staff-months
    double tdev = 0.0;        // months
    double avgStaffing = 0.0; // people: effort / tdev
};

// A size in lines: the text of the size box, or a number of lines counted elsewhere.
using Size = std::variant<std::string_view, double>;

// The lines of a size: its text read as the size box's is, rounded to whole lines, or the
// number as it is. Raises the overflow error for either beyond the 32-bit range.
double LinesOf(const Size &size);

// What one calculation is given.
struct EstimateInput {
    std::int16_t model = 0; // 1 Basic, 2 Intermediate, 3 Advanced
    std::int16_t mode = 0;  // 1 Organic, 2 Semidetached, 3 Embedded
    Size size;
    double eaf = 0.0; // read by the Intermediate and Advanced models only
    // The user's own, in place of the table's for the model and mode; applied as the
    // table's are.
    const Coefficients *coefficients = nullptr;
};

// What one calculation gives. Each figure is stored before it is checked: where a step
// fails, figures holds what was stored up to that step and error the run-time error, and a
// figure that no step reached keeps the value the calculation started from.
struct Estimate {
    bool ran = false;       // false for a Model other than 1 to 3, or a size out of range
    std::int32_t lines = 0; // the size in whole lines
    double size = 0.0;      // the lines the figures were computed from: lines, for a text
    double eaf = 0.0;       // the factor the effort was multiplied by, where its model has one
    Figures figures;
    std::optional<rt::RuntimeError> error;
};

// Reads the size in lines and computes the figures for the model and mode,
// from held, the figures already stored: a Mode other than 1 to 3 computes no effort and no
// TDEV, and the average staffing is then that of held. The error is the overflow for a size
// out of range (before anything is computed), the invalid argument for a negative size (at
// the effort's power) and the floating-point error for a zero size or zero EAF (after the
// average staffing, NaN, is stored).
Estimate Calculate(const EstimateInput &input, const Figures &held = {});

// The wizard's calculation: Calculate on Module1's Model, Mode and EAF, from the figures it
// holds, whose Effort, TDEV and AvgStaffing then hold the estimate's. Returns the estimate,
// or nothing, with nothing stored, for a Model other than 1 to 3; raises its run-time error
// once the figures are stored.
std::optional<Estimate> CalculateEstimate(std::string_view sizeText);

// What the size must be for the calculation to give a result, told to a user whose size it
// refused.
inline constexpr std::string_view SizeRequirement =
    "The size must be a whole number of lines from 1 to 2147483647, for example 32000.";

} // namespace engine
