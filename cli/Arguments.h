#pragma once

#include "engine/Adaptation.h"
#include "engine/Cocomo2.h"
#include "engine/CostDrivers.h"
#include "engine/Estimate.h"
#include "engine/History.h"
#include "engine/Names.h"
#include "engine/PhaseDistribution.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Format : std::uint8_t { Text, Json, Csv, Markdown, Sloccount };
inline constexpr std::array<std::string_view, 5> FormatNames{"text", "json", "csv", "markdown",
                                                             "sloccount"};

// One estimate as the command line asks for it. Every field holds a valid code: the
// parser refuses anything else.
struct Request {
    // The codes of engine/Names.h: the wizard's three, then COCOMO II's two.
    std::int16_t model = 1;
    std::int16_t mode = 1; // 1 Organic, 2 Semidetached, 3 Embedded; not read by COCOMO II
    // The Basic or Intermediate model's coefficients given instead of the mode's.
    std::optional<engine::Coefficients> coefficients;
    // At most one of the two: the size, a whole number's sign and digits, or the reports
    // whose counts add up to it ("-" for standard input), in the order given. Neither only
    // where histories are given.
    std::optional<std::string> lines;
    std::vector<std::string> reports;
    // Each report estimated as a project of its own, rather than their lines added.
    bool multiproject = false;
    // The languages of the reports counted alone, or left out; none: every language.
    std::vector<std::string> languages;
    bool excludeLanguages = false;
    // The last step given for each driver (Intermediate) and the last column given for each
    // phase (Advanced); unrated drivers and phases left out have none.
    std::array<std::optional<std::int16_t>, engine::CostDriverCount> ratings{};
    std::array<std::optional<std::int16_t>, engine::PhaseCount> columns{};
    // COCOMO II: the last rating given for each scale factor and for each effort multiplier of
    // the model, by its row; a factor left out is Nominal.
    std::array<engine::cocomo2::Rating, engine::cocomo2::ScaleFactors.size()> scales{};
    std::array<engine::cocomo2::Rating, engine::cocomo2::PostArchitecture.size()> multipliers{};
    // The Intermediate model's factor as rated elsewhere, instead of the ratings.
    std::optional<double> eaf;
    // The yearly cost of one person, which adds the cost; the overhead factor applied to it;
    // the currency symbol written before the cost in the text.
    std::optional<double> salary;
    std::optional<double> overhead;
    std::optional<std::string> currency;
    Format format = Format::Text;
    bool locale = false;
    // Code adapted from existing code, added to the size as the new lines it is worth.
    bool adapted = false;
    engine::Adaptation adaptation;
    // Tables of finished projects ("-" for standard input), in the order given, and the fit
    // of the model to them that was asked for.
    std::vector<std::string> histories;
    std::optional<engine::history::Fit> calibrate;
    // The coefficients fitted to the histories for the mode, which the estimate takes
    // instead of the published ones; set once the histories are read.
    std::optional<engine::Coefficients> calibrated;
    double hoursPerMonth = 152.0; // of a staff-month, for the effort in labour hours
};

enum class Action : std::uint8_t { Estimate, Help, Version };

struct Parsed {
    Action action = Action::Estimate;
    Request request;
    std::string text; // the help or the version
};

// A command line the program cannot run; what() is the one line that says why, naming the
// bad argument and the accepted values.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Throws UsageError.
Parsed ParseArguments(std::span<const std::string_view> args);

} // namespace cli
