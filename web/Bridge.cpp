// What the page calls: the engine's estimate, the factor the screens form from the choices, the
// coefficients the results explain and the ratings the wizard offers, through plain C functions
// of numbers and UTF-8 strings that the WebAssembly loader wraps.
#include "engine/CostDrivers.h"
#include "engine/Estimate.h"
#include "engine/Names.h"
#include "engine/PhaseDistribution.h"
#include "runtime/numeric/Numeric.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

engine::Estimate latest;
// A string handed to the page, valid until the next call that returns one.
std::string handed;

const char *Hand(std::string_view text) {
    handed.assign(text);
    return handed.c_str();
}

bool Within(int value, int first, int last) {
    return value >= first && value <= last;
}

bool ValidCodes(int model, int mode) {
    return Within(model, Models::Basic, Models::Advanced) &&
           Within(mode, Modes::Organic, Modes::Embedded);
}

// The factor as the cost-driver or phase screen forms it: a character a row, its step or
// column as a digit; a row whose character is no such digit is left alone.
double FactorOf(int model, int mode, std::string_view choices) {
    const auto choice = [&](std::size_t row, std::size_t count) -> int {
        if (row >= choices.size() || choices[row] < '0' ||
            choices[row] >= static_cast<char>('0' + count)) {
            return -1;
        }
        return choices[row] - '0';
    };
    if (model == Models::Intermediate) {
        engine::DriverMultiplier multipliers;
        for (std::size_t row = 0; row < engine::CostDriverCount; ++row) {
            const int step = choice(row, engine::RatingCount);
            if (step >= 0 && engine::RatingOffered[row][static_cast<std::size_t>(step)]) {
                engine::SelectRating(multipliers, static_cast<engine::CostDriver>(row),
                                     static_cast<std::int16_t>(step));
            }
        }
        return engine::DriverProduct(multipliers);
    }
    if (model == Models::Advanced) {
        engine::PhaseEffort efforts;
        for (std::size_t row = 0; row < engine::PhaseCount; ++row) {
            engine::SelectPhaseColumn(
                efforts, engine::PhaseTableOf(static_cast<std::int16_t>(mode)),
                static_cast<engine::Phase>(row),
                static_cast<std::int16_t>(choice(row, engine::SizeColumnCount)));
        }
        return engine::PhaseSum(efforts);
    }
    return 0.0;
}

enum Figure { Effort, Tdev, Staffing, Factor, Lines };

double FigureOf(int which) {
    switch (which) {
    case Effort:
        return latest.figures.effort;
    case Tdev:
        return latest.figures.tdev;
    case Staffing:
        return latest.figures.avgStaffing;
    case Factor:
        return latest.eaf;
    case Lines:
        return latest.lines;
    default:
        return 0.0;
    }
}

} // namespace

extern "C" {

// Calculates the estimate for the size text, the model and mode codes and the choices, and
// returns the run-time error's number, 0 for an estimate, -1 for a code out of range.
int cocomo_calculate(int model, int mode, const char *size, const char *choices) {
    if (!ValidCodes(model, mode)) {
        return -1;
    }
    const double factor = FactorOf(model, mode, choices);
    latest = engine::Calculate({static_cast<std::int16_t>(model), static_cast<std::int16_t>(mode),
                                std::string_view(size), factor});
    return latest.error ? latest.error->number() : 0;
}

// A figure of the last estimate: 0 the effort, 1 TDEV, 2 the average staffing, 3 the factor
// the effort was multiplied by, 4 the whole size in lines.
double cocomo_figure(int which) {
    return FigureOf(which);
}

// The figure in the pattern "#0.00" with the decimal separator given.
const char *cocomo_shown(int which, const char *separator) {
    return Hand(rt::FormatHundredths(FigureOf(which), separator));
}

// The last run-time error: 0 its heading, 1 its description, 2 what the size must be.
const char *cocomo_error(int which) {
    if (which == 2) {
        return Hand(engine::SizeRequirement);
    }
    if (!latest.error) {
        return Hand("");
    }
    return Hand(which == 0 ? latest.error->heading() : latest.error->description());
}

// The equations' coefficient of the model and mode: 0 a, 1 b, 2 c, 3 d; 4 whether the effort
// is multiplied by the factor.
double cocomo_coefficient(int model, int mode, int which) {
    if (!ValidCodes(model, mode)) {
        return 0.0;
    }
    const engine::Coefficients &k = engine::CoefficientTable[static_cast<std::size_t>(model - 1)]
                                                            [static_cast<std::size_t>(mode - 1)];
    const std::array<double, 5> values{k.a, k.b, k.c, k.d, k.appliesEAF ? 1.0 : 0.0};
    return Within(which, 0, 4) ? values[static_cast<std::size_t>(which)] : 0.0;
}

// Whether the screen offers the step (0 Very Low to 5 Extra High) of the driver (in the
// order of the rows).
int cocomo_offered(int driver, int step) {
    return Within(driver, 0, engine::CostDriverCount - 1) &&
                   Within(step, 0, engine::RatingCount - 1)
               ? engine::RatingOffered[static_cast<std::size_t>(driver)]
                                      [static_cast<std::size_t>(step)]
               : 0;
}
}
