#include "engine/Cocomo2.h"

#include "runtime/numeric/Numeric.h"

namespace engine::cocomo2 {
namespace {

double Value(const Factor &factor, const Rating &rating) {
    return factor.values.at(rating.value_or(Nominal)).value();
}

} // namespace

std::span<const Factor> MultipliersOf(Model model) {
    if (model == Model::EarlyDesign) {
        return EarlyDesign;
    }
    return PostArchitecture;
}

Result Calculate(const Input &input) {
    Result result;
    result.lines = rt::ToInt32(rt::Val(input.sizeText));
    const double ksloc = static_cast<double>(result.lines) / 1000.0;
    result.scaleSum = Value(ScaleFactors[0], input.scales[0]);
    for (std::size_t i = 1; i < ScaleFactors.size(); ++i) {
        result.scaleSum += Value(ScaleFactors[i], input.scales[i]);
    }
    result.exponent = B + 0.01 * result.scaleSum;
    const std::span<const Factor> multipliers = MultipliersOf(input.model);
    const std::size_t sced = multipliers.size() - 1;
    double withoutSchedule = Value(multipliers[0], input.multipliers[0]);
    for (std::size_t i = 1; i < sced; ++i) {
        withoutSchedule *= Value(multipliers[i], input.multipliers[i]);
    }
    result.product = withoutSchedule * Value(multipliers[sced], input.multipliers[sced]);
    const double scaled = rt::Power(ksloc, result.exponent);
    result.effort = A * scaled * result.product;
    result.effortWithoutSchedule = A * scaled * withoutSchedule;
    result.scheduleExponent = D + 0.2 * (result.exponent - B);
    result.schedulePercent = SchedulePercent.at(input.multipliers[sced].value_or(Nominal)).value();
    result.tdev = C * rt::Power(result.effortWithoutSchedule, result.scheduleExponent) *
                  result.schedulePercent / 100.0;
    // 0 / 0 for a size of zero: the overflow that the 1981 calculation raises too.
    result.avgStaffing = result.effort / result.tdev;
    rt::CheckFloatingPoint(result.avgStaffing);
    return result;
}

} // namespace engine::cocomo2
