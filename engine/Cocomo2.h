#pragma once

#include "engine/Estimate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// COCOMO II, 2000 calibration: the Post-Architecture and Early Design models. Used by the
// command line only; the wizard estimates with the 1981 models.
namespace engine::cocomo2 {

enum class Model : std::uint8_t { PostArchitecture, EarlyDesign };

// The columns of every table: Extra Low, Very Low, Low, Nominal, High, Very High, Extra High.
inline constexpr std::size_t RatingCount = 7;
inline constexpr std::size_t Nominal = 3;
inline constexpr std::array<std::string_view, RatingCount> RatingNames{"XL", "VL", "L", "N",
                                                                       "H",  "VH", "XH"};
inline constexpr std::array<std::string_view, RatingCount> RatingLongNames{
    "extra-low", "very-low", "low", "nominal", "high", "very-high", "extra-high"};

// A rating that a factor does not define.
inline constexpr std::nullopt_t Undefined = std::nullopt;

struct Factor {
    std::string_view name;
    std::string_view meaning;
    std::array<std::optional<double>, RatingCount> values;
};

// E = B + 0.01 x the sum of the scale factors; PM = A x KSLOC^E x the product of the effort
// multipliers; F = D + 0.2 x (E - B); TDEV = C x PM_NS^F x SCED% / 100, where PM_NS is PM
// with SCED Nominal.
inline constexpr double A = 2.94;
inline constexpr double B = 0.91;
inline constexpr double C = 3.67;
inline constexpr double D = 0.28;

inline constexpr std::array<Factor, 5> ScaleFactors{{
    {"PREC", "precedentedness", {Undefined, 6.20, 4.96, 3.72, 2.48, 1.24, 0.00}},
    {"FLEX", "development flexibility", {Undefined, 5.07, 4.05, 3.04, 2.03, 1.01, 0.00}},
    {"RESL", "architecture / risk resolution", {Undefined, 7.07, 5.65, 4.24, 2.83, 1.41, 0.00}},
    {"TEAM", "team cohesion", {Undefined, 5.48, 4.38, 3.29, 2.19, 1.10, 0.00}},
    {"PMAT", "process maturity", {Undefined, 7.80, 6.24, 4.68, 3.12, 1.56, 0.00}},
}};

// SCED stands last in both models' multipliers, so that the product without it is a step of
// the product with it.
inline constexpr std::array<Factor, 17> PostArchitecture{{
    {"RELY", "required software reliability", {Undefined, 0.82, 0.92, 1.00, 1.10, 1.26, Undefined}},
    {"DATA", "database size", {Undefined, Undefined, 0.90, 1.00, 1.14, 1.28, Undefined}},
    {"CPLX", "product complexity", {Undefined, 0.73, 0.87, 1.00, 1.17, 1.34, 1.74}},
    {"RUSE", "developed for reusability", {Undefined, Undefined, 0.95, 1.00, 1.07, 1.15, 1.24}},
    {"DOCU",
     "documentation match to life-cycle needs",
     {Undefined, 0.81, 0.91, 1.00, 1.11, 1.23, Undefined}},
    {"TIME",
     "execution time constraint",
     {Undefined, Undefined, Undefined, 1.00, 1.11, 1.29, 1.63}},
    {"STOR", "main storage constraint", {Undefined, Undefined, Undefined, 1.00, 1.05, 1.17, 1.46}},
    {"PVOL", "platform volatility", {Undefined, Undefined, 0.87, 1.00, 1.15, 1.30, Undefined}},
    {"ACAP", "analyst capability", {Undefined, 1.42, 1.19, 1.00, 0.85, 0.71, Undefined}},
    {"PCAP", "programmer capability", {Undefined, 1.34, 1.15, 1.00, 0.88, 0.76, Undefined}},
    {"PCON", "personnel continuity", {Undefined, 1.29, 1.12, 1.00, 0.90, 0.81, Undefined}},
    {"APEX", "applications experience", {Undefined, 1.22, 1.10, 1.00, 0.88, 0.81, Undefined}},
    {"PLEX", "platform experience", {Undefined, 1.19, 1.09, 1.00, 0.91, 0.85, Undefined}},
    {"LTEX", "language and tool experience", {Undefined, 1.20, 1.09, 1.00, 0.91, 0.84, Undefined}},
    {"TOOL", "use of software tools", {Undefined, 1.17, 1.09, 1.00, 0.90, 0.78, Undefined}},
    {"SITE", "multisite development", {Undefined, 1.22, 1.09, 1.00, 0.93, 0.86, 0.80}},
    {"SCED", "required development schedule", {Undefined, 1.43, 1.14, 1.00, 1.00, 1.00, Undefined}},
}};

inline constexpr std::array<Factor, 7> EarlyDesign{{
    {"PERS", "personnel capability", {2.12, 1.62, 1.26, 1.00, 0.83, 0.63, 0.50}},
    {"RCPX", "product reliability and complexity", {0.49, 0.60, 0.83, 1.00, 1.33, 1.91, 2.72}},
    {"RUSE", "developed for reusability", {Undefined, Undefined, 0.95, 1.00, 1.07, 1.15, 1.24}},
    {"PDIF", "platform difficulty", {Undefined, Undefined, 0.87, 1.00, 1.29, 1.81, 2.61}},
    {"PREX", "personnel experience", {1.59, 1.33, 1.22, 1.00, 0.87, 0.74, 0.62}},
    {"FCIL", "facilities", {1.43, 1.30, 1.10, 1.00, 0.87, 0.73, 0.62}},
    {"SCED", "required development schedule", {Undefined, 1.43, 1.14, 1.00, 1.00, 1.00, Undefined}},
}};

static_assert(PostArchitecture.back().name == "SCED" && EarlyDesign.back().name == "SCED");

// The schedule as a percentage of the nominal one, by SCED's rating.
inline constexpr std::array<std::optional<double>, RatingCount> SchedulePercent{
    Undefined, 75.0, 85.0, 100.0, 130.0, 160.0, Undefined};

std::span<const Factor> MultipliersOf(Model model);

// The model of a model code of engine/Names.h; none for the 1981 models.
std::optional<Model> ModelOf(std::int16_t code);

// The names of a table's factors, and the ratings a factor defines (from the first to the last
// without a gap), in table order.
std::vector<std::string_view> NamesOf(std::span<const Factor> factors);
std::vector<std::string_view> RatingsOf(const Factor &factor);

// A rating by its column; none is Nominal.
using Rating = std::optional<std::size_t>;

struct Input {
    Model model = Model::PostArchitecture;
    Size size;
    std::array<Rating, ScaleFactors.size()> scales{};
    // By the rows of the model's multipliers; the rows beyond them are not read.
    std::array<Rating, PostArchitecture.size()> multipliers{};
};

// The published range of each model's estimate: the optimistic and the pessimistic effort
// as factors of the estimate.
struct Range {
    double optimistic;
    double pessimistic;
};
inline constexpr Range PostArchitectureRange{0.80, 1.25};
inline constexpr Range EarlyDesignRange{0.67, 1.5};

constexpr Range RangeOf(Model model) {
    return model == Model::EarlyDesign ? EarlyDesignRange : PostArchitectureRange;
}

// The figures, effort being PM, and what they were computed from.
struct Result : Figures {
    std::int32_t lines = 0;
    double scaleSum = 0.0;
    double exponent = 0.0;              // E
    double product = 0.0;               // of the effort multipliers
    double effortWithoutSchedule = 0.0; // PM_NS
    double scheduleExponent = 0.0;      // F
    double schedulePercent = 0.0;       // SCED%
    // The effort times the model's range, each development time from the schedule equation
    // on PM_NS times the same factor.
    Figures optimistic;
    Figures pessimistic;
};

// The estimate for the size in lines, read from its text as the 1981 calculation reads it.
// The sum of the scale factors and the product of the multipliers run left to right in table
// order, and every equation left to right as written (A x KSLOC^E, then x the product), so
// that the last bits are fixed. Throws rt::RuntimeError as the 1981 calculation does: the
// overflow for a size out of range, the invalid argument for a negative size and the overflow
// for a zero size (at the average staffing); std::out_of_range or std::bad_optional_access for
// a rating that its factor does not define.
Result Calculate(const Input &input);

} // namespace engine::cocomo2
