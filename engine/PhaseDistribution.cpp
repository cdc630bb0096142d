#include "engine/PhaseDistribution.h"

#include "engine/Module1.h"

namespace engine {

void ResetPhaseEfforts(PhaseEffort &efforts) {
    efforts.entries.fill(1.0);
}

void SelectPhaseColumn(PhaseEffort &efforts, const PhaseTable &table, Phase phase,
                       std::int16_t column) {
    if (column < 0 || column >= static_cast<std::int16_t>(SizeColumnCount)) {
        return;
    }
    const auto row = static_cast<std::size_t>(phase);
    efforts.entries[row] = table[row][static_cast<std::size_t>(column)];
}

const PhaseTable &PhaseTableOf(std::int16_t mode) {
    static constexpr const PhaseTable *tables[] = {&OrganicPhaseTable, &SemidetachedPhaseTable,
                                                   &EmbeddedPhaseTable};
    return *tables[mode - 1];
}

double PhaseSum(const PhaseEffort &efforts) {
    // Left to right in phase order, each partial sum rounded to double.
    double sum = efforts.entries[0];
    for (std::size_t i = 1; i < PhaseCount; ++i) {
        sum += efforts.entries[i];
    }
    return sum;
}

void ComputePhaseFactor(const PhaseEffort &efforts) {
    Module1::EAF = PhaseSum(efforts);
}

} // namespace engine
