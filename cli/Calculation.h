#pragma once

#include "cli/Arguments.h"
#include "cli/Report.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

// A refused size that the calculation does not see: a report, or the languages kept of
// the reports, that count no code.
class NoCode : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A report as read: its path as given ("-" for standard input) and what it counts.
struct Source {
    std::string path;
    Count count;
};

// The figures of one estimate, and what they cost.
struct Results : engine::Figures {
    std::optional<double> cost; // with a salary only
};

// A report as the estimate counted it: the lines of the languages kept.
struct Project {
    std::string source;
    std::int64_t lines = 0;
    std::optional<Change> change;
    std::optional<Results> results; // its own, with --multiproject
};

// A language of the reports, its lines summed over them, and whether they are counted.
struct LanguageLines {
    std::string name;
    std::int64_t lines = 0;
    bool counted = true;
};

// What COCOMO II gives besides the figures of every model.
struct Cocomo2Figures {
    double scaleSum = 0.0;
    double effortWithoutSchedule = 0.0; // staff-months, with SCED Nominal
    double schedulePercent = 0.0;       // of the nominal schedule, by SCED
    // The published range of the estimate.
    engine::Figures optimistic;
    engine::Figures pessimistic;
};

// What one estimate gives.
struct Outcome : Results {
    std::int64_t lines = 0; // the size in whole lines, as the calculation read it
    // With adapted code: the new lines it is worth, and the lines the figures were computed
    // from, these and the size's.
    std::optional<double> equivalent;
    double size = 0.0;
    // The factor applied, for COCOMO II the product of the effort multipliers; none for the
    // Basic model.
    std::optional<double> eaf;
    // For COCOMO II, A, E, C and F.
    engine::Coefficients coefficients{};
    std::optional<Cocomo2Figures> cocomo2;
    std::optional<double> salary; // the one the cost is computed with
    // Where the lines came from: each report, in the order given; none for --lines.
    std::vector<Project> reports;
    // The languages, most lines first; their changes where reports are of cloc --diff.
    std::vector<LanguageLines> languages;
    std::optional<Change> change;
};

// The wizard's own steps: the factor formed as the cost-driver or phase screen forms it (or
// as given), then the calculation on the size for the model and mode; or COCOMO II's
// calculation on the ratings. Throws rt::RuntimeError where the calculation refuses the size,
// UsageError for a cost beyond the range of a double.
Outcome Calculate(const Request &request, engine::Size size);

// The estimate of the reports' lines, of the languages kept: of their sum, or with
// --multiproject each report's, summed but for the longest schedule. Throws as Calculate
// does, UsageError for a language that no report has, and NoCode.
Outcome Calculate(const Request &request, const std::vector<Source> &sources);

// The overhead factor the cost is computed with.
double Overhead(const Request &request);

// A table of finished projects as read: its path as given ("-" for standard input) and its
// projects.
struct HistorySource {
    std::string path;
    std::vector<engine::history::Project> projects;
};

// What the tables of finished projects tell: how many projects each holds and how many
// there are of each mode, how close the published Basic and Intermediate models come, and
// the request's model fitted to them where asked.
struct History {
    std::vector<std::pair<std::string, std::size_t>> sources;
    std::size_t projects = 0;
    std::array<std::size_t, 3> modes{};
    engine::history::Check basic;
    engine::history::Check intermediate;
    std::optional<engine::history::Calibration> calibration;
};

History Examine(const Request &request, const std::vector<HistorySource> &sources);

// The coefficients fitted for a mode: its a and b, and the published schedule's c and d.
engine::Coefficients FittedCoefficients(std::int16_t model, std::int16_t mode,
                                        const engine::history::ModeCalibration &fit);

} // namespace cli
