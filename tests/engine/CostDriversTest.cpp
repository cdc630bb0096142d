#include "engine/CostDrivers.h"
#include "engine/Module1.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using engine::CostDriver;
using engine::DriverMultiplier;

struct Rated {
    CostDriver driver;
    std::int16_t rating;
};

constexpr std::int16_t VL = 0, L = 1, N = 2, H = 3, VH = 4, EH = 5;

struct ProductCase {
    const char *name;
    std::vector<Rated> ratings;
    double eaf;
    friend void PrintTo(const ProductCase &row, std::ostream *os) { *os << row.name; }
};

class AdjustmentFactor : public testing::TestWithParam<ProductCase> {};

TEST_P(AdjustmentFactor, IsTheLeftToRightProductBitForBit) {
    DriverMultiplier multipliers;
    engine::ResetDriverMultipliers(multipliers);
    for (const Rated &r : GetParam().ratings) {
        engine::SelectRating(multipliers, r.driver, r.rating);
    }
    Module1::EAF = -1.0;
    engine::ComputeEAF(multipliers);
    EXPECT_EQ(Module1::EAF, GetParam().eaf);
}

std::vector<Rated> AllAt(std::int16_t rating) {
    std::vector<Rated> all;
    for (std::size_t d = 0; d < engine::CostDriverCount; ++d) {
        all.push_back({static_cast<CostDriver>(d), rating});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AdjustmentFactor,
    testing::Values(
        ProductCase{"NoneRated", {}, 1.0}, ProductCase{"AllNominal", AllAt(N), 1.0},
        ProductCase{"AcapVeryLow", {{CostDriver::ACAP, VL}}, 1.46},
        ProductCase{"AexpVeryHigh", {{CostDriver::AEXP, VH}}, 0.82},
        ProductCase{"AcapAndPcapVeryHigh",
                    {{CostDriver::ACAP, VH}, {CostDriver::PCAP, VH}},
                    0.49699999999999994},
        ProductCase{"OrderFixesTheLastBits",
                    {{CostDriver::ACAP, VL}, {CostDriver::AEXP, L}, {CostDriver::CPLX, L}},
                    1.4023299999999996},
        ProductCase{"EveryOfferedVeryLow",
                    {{CostDriver::ACAP, VL},
                     {CostDriver::AEXP, VL},
                     {CostDriver::CPLX, VL},
                     {CostDriver::DATA, VL},
                     {CostDriver::LEXP, VL},
                     {CostDriver::MODP, VL},
                     {CostDriver::PCAP, VL},
                     {CostDriver::RELY, VL},
                     {CostDriver::SCED, VL},
                     {CostDriver::TOOL, VL},
                     {CostDriver::VEXP, VL}},
                    3.6629325140703908},
        ProductCase{"ThreeExtraHigh",
                    {{CostDriver::CPLX, EH}, {CostDriver::STOR, EH}, {CostDriver::TIME, EH}},
                    4.2728399999999995},
        ProductCase{"RelyVeryHighWithCplxAndTimeExtraHigh",
                    {{CostDriver::RELY, VH}, {CostDriver::CPLX, EH}, {CostDriver::TIME, EH}},
                    3.834599999999999},
        ProductCase{
            "LastRatingOfARowCounts", {{CostDriver::ACAP, VL}, {CostDriver::ACAP, H}}, 0.86},
        ProductCase{
            "BackToNominalRestoresOne", {{CostDriver::TURN, VH}, {CostDriver::TURN, N}}, 1.0},
        ProductCase{"IndexOutOfRangeIgnored",
                    {{CostDriver::ACAP, 6}, {CostDriver::AEXP, -1}, {CostDriver::CPLX, 32767}},
                    1.0}),
    [](const auto &row) { return row.param.name; });

TEST(DriverMultiplier, ResetSetsEveryEntryToOne) {
    DriverMultiplier multipliers;
    multipliers.entries.fill(0.5);
    engine::ResetDriverMultipliers(multipliers);
    for (double entry : multipliers.entries) {
        EXPECT_EQ(entry, 1.0);
    }
}

TEST(DriverMultiplier, OutOfRangeIndexLeavesAnEarlierRating) {
    DriverMultiplier multipliers;
    engine::SelectRating(multipliers, CostDriver::PCAP, L);
    engine::SelectRating(multipliers, CostDriver::PCAP, 6);
    engine::SelectRating(multipliers, CostDriver::PCAP, -1);
    EXPECT_EQ(multipliers.entries[static_cast<std::size_t>(CostDriver::PCAP)], 1.17);
}

TEST(CostDriverTable, NominalIsOneAndEveryStepNotOfferedHoldsOne) {
    for (std::size_t d = 0; d < engine::CostDriverCount; ++d) {
        EXPECT_EQ(engine::CostDriverTable[d][N], 1.0) << d;
        EXPECT_TRUE(engine::RatingOffered[d][N]) << d;
        for (std::size_t r = 0; r < engine::RatingCount; ++r) {
            if (!engine::RatingOffered[d][r]) {
                EXPECT_EQ(engine::CostDriverTable[d][r], 1.0) << d << ' ' << r;
            }
        }
    }
}

TEST(CostDriverTable, StepsNotOffered) {
    auto offered = [](CostDriver d, std::int16_t r) {
        return engine::RatingOffered[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)];
    };
    EXPECT_TRUE(offered(CostDriver::DATA, VL)) << "DATA Very Low stays offered";
    EXPECT_EQ(engine::CostDriverTable[static_cast<std::size_t>(CostDriver::DATA)][VL], 1.0);
    for (std::int16_t r = VL; r <= EH; ++r) {
        EXPECT_TRUE(offered(CostDriver::CPLX, r));
    }
    for (CostDriver d : {CostDriver::STOR, CostDriver::TIME}) {
        EXPECT_FALSE(offered(d, VL));
        EXPECT_FALSE(offered(d, L));
        EXPECT_TRUE(offered(d, EH));
    }
    for (CostDriver d : {CostDriver::TURN, CostDriver::VIRT}) {
        EXPECT_FALSE(offered(d, VL));
        EXPECT_FALSE(offered(d, EH));
        EXPECT_TRUE(offered(d, L));
    }
    for (CostDriver d : {CostDriver::LEXP, CostDriver::VEXP}) {
        EXPECT_FALSE(offered(d, VH));
        EXPECT_FALSE(offered(d, EH));
        EXPECT_TRUE(offered(d, H));
    }
    int notOffered = 0;
    for (const auto &row : engine::RatingOffered) {
        for (bool b : row) {
            notOffered += b ? 0 : 1;
        }
    }
    EXPECT_EQ(notOffered, 8 + 2 * 2 + 2 * 2 + 2 * 2);
}

TEST(CostDriverTable, ProductOfTheRowExtremesBoundsTheFactor) {
    double low = 1.0;
    double high = 1.0;
    for (const auto &row : engine::CostDriverTable) {
        low *= *std::min_element(row.begin(), row.end());
        high *= *std::max_element(row.begin(), row.end());
    }
    EXPECT_NEAR(low, 0.0886, 0.0001);
    EXPECT_NEAR(high, 72.38, 0.01);
}

} // namespace
