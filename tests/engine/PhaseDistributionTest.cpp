#include "engine/PhaseDistribution.h"
#include "engine/Module1.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using engine::Phase;
using engine::PhaseEffort;
using engine::PhaseTable;

struct Pick {
    Phase phase;
    std::int16_t column;
};

struct SumCase {
    const char *name;
    const PhaseTable *table;
    std::vector<Pick> picks;
    double eaf;
    friend void PrintTo(const SumCase &row, std::ostream *os) { *os << row.name; }
};

class PhaseFactor : public testing::TestWithParam<SumCase> {};

TEST_P(PhaseFactor, IsTheSumOfTheSixFractions) {
    PhaseEffort efforts;
    engine::ResetPhaseEfforts(efforts);
    for (const Pick &p : GetParam().picks) {
        engine::SelectPhaseColumn(efforts, *GetParam().table, p.phase, p.column);
    }
    Module1::EAF = -1.0;
    engine::ComputePhaseFactor(efforts);
    EXPECT_DOUBLE_EQ(Module1::EAF, GetParam().eaf);
}

std::vector<Pick> AllIn(std::int16_t column) {
    std::vector<Pick> all;
    for (std::size_t p = 0; p < engine::PhaseCount; ++p) {
        all.push_back({static_cast<Phase>(p), column});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PhaseFactor,
    testing::Values(SumCase{"UntouchedOrganic", &engine::OrganicPhaseTable, {}, 6.0},
                    SumCase{"UntouchedSemidetached", &engine::SemidetachedPhaseTable, {}, 6.0},
                    SumCase{"UntouchedEmbedded", &engine::EmbeddedPhaseTable, {}, 6.0},
                    SumCase{"RequirementsOnlyOrganic",
                            &engine::OrganicPhaseTable,
                            {{Phase::Requirements, 2}},
                            5.06},
                    SumCase{"RequirementsOnlySemidetached",
                            &engine::SemidetachedPhaseTable,
                            {{Phase::Requirements, 0}},
                            5.07},
                    SumCase{"RequirementsOnlyEmbedded",
                            &engine::EmbeddedPhaseTable,
                            {{Phase::Requirements, 3}},
                            5.08},
                    SumCase{"AllSmallOrganic", &engine::OrganicPhaseTable, AllIn(0), 2.06},
                    SumCase{"AllLargeEmbedded", &engine::EmbeddedPhaseTable, AllIn(3), 2.08},
                    SumCase{"AllMediumSemidetached", &engine::SemidetachedPhaseTable, AllIn(2),
                            2.07},
                    SumCase{"MixedColumnsOrganic",
                            &engine::OrganicPhaseTable,
                            {{Phase::Requirements, 1},
                             {Phase::ProductDesign, 3},
                             {Phase::DetailedDesign, 0},
                             {Phase::CodeAndUnitTest, 0},
                             {Phase::IntegrationAndTest, 3},
                             {Phase::Maintenance, 2}},
                            2.15},
                    SumCase{"LastChoiceOfARowCounts",
                            &engine::EmbeddedPhaseTable,
                            {{Phase::CodeAndUnitTest, 0}, {Phase::CodeAndUnitTest, 3}},
                            5.26},
                    SumCase{"MaintenanceChangesNothing",
                            &engine::OrganicPhaseTable,
                            {{Phase::Maintenance, 0}, {Phase::Maintenance, 3}},
                            6.0},
                    SumCase{"ColumnOutOfRangeIgnored",
                            &engine::OrganicPhaseTable,
                            {{Phase::Requirements, 4}, {Phase::ProductDesign, -1}},
                            6.0}),
    [](const auto &row) { return row.param.name; });

TEST(PhaseEffort, SelectionChangesOnlyItsOwnRow) {
    PhaseEffort efforts;
    engine::SelectPhaseColumn(efforts, engine::OrganicPhaseTable, Phase::CodeAndUnitTest, 0);
    engine::SelectPhaseColumn(efforts, engine::EmbeddedPhaseTable, Phase::IntegrationAndTest, 3);
    EXPECT_EQ(efforts.entries, (std::array<double, 6>{1.0, 1.0, 1.0, 0.42, 0.31, 1.0}));
    engine::ResetPhaseEfforts(efforts);
    EXPECT_EQ(efforts.entries, (std::array<double, 6>{1.0, 1.0, 1.0, 1.0, 1.0, 1.0}));
}

struct TableCase {
    const char *name;
    const PhaseTable *table;
    double requirements;
    double low;
    double high;
    friend void PrintTo(const TableCase &row, std::ostream *os) { *os << row.name; }
};

class PhaseTableInvariants : public testing::TestWithParam<TableCase> {};

TEST_P(PhaseTableInvariants, HoldInEveryColumn) {
    const PhaseTable &t = *GetParam().table;
    for (std::size_t c = 0; c < engine::SizeColumnCount; ++c) {
        EXPECT_DOUBLE_EQ(t[1][c] + t[2][c] + t[3][c] + t[4][c], 1.0) << "column " << c;
        EXPECT_EQ(t[0][c], GetParam().requirements);
        EXPECT_EQ(t[1][c], t[1][0]);
        EXPECT_EQ(t[5][c], 1.0);
    }
    double low = 0.0;
    double high = 0.0;
    for (const auto &row : t) {
        low += *std::min_element(row.begin(), row.end());
        high += *std::max_element(row.begin(), row.end());
    }
    EXPECT_DOUBLE_EQ(low, GetParam().low);
    EXPECT_DOUBLE_EQ(high, GetParam().high);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeModes, PhaseTableInvariants,
    testing::Values(TableCase{"Organic", &engine::OrganicPhaseTable, 0.06, 1.97, 2.15},
                    TableCase{"Semidetached", &engine::SemidetachedPhaseTable, 0.07, 1.98, 2.16},
                    TableCase{"Embedded", &engine::EmbeddedPhaseTable, 0.08, 1.99, 2.17}),
    [](const auto &row) { return row.param.name; });

} // namespace
