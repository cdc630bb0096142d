#include "engine/Estimate.h"

#include "engine/Module1.h"
#include "runtime/numeric/Numeric.h"

#include <cstdint>

namespace engine {
namespace {

// The statements run in the order of the published equations, and every result is
// stored before it is checked, so a failing step leaves its own value behind.
void ComputeForMode(std::int32_t lines, const std::array<Coefficients, 3> &modes) {
    if (Module1::Mode < Modes::Organic || Module1::Mode > Modes::Embedded) {
        return;
    }
    const Coefficients &k = modes[static_cast<std::size_t>(Module1::Mode - 1)];
    const double kloc = static_cast<double>(lines) / 1000.0;
    rt::CheckFloatingPoint(kloc);
    if (k.appliesEAF) {
        Module1::Effort = rt::Power(kloc, k.b) * Module1::EAF * k.a;
    } else {
        Module1::Effort = rt::Power(kloc, k.b) * k.a;
    }
    rt::CheckFloatingPoint(Module1::Effort);
    Module1::TDEV = rt::Power(Module1::Effort, k.d) * k.c;
    rt::CheckFloatingPoint(Module1::TDEV);
}

} // namespace

bool CalculateEstimate(std::string_view sizeText) {
    const double typed = rt::Val(sizeText);
    const std::int32_t lines = rt::ToInt32(typed);
    if (Module1::Model == Models::Basic) {
        ComputeForMode(lines, CoefficientTable[0]);
    } else if (Module1::Model == Models::Intermediate || Module1::Model == Models::Advanced) {
        ComputeForMode(lines, CoefficientTable[static_cast<std::size_t>(Module1::Model - 1)]);
    } else {
        return false;
    }
    Module1::AvgStaffing = Module1::Effort / Module1::TDEV;
    rt::CheckFloatingPoint(Module1::AvgStaffing);
    return true;
}

} // namespace engine
