#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace engine {

// The six phases in the order of the screen's rows and of the sum.
enum class Phase : std::uint8_t {
    Requirements,
    ProductDesign,
    DetailedDesign,
    CodeAndUnitTest,
    IntegrationAndTest,
    Maintenance,
};

inline constexpr std::size_t PhaseCount = 6;
inline constexpr std::size_t SizeColumnCount = 4; // 2, 8, 32 and 128 KDSI

// The phases' and columns' names on the command line; a column also by its size in KDSI.
inline constexpr std::array<std::string_view, PhaseCount> PhaseNames{
    "requirements",       "product-design",       "detailed-design",
    "code-and-unit-test", "integration-and-test", "maintenance"};
inline constexpr std::array<std::string_view, SizeColumnCount> ColumnNames{"small", "intermediate",
                                                                           "medium", "large"};
inline constexpr std::array<std::string_view, SizeColumnCount> ColumnKdsi{"2", "8", "32", "128"};

using PhaseTable = std::array<std::array<double, SizeColumnCount>, PhaseCount>;

inline constexpr PhaseTable OrganicPhaseTable{{
    {0.06, 0.06, 0.06, 0.06},
    {0.16, 0.16, 0.16, 0.16},
    {0.26, 0.25, 0.24, 0.23},
    {0.42, 0.40, 0.38, 0.36},
    {0.16, 0.19, 0.22, 0.25},
    {1.0, 1.0, 1.0, 1.0},
}};

inline constexpr PhaseTable SemidetachedPhaseTable{{
    {0.07, 0.07, 0.07, 0.07},
    {0.17, 0.17, 0.17, 0.17},
    {0.27, 0.26, 0.25, 0.24},
    {0.37, 0.35, 0.33, 0.31},
    {0.19, 0.22, 0.25, 0.28},
    {1.0, 1.0, 1.0, 1.0},
}};

inline constexpr PhaseTable EmbeddedPhaseTable{{
    {0.08, 0.08, 0.08, 0.08},
    {0.18, 0.18, 0.18, 0.18},
    {0.28, 0.27, 0.26, 0.25},
    {0.32, 0.30, 0.28, 0.26},
    {0.22, 0.25, 0.28, 0.31},
    {1.0, 1.0, 1.0, 1.0},
}};

// The six current fractions, owned by a loaded phase screen.
struct PhaseEffort {
    std::array<double, PhaseCount> entries{1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
};

void ResetPhaseEfforts(PhaseEffort &efforts);

// Stores the table entry of the phase and column 0 to 3; any other column changes nothing.
void SelectPhaseColumn(PhaseEffort &efforts, const PhaseTable &table, Phase phase,
                       std::int16_t column);

// The table of a development mode (1 Organic, 2 Semidetached, 3 Embedded): the one its
// phase screen carries.
const PhaseTable &PhaseTableOf(std::int16_t mode);

// The sum of the six fractions: the phase factor.
double PhaseSum(const PhaseEffort &efforts);
// Stores the sum of the six fractions in Module1::EAF.
void ComputePhaseFactor(const PhaseEffort &efforts);

} // namespace engine
