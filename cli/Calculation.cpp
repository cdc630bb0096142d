#include "cli/Calculation.h"

#include "cli/Words.h"
#include "engine/Adaptation.h"
#include "engine/Cocomo2.h"
#include "engine/Estimate.h"
#include "engine/Names.h"

#include <algorithm>
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

// SLOCCount's yearly salary, which its summary always costs the effort at.
constexpr double SlocCountSalary = 56286.0;

std::optional<double> SalaryOf(const Request &request) {
    if (!request.salary && request.format == Format::Sloccount) {
        return SlocCountSalary;
    }
    return request.salary;
}

// A staff-month costs a twelfth of the yearly salary, times the overhead, in the order
// SLOCCount multiplies them, so that both round to the same dollar.
std::optional<double> CostOf(const Request &request, double effort) {
    const std::optional<double> salary = SalaryOf(request);
    if (!salary) {
        return std::nullopt;
    }
    const double cost = effort / 12.0 * *salary * Overhead(request);
    if (!std::isfinite(cost)) {
        throw UsageError("the cost is beyond the range of a double; give a smaller --salary "
                         "or --overhead");
    }
    return cost;
}

void Add(Change &total, const Change &change) {
    total.added = AddCounts(total.added, change.added);
    total.modified = AddCounts(total.modified, change.modified);
    total.removed = AddCounts(total.removed, change.removed);
    total.same = AddCounts(total.same, change.same);
}

// The reports' languages, each once by its first spelling, most lines first.
std::vector<LanguageLines> LanguagesOf(const std::vector<Source> &sources) {
    std::vector<LanguageLines> languages;
    for (const Source &source : sources) {
        for (const Language &language : source.count.languages) {
            auto same = std::find_if(languages.begin(), languages.end(), [&](const auto &known) {
                return SameName(known.name, language.name);
            });
            if (same == languages.end()) {
                languages.push_back({language.name, language.lines, true});
            } else {
                same->lines = AddCounts(same->lines, language.lines);
            }
        }
    }
    std::stable_sort(languages.begin(), languages.end(),
                     [](const auto &a, const auto &b) { return a.lines > b.lines; });
    return languages;
}

// Marks the languages the command line leaves out; every name it gives must be one of them.
void Filter(const Request &request, std::vector<LanguageLines> &languages) {
    const char *option = request.excludeLanguages ? "--exclude-lang " : "--only-lang ";
    for (const std::string &name : request.languages) {
        if (std::none_of(languages.begin(), languages.end(),
                         [&](const auto &known) { return SameName(known.name, name); })) {
            std::vector<std::string_view> names;
            for (const LanguageLines &known : languages) {
                names.push_back(known.name);
            }
            throw UsageError("unknown language " + Quoted(name) + " in " + option + Shown(name) +
                             (names.empty() ? "; the reports name no languages"
                                            : "; the reports' languages: " + Shown(Joined(names))));
        }
    }
    for (LanguageLines &language : languages) {
        const bool named =
            std::any_of(request.languages.begin(), request.languages.end(),
                        [&](const auto &name) { return SameName(name, language.name); });
        language.counted = request.languages.empty() || named != request.excludeLanguages;
    }
}

// A report's lines of the languages counted; a report without languages keeps its lines
// unless only some languages are counted.
Project Kept(const Request &request, const Source &source,
             const std::vector<LanguageLines> &languages) {
    Project project{source.path, source.count.lines, source.count.change, std::nullopt};
    if (request.languages.empty() || (source.count.languages.empty() && request.excludeLanguages)) {
        return project;
    }
    project.lines = 0;
    project.change = source.count.change ? std::optional<Change>(Change{}) : std::nullopt;
    for (const Language &language : source.count.languages) {
        const bool counted = std::any_of(languages.begin(), languages.end(), [&](const auto &l) {
            return l.counted && SameName(l.name, language.name);
        });
        if (counted) {
            project.lines = AddCounts(project.lines, language.lines);
            if (project.change) {
                Add(*project.change, language.change);
            }
        }
    }
    return project;
}

Outcome Cocomo2(const Request &request, engine::cocomo2::Model model, engine::Size size) {
    const engine::cocomo2::Result result =
        engine::cocomo2::Calculate({model, size, request.scales, request.multipliers});
    Outcome figures;
    figures.lines = result.lines;
    figures.eaf = result.product;
    figures.coefficients = {engine::cocomo2::A, result.exponent, true, engine::cocomo2::C,
                            result.scheduleExponent};
    figures.cocomo2 = {result.scaleSum, result.effortWithoutSchedule, result.schedulePercent,
                       result.optimistic, result.pessimistic};
    figures.effort = result.effort;
    figures.tdev = result.tdev;
    figures.avgStaffing = result.avgStaffing;
    return figures;
}

// Adds a project's figures to those of the projects before it, which run side by side: their
// efforts and staffing add up, the longest schedule is theirs.
void Gather(engine::Figures &total, const engine::Figures &own) {
    total.effort += own.effort;
    total.tdev = std::max(total.tdev, own.tdev);
    total.avgStaffing += own.avgStaffing;
}

Outcome Estimated(const Request &request, engine::Size size) {
    if (const std::optional<engine::cocomo2::Model> model =
            engine::cocomo2::ModelOf(request.model)) {
        return Cocomo2(request, *model, size);
    }
    const engine::Coefficients coefficients =
        request.coefficients ? *request.coefficients
        : request.calibrated ? *request.calibrated
                             : engine::CoefficientTable[static_cast<std::size_t>(request.model - 1)]
                                                       [static_cast<std::size_t>(request.mode - 1)];
    const engine::Estimate estimate =
        engine::Calculate({request.model, request.mode, size, FactorOf(request), &coefficients});
    if (estimate.error) {
        throw *estimate.error;
    }
    Outcome figures;
    figures.lines = estimate.lines;
    if (request.model != Models::Basic) {
        figures.eaf = estimate.eaf;
    }
    figures.coefficients = coefficients;
    figures.effort = estimate.figures.effort;
    figures.tdev = estimate.figures.tdev;
    figures.avgStaffing = estimate.figures.avgStaffing;
    return figures;
}

} // namespace

Outcome Calculate(const Request &request, engine::Size size) {
    std::optional<double> equivalent;
    const double lines = engine::LinesOf(size);
    // A negative size stays as it is, for the calculation to refuse it.
    if (request.adapted && lines >= 0.0) {
        equivalent = engine::EquivalentLines(request.adaptation,
                                             engine::cocomo2::ModelOf(request.model).has_value());
        size = lines + *equivalent;
    }
    Outcome figures = Estimated(request, size);
    figures.size = engine::LinesOf(size);
    if (equivalent) {
        figures.lines = static_cast<std::int64_t>(lines);
        figures.equivalent = equivalent;
    }
    figures.salary = SalaryOf(request);
    figures.cost = CostOf(request, figures.effort);
    return figures;
}

Outcome Calculate(const Request &request, const std::vector<Source> &sources) {
    std::vector<LanguageLines> languages = LanguagesOf(sources);
    Filter(request, languages);
    std::vector<Project> projects;
    std::int64_t total = 0;
    std::optional<Change> change;
    for (const Source &source : sources) {
        projects.push_back(Kept(request, source, languages));
        total = AddCounts(total, projects.back().lines);
        if (projects.back().change) {
            Add(change.emplace(change.value_or(Change{})), *projects.back().change);
        }
    }
    Outcome figures;
    if (!request.multiproject) {
        if (total == 0) {
            throw NoCode("the languages kept count no code in the reports");
        }
        figures = Calculate(request, static_cast<double>(total));
    } else {
        for (Project &project : projects) {
            if (project.lines == 0) {
                throw NoCode((project.source == "-" ? "standard input" : Quoted(project.source)) +
                             " counts no code in the languages kept");
            }
            const Outcome own = Calculate(request, static_cast<double>(project.lines));
            project.results = own;
            if (&project == &projects.front()) {
                figures = own;
                continue;
            }
            figures.lines += own.lines;
            figures.size += own.size;
            Gather(figures, own);
            if (figures.cocomo2) {
                figures.cocomo2->effortWithoutSchedule += own.cocomo2->effortWithoutSchedule;
                Gather(figures.cocomo2->optimistic, own.cocomo2->optimistic);
                Gather(figures.cocomo2->pessimistic, own.cocomo2->pessimistic);
            }
        }
        figures.cost = CostOf(request, figures.effort);
    }
    figures.reports = std::move(projects);
    figures.languages = std::move(languages);
    figures.change = change;
    return figures;
}

double Overhead(const Request &request) {
    // The factor both well-known line counters apply to a salary for what else a person
    // costs.
    constexpr double usual = 2.4;
    return request.overhead.value_or(usual);
}

} // namespace cli

namespace cli {

History Examine(const Request &request, const std::vector<HistorySource> &sources) {
    History history;
    std::vector<engine::history::Project> projects;
    for (const HistorySource &source : sources) {
        history.sources.emplace_back(source.path, source.projects.size());
        projects.insert(projects.end(), source.projects.begin(), source.projects.end());
    }
    history.projects = projects.size();
    for (const engine::history::Project &project : projects) {
        ++history.modes[static_cast<std::size_t>(project.mode - 1)];
    }
    history.basic = engine::history::CheckHistory(projects, Models::Basic);
    history.intermediate = engine::history::CheckHistory(projects, Models::Intermediate);
    if (request.calibrate) {
        history.calibration =
            engine::history::Calibrate(projects, request.model, *request.calibrate);
    }
    return history;
}

engine::Coefficients FittedCoefficients(std::int16_t model, std::int16_t mode,
                                        const engine::history::ModeCalibration &fit) {
    const engine::Coefficients &published =
        engine::CoefficientTable[static_cast<std::size_t>(model - 1)]
                                [static_cast<std::size_t>(mode - 1)];
    return {fit.a, fit.b, published.appliesEAF, published.c, published.d};
}

} // namespace cli
