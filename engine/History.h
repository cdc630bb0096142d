#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The model checked against a team's finished projects, and fitted to them. Every project
// holds a mode from 1 to 3 and finite figures above zero, as cli::ReadHistory gives them.
namespace engine::history {

// A finished project as a history table gives it.
struct Project {
    std::int16_t mode; // Modes::Organic, Semidetached or Embedded
    double kloc;       // thousands of delivered lines, above 0
    double actual;     // the actual effort in staff-months, above 0
    double eaf; // the product of its fifteen multipliers in the engine's driver order; 1 with none
};

// How close estimates come to the actual efforts. All zero over no projects.
struct Accuracy {
    std::size_t projects = 0;
    double mmre = 0.0; // mean of |estimate - actual| / actual, in percent
    double mdmre =
        0.0; // the median of the same (the mean of the two middle ones for an even count)
    double pred25 = 0.0; // percent of the projects whose estimate is within 25 % (MRE <= 0.25)
    double pred30 = 0.0; // the same within 30 %
    std::size_t withinFactorTwo = 0; // estimates from half to twice the actual, both ends included
};

// model: Models::Basic (eaf not applied) or Models::Intermediate (eaf applied).
// The estimate in the engine's own order of multiplication: pow(kloc, b) * eaf * a (Basic:
// pow(kloc, b) * a).
double EstimateOf(const Project &project, std::int16_t model, double a, double b);

// Over all projects, and for each mode that has at least one (index mode - 1), with the
// published coefficients of CoefficientTable for the model and the project's mode.
struct Check {
    Accuracy all;
    std::array<std::optional<Accuracy>, 3> modes;
};
Check CheckHistory(std::span<const Project> projects, std::int16_t model);

enum class Fit : std::uint8_t { Coefficient, Both };

// How a mode's coefficients came about.
enum class Fitted : std::uint8_t {
    Published,
    Coefficient,
    Both,
    CoefficientFewerThanFive,
    CoefficientOneSize
};

struct ModeCalibration {
    Fitted how = Fitted::Published;
    std::size_t projects = 0;
    double a = 0.0, b = 0.0;             // fitted, or the published ones with no projects
    std::optional<Accuracy> fitted;      // with a and b; none with no projects
    std::optional<Accuracy> leaveOneOut; // each project estimated from a fit without it
};

struct Calibration {
    std::array<ModeCalibration, 3> modes;
    Accuracy all;            // every project, estimated with its mode's a and b
    Accuracy allLeaveOneOut; // every project, estimated from its mode's fit without it
};

// Fits each mode's coefficients, in logarithms, to its projects alone (the multipliers are
// divided out of the actual effort for the Intermediate model):
// - Fit::Coefficient keeps the published exponent b and takes a = exp(mean of
//   ln(actual / (eaf * kloc^b))); one project is enough, and its estimate is then exact.
// - Fit::Both takes a and b by ordinary least squares of ln(actual / eaf) on ln(kloc), from
//   five projects of the mode on; with fewer, or where all the mode's projects have the same
//   size, it fits the coefficient alone as above, and how says which.
// - A mode without projects keeps the published coefficients, and has no accuracy.
// Leave-one-out estimates each project from its mode's other projects by the same rules: the
// coefficient alone where fewer than five are left or they all have one size, and the
// published coefficients where none is left (a mode's only project).
Calibration Calibrate(std::span<const Project> projects, std::int16_t model, Fit fit);

} // namespace engine::history
