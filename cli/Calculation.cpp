#include "cli/Calculation.h"

#include "engine/Estimate.h"
#include "engine/Module1.h"
#include "runtime/numeric/Numeric.h"

#include <cmath>

namespace cli {
namespace {

// The table a mode's phase screen carries.
const engine::PhaseTable &PhaseTableOf(std::int16_t mode) {
    static constexpr const engine::PhaseTable *tables[] = {
        &engine::OrganicPhaseTable, &engine::SemidetachedPhaseTable, &engine::EmbeddedPhaseTable};
    return *tables[mode - 1];
}

} // namespace

Figures Calculate(const Request &request, std::string_view linesText) {
    Module1::Model = request.model;
    Module1::Mode = request.mode;
    if (request.model == Models::Intermediate && request.eaf) {
        Module1::EAF = *request.eaf;
    } else if (request.model == Models::Intermediate) {
        engine::DriverMultiplier multipliers;
        engine::ResetDriverMultipliers(multipliers);
        for (std::size_t i = 0; i < engine::CostDriverCount; ++i) {
            if (request.ratings[i]) {
                engine::SelectRating(multipliers, static_cast<engine::CostDriver>(i),
                                     *request.ratings[i]);
            }
        }
        engine::ComputeEAF(multipliers);
    } else if (request.model == Models::Advanced) {
        engine::PhaseEffort efforts;
        engine::ResetPhaseEfforts(efforts);
        for (std::size_t i = 0; i < engine::PhaseCount; ++i) {
            if (request.columns[i]) {
                engine::SelectPhaseColumn(efforts, PhaseTableOf(request.mode),
                                          static_cast<engine::Phase>(i), *request.columns[i]);
            }
        }
        engine::ComputePhaseFactor(efforts);
    }
    engine::CalculateEstimate(linesText);
    Figures figures;
    // The calculation has read the same text without error, so this cannot raise.
    figures.lines = rt::ToInt32(rt::Val(linesText));
    if (request.model != 1) {
        figures.eaf = Module1::EAF;
    }
    figures.effort = Module1::Effort;
    figures.tdev = Module1::TDEV;
    figures.averageStaffing = Module1::AvgStaffing;
    if (request.salary) {
        // A staff-month costs a twelfth of the yearly salary, times the overhead, in the
        // order SLOCCount multiplies them, so that both round to the same dollar.
        figures.cost = figures.effort / 12.0 * *request.salary * Overhead(request);
        if (!std::isfinite(*figures.cost)) {
            throw UsageError("the cost is beyond the range of a double; give a smaller --salary "
                             "or --overhead");
        }
    }
    return figures;
}

double Overhead(const Request &request) {
    // The factor both well-known line counters apply to a salary for what else a person
    // costs.
    constexpr double usual = 2.4;
    return request.overhead.value_or(usual);
}

} // namespace cli
