#include "engine/CostDrivers.h"

#include "engine/Module1.h"

namespace engine {

void ResetDriverMultipliers(DriverMultiplier &multipliers) {
    multipliers.entries.fill(1.0);
}

void SelectRating(DriverMultiplier &multipliers, CostDriver driver, std::int16_t index) {
    if (index < 0 || index >= static_cast<std::int16_t>(RatingCount)) {
        return;
    }
    const auto row = static_cast<std::size_t>(driver);
    multipliers.entries[row] = CostDriverTable[row][static_cast<std::size_t>(index)];
}

double DriverProduct(const DriverMultiplier &multipliers) {
    // Left to right in driver order: the order fixes the last bits of the product.
    double product = multipliers.entries[0];
    for (std::size_t i = 1; i < CostDriverCount; ++i) {
        product *= multipliers.entries[i];
    }
    return product;
}

void ComputeEAF(const DriverMultiplier &multipliers) {
    Module1::EAF = DriverProduct(multipliers);
}

} // namespace engine
