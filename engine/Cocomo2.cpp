#include "engine/Cocomo2.h"

#include "engine/Names.h"
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

std::optional<Model> ModelOf(std::int16_t code) {
    if (code == Models::PostArchitecture) {
        return Model::PostArchitecture;
    }
    if (code == Models::EarlyDesign) {
        return Model::EarlyDesign;
    }
    return std::nullopt;
}

std::vector<std::string_view> NamesOf(std::span<const Factor> factors) {
    std::vector<std::string_view> names;
    for (const Factor &factor : factors) {
        names.push_back(factor.name);
    }
    return names;
}

std::vector<std::string_view> RatingsOf(const Factor &factor) {
    std::vector<std::string_view> defined;
    for (std::size_t k = 0; k < RatingCount; ++k) {
        if (factor.values[k]) {
            defined.push_back(RatingNames[k]);
        }
    }
    return defined;
}

Result Calculate(const Input &input) {
    Result result;
    const double lines = LinesOf(input.size);
    result.lines = rt::ToInt32(lines);
    const double ksloc = lines / 1000.0;
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
    const auto schedule = [&](double factor) {
        Figures figures;
        figures.effort = result.effort * factor;
        figures.tdev = C *
                       rt::Power(result.effortWithoutSchedule * factor, result.scheduleExponent) *
                       result.schedulePercent / 100.0;
        // 0 / 0 for a size of zero: the overflow that the 1981 calculation raises too.
        figures.avgStaffing = figures.effort / figures.tdev;
        rt::CheckFloatingPoint(figures.avgStaffing);
        return figures;
    };
    static_cast<Figures &>(result) = schedule(1.0);
    const Range range = RangeOf(input.model);
    result.optimistic = schedule(range.optimistic);
    result.pessimistic = schedule(range.pessimistic);
    return result;
}

} // namespace engine::cocomo2
