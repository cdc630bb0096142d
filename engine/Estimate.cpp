#include "engine/Estimate.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "runtime/numeric/Numeric.h"

#include <cstdint>

namespace engine {
namespace {

// The statements run in the order of the published equations, and every result is
// stored before it is checked, so a failing step leaves its own value behind.
void ComputeForMode(const EstimateInput &input, Estimate &estimate) {
    if (input.mode < Modes::Organic || input.mode > Modes::Embedded) {
        return;
    }
    const Coefficients &k = input.coefficients != nullptr
                                ? *input.coefficients
                                : CoefficientTable[static_cast<std::size_t>(input.model - 1)]
                                                  [static_cast<std::size_t>(input.mode - 1)];
    Figures &figures = estimate.figures;
    const double kloc = estimate.size / 1000.0;
    rt::CheckFloatingPoint(kloc);
    if (k.appliesEAF) {
        estimate.eaf = input.eaf;
        figures.effort = rt::Power(kloc, k.b) * input.eaf * k.a;
    } else {
        figures.effort = rt::Power(kloc, k.b) * k.a;
    }
    rt::CheckFloatingPoint(figures.effort);
    figures.tdev = rt::Power(figures.effort, k.d) * k.c;
    rt::CheckFloatingPoint(figures.tdev);
}

} // namespace

double LinesOf(const Size &size) {
    if (const auto *text = std::get_if<std::string_view>(&size)) {
        return rt::ToInt32(rt::Val(*text));
    }
    rt::ToInt32(std::get<double>(size)); // only for its range check
    return std::get<double>(size);
}

Estimate Calculate(const EstimateInput &input, const Figures &held) {
    Estimate estimate;
    estimate.figures = held;
    try {
        estimate.size = LinesOf(input.size);
        estimate.lines = rt::ToInt32(estimate.size);
        if (input.model < Models::Basic || input.model > Models::Advanced) {
            return estimate;
        }
        estimate.ran = true;
        ComputeForMode(input, estimate);
        Figures &figures = estimate.figures;
        figures.avgStaffing = figures.effort / figures.tdev;
        rt::CheckFloatingPoint(figures.avgStaffing);
    } catch (const rt::RuntimeError &error) {
        estimate.error = error;
    }
    return estimate;
}

std::optional<Estimate> CalculateEstimate(std::string_view sizeText) {
    const Estimate estimate = Calculate({Module1::Model, Module1::Mode, sizeText, Module1::EAF},
                                        {Module1::Effort, Module1::TDEV, Module1::AvgStaffing});
    Module1::Effort = estimate.figures.effort;
    Module1::TDEV = estimate.figures.tdev;
    Module1::AvgStaffing = estimate.figures.avgStaffing;
    if (estimate.error) {
        throw *estimate.error;
    }
    if (!estimate.ran) {
        return std::nullopt;
    }
    return estimate;
}

} // namespace engine
