#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace engine {

// The fifteen drivers in the order of the product and of the screen's rows.
enum class CostDriver : std::uint8_t {
    ACAP,
    AEXP,
    CPLX,
    DATA,
    LEXP,
    MODP,
    PCAP,
    RELY,
    SCED,
    STOR,
    TIME,
    TOOL,
    TURN,
    VEXP,
    VIRT,
};

inline constexpr std::size_t CostDriverCount = 15;
inline constexpr std::size_t RatingCount = 6; // VL, L, N, H, VH, EH

// The drivers' short names and the steps' names, as the command line and history tables
// write them.
inline constexpr std::array<std::string_view, CostDriverCount> DriverNames{
    "ACAP", "AEXP", "CPLX", "DATA", "LEXP", "MODP", "PCAP", "RELY",
    "SCED", "STOR", "TIME", "TOOL", "TURN", "VEXP", "VIRT"};
inline constexpr std::array<std::string_view, RatingCount> StepNames{"VL", "L",  "N",
                                                                     "H",  "VH", "EH"};
inline constexpr std::array<std::string_view, RatingCount> StepLongNames{
    "very-low", "low", "nominal", "high", "very-high", "extra-high"};

// Steps a driver does not define hold 1.00.
inline constexpr std::array<std::array<double, RatingCount>, CostDriverCount> CostDriverTable{{
    {1.46, 1.19, 1.00, 0.86, 0.71, 1.00}, // ACAP
    {1.29, 1.13, 1.00, 0.91, 0.82, 1.00}, // AEXP
    {0.70, 0.85, 1.00, 1.15, 1.30, 1.65}, // CPLX
    {1.00, 0.94, 1.00, 1.08, 1.16, 1.00}, // DATA
    {1.14, 1.07, 1.00, 0.95, 1.00, 1.00}, // LEXP
    {1.24, 1.10, 1.00, 0.91, 0.82, 1.00}, // MODP
    {1.42, 1.17, 1.00, 0.86, 0.70, 1.00}, // PCAP
    {0.75, 0.88, 1.00, 1.15, 1.40, 1.00}, // RELY
    {1.23, 1.08, 1.00, 1.04, 1.10, 1.00}, // SCED
    {1.00, 1.00, 1.00, 1.06, 1.21, 1.56}, // STOR
    {1.00, 1.00, 1.00, 1.11, 1.30, 1.66}, // TIME
    {1.24, 1.10, 1.00, 0.91, 0.83, 1.00}, // TOOL
    {1.00, 0.87, 1.00, 1.07, 1.15, 1.00}, // TURN
    {1.21, 1.10, 1.00, 0.90, 1.00, 1.00}, // VEXP
    {1.00, 0.87, 1.00, 1.15, 1.30, 1.00}, // VIRT
}};

// Which steps the screen offers. The undefined steps are not offered, except Very Low
// of DATA, which is offered although it holds 1.00 like Nominal.
inline constexpr std::array<std::array<bool, RatingCount>, CostDriverCount> RatingOffered{{
    {true, true, true, true, true, false},  // ACAP
    {true, true, true, true, true, false},  // AEXP
    {true, true, true, true, true, true},   // CPLX
    {true, true, true, true, true, false},  // DATA
    {true, true, true, true, false, false}, // LEXP
    {true, true, true, true, true, false},  // MODP
    {true, true, true, true, true, false},  // PCAP
    {true, true, true, true, true, false},  // RELY
    {true, true, true, true, true, false},  // SCED
    {false, false, true, true, true, true}, // STOR
    {false, false, true, true, true, true}, // TIME
    {true, true, true, true, true, false},  // TOOL
    {false, true, true, true, true, false}, // TURN
    {true, true, true, true, false, false}, // VEXP
    {false, true, true, true, true, false}, // VIRT
}};

// The fifteen current multipliers, owned by the loaded cost-driver screen.
struct DriverMultiplier {
    std::array<double, CostDriverCount> entries{1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0,
                                                1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
};

void ResetDriverMultipliers(DriverMultiplier &multipliers);

// Stores the table entry for the rating index 0 to 5; any other index changes nothing.
void SelectRating(DriverMultiplier &multipliers, CostDriver driver, std::int16_t index);

// The product of the fifteen entries: the effort adjustment factor.
double DriverProduct(const DriverMultiplier &multipliers);
// Stores the product of the fifteen entries in Module1::EAF.
void ComputeEAF(const DriverMultiplier &multipliers);

} // namespace engine
