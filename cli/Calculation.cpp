#include "cli/Calculation.h"

#include "engine/Estimate.h"
#include "engine/Module1.h"

#include <cmath>

namespace cli {
namespace {

// The factor as the cost-driver or phase screen forms it from the choices, or as given.
double FactorOf(const Request &request) {
    if (request.model == Models::Intermediate) {
        if (request.eaf) {
            return *request.eaf;
        }
        engine::DriverMultiplier multipliers;
        for (std::size_t i = 0; i < engine::CostDriverCount; ++i) {
            if (request.ratings[i]) {
                engine::SelectRating(multipliers, static_cast<engine::CostDriver>(i),
                                     *request.ratings[i]);
            }
        }
        return engine::DriverProduct(multipliers);
    }
    if (request.model == Models::Advanced) {
        engine::PhaseEffort efforts;
        for (std::size_t i = 0; i < engine::PhaseCount; ++i) {
            if (request.columns[i]) {
                engine::SelectPhaseColumn(efforts, engine::PhaseTableOf(request.mode),
                                          static_cast<engine::Phase>(i), *request.columns[i]);
            }
        }
        return engine::PhaseSum(efforts);
    }
    return 0.0;
}

} // namespace

Figures Calculate(const Request &request, std::string_view linesText) {
    const engine::Estimate estimate =
        engine::Calculate({request.model, request.mode, linesText, FactorOf(request)});
    if (estimate.error) {
        throw *estimate.error;
    }
    Figures figures;
    figures.lines = estimate.lines;
    if (request.model != Models::Basic) {
        figures.eaf = estimate.eaf;
    }
    figures.effort = estimate.figures.effort;
    figures.tdev = estimate.figures.tdev;
    figures.averageStaffing = estimate.figures.avgStaffing;
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
