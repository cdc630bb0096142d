#pragma once

#include <array>
#include <string_view>

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

// Reads the size in lines from the text, computes Effort, TDEV and AvgStaffing from
// Module1's Model, Mode and EAF and stores them there. Returns false, with nothing
// stored, for a Model other than 1 to 3. Raises rt::RuntimeError on an out-of-range
// size (before anything is stored), on a negative size (at the effort's power) and on
// a zero size or zero EAF (after storing NaN in AvgStaffing).
bool CalculateEstimate(std::string_view sizeText);

// What the size must be for the calculation to give a result, told to a user whose size it
// refused.
inline constexpr std::string_view SizeRequirement =
    "The size must be a whole number of lines from 1 to 2147483647, for example 32000.";

} // namespace engine
