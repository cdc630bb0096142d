#include "engine/Estimate.h"
#include "engine/Module1.h"
#include "runtime/numeric/Numeric.h"
#include "runtime/numeric/RuntimeError.h"
#include "tests/support/PublishedTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>

namespace {

using rt::ErrorCode;

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Results {
    double effort;
    double tdev;
    double avgStaffing;
};

// Every test starts from a known Module1 and keeps what it stored apart from the next.
class Calculation : public testing::Test {
protected:
    void SetUp() override { Set(1, 3, 1.0); }

    static void Set(std::int16_t model, std::int16_t mode, double eaf) {
        Module1::Model = model;
        Module1::Mode = mode;
        Module1::EAF = eaf;
        Module1::Effort = 7.0;
        Module1::TDEV = 8.0;
        Module1::AvgStaffing = 9.0;
    }

    static Results Stored() { return {Module1::Effort, Module1::TDEV, Module1::AvgStaffing}; }

    // Runs the calculation and returns the error it raised, if any.
    static std::optional<ErrorCode> Run(std::string_view text) {
        try {
            EXPECT_TRUE(engine::CalculateEstimate(text));
        } catch (const rt::RuntimeError &error) {
            return error.code();
        }
        return std::nullopt;
    }
};

TEST(Module1, AllZeroAtStart) {
    EXPECT_EQ(Module1::Model, 0);
    EXPECT_EQ(Module1::Mode, 0);
    EXPECT_TRUE(SameBits(Module1::Effort, 0.0));
    EXPECT_TRUE(SameBits(Module1::TDEV, 0.0));
    EXPECT_TRUE(SameBits(Module1::AvgStaffing, 0.0));
    EXPECT_TRUE(SameBits(Module1::EAF, 0.0));
}

TEST(Module1, DeclaredTypes) {
    static_assert(std::is_same_v<decltype(Module1::Model), std::int16_t>);
    static_assert(std::is_same_v<decltype(Module1::Mode), std::int16_t>);
    static_assert(std::is_same_v<decltype(Module1::Effort), double>);
    static_assert(std::is_same_v<decltype(Module1::TDEV), double>);
    static_assert(std::is_same_v<decltype(Module1::AvgStaffing), double>);
    static_assert(std::is_same_v<decltype(Module1::EAF), double>);
}

enum class Outcome { Computes, ZeroLines, FailsAtPower, Overflow };

struct TypedCase {
    const char *name;
    const char *text;
    std::int32_t lines; // the whole size the text reads as, when it reads as one
    Outcome outcome;
    friend void PrintTo(const TypedCase &row, std::ostream *os) { *os << row.name; }
};

class TypedText : public Calculation, public testing::WithParamInterface<TypedCase> {};

// Each typed text must compute exactly what its plain whole number computes.
TEST_P(TypedText, ReadsAsItsWholeSize) {
    const TypedCase &c = GetParam();
    const std::optional<ErrorCode> error = Run(c.text);
    const Results typed = Stored();
    switch (c.outcome) {
    case Outcome::Computes: {
        ASSERT_EQ(error, std::nullopt);
        EXPECT_EQ(engine::Calculate({1, 3, c.text, 1.0}).lines, c.lines);
        Set(1, 3, 1.0);
        ASSERT_EQ(Run(std::to_string(c.lines)), std::nullopt);
        EXPECT_TRUE(SameBits(typed.effort, Module1::Effort));
        EXPECT_TRUE(SameBits(typed.tdev, Module1::TDEV));
        EXPECT_TRUE(SameBits(typed.avgStaffing, Module1::AvgStaffing));
        break;
    }
    case Outcome::ZeroLines:
        EXPECT_EQ(error, ErrorCode::Overflow);
        EXPECT_TRUE(SameBits(typed.effort, 0.0));
        EXPECT_TRUE(SameBits(typed.tdev, 0.0));
        EXPECT_TRUE(std::isnan(typed.avgStaffing));
        break;
    case Outcome::FailsAtPower:
        EXPECT_EQ(error, ErrorCode::InvalidArgument);
        EXPECT_EQ(typed.effort, 7.0);
        EXPECT_EQ(typed.tdev, 8.0);
        EXPECT_EQ(typed.avgStaffing, 9.0);
        break;
    case Outcome::Overflow:
        EXPECT_EQ(error, ErrorCode::Overflow);
        EXPECT_EQ(typed.effort, 7.0);
        EXPECT_EQ(typed.tdev, 8.0);
        EXPECT_EQ(typed.avgStaffing, 9.0);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TypedText,
    testing::Values(TypedCase{"Plain", "32000", 32000, Outcome::Computes},
                    TypedCase{"OneThousand", "1000", 1000, Outcome::Computes},
                    TypedCase{"CommaEndsTheNumber", "32,000", 32, Outcome::Computes},
                    TypedCase{"BlanksSkipped", "  32 000", 32000, Outcome::Computes},
                    TypedCase{"LeadingSpaceOfTheBox", " 32000", 32000, Outcome::Computes},
                    TypedCase{"ExponentForm", "3.2E4", 32000, Outcome::Computes},
                    TypedCase{"HalfDownToEven", "2500.5", 2500, Outcome::Computes},
                    TypedCase{"HalfUpToEven", "2501.5", 2502, Outcome::Computes},
                    TypedCase{"OneAndAHalf", "1.5", 2, Outcome::Computes},
                    TypedCase{"OneE9", "1E9", 1000000000, Outcome::Computes},
                    TypedCase{"Largest", "2147483647", 2147483647, Outcome::Computes},
                    TypedCase{"AHalf", "0.5", 0, Outcome::ZeroLines},
                    TypedCase{"BelowAHalf", "0.4", 0, Outcome::ZeroLines},
                    TypedCase{"Empty", "", 0, Outcome::ZeroLines},
                    TypedCase{"OneBlank", " ", 0, Outcome::ZeroLines},
                    TypedCase{"Letters", "abc", 0, Outcome::ZeroLines},
                    TypedCase{"Zero", "0", 0, Outcome::ZeroLines},
                    TypedCase{"Negative", "-1000", -1000, Outcome::FailsAtPower},
                    TypedCase{"JustBeyond", "2147483648", 0, Outcome::Overflow},
                    TypedCase{"ThreeE9", "3E9", 0, Outcome::Overflow},
                    TypedCase{"BeyondDouble", "1E999", 0, Outcome::Overflow}),
    [](const auto &row) { return row.param.name; });

struct Example {
    const char *name;
    std::int16_t model;
    std::int16_t mode;
    double eaf;
    const char *text;
    Results expected; // reference values computed outside this program
    const char *shown[3];
    friend void PrintTo(const Example &row, std::ostream *os) { *os << row.name; }
};

class WorkedExample : public Calculation, public testing::WithParamInterface<Example> {};

TEST_P(WorkedExample, StoresAndShows) {
    const Example &e = GetParam();
    Set(e.model, e.mode, e.eaf);
    ASSERT_EQ(Run(e.text), std::nullopt);
    EXPECT_DOUBLE_EQ(Module1::Effort, e.expected.effort);
    EXPECT_DOUBLE_EQ(Module1::TDEV, e.expected.tdev);
    EXPECT_DOUBLE_EQ(Module1::AvgStaffing, e.expected.avgStaffing);
    EXPECT_EQ(rt::FormatHundredths(Module1::Effort, "."), e.shown[0]);
    EXPECT_EQ(rt::FormatHundredths(Module1::TDEV, "."), e.shown[1]);
    EXPECT_EQ(rt::FormatHundredths(Module1::AvgStaffing, "."), e.shown[2]);
}

INSTANTIATE_TEST_SUITE_P(
    Published, WorkedExample,
    testing::Values(Example{"BasicEmbedded",
                            1,
                            3,
                            0.0,
                            "32000",
                            {230.39999999999998, 14.253922743777835, 16.163971430290996},
                            {"230.40", "14.25", "16.16"}},
                    Example{"BasicOrganic",
                            1,
                            1,
                            0.0,
                            "32000",
                            {91.33110643220898, 13.898730114383307, 6.571183531198554},
                            {"91.33", "13.90", "6.57"}},
                    Example{"IntermediateOrganic",
                            2,
                            1,
                            1.17,
                            "32000",
                            {142.476526034246, 16.457447155137636, 8.65726772148669},
                            {"142.48", "16.46", "8.66"}},
                    Example{"AdvancedOrganic",
                            3,
                            1,
                            1.17,
                            "32000",
                            {142.476526034246, 16.457447155137636, 8.65726772148669},
                            {"142.48", "16.46", "8.66"}},
                    Example{"CommaSize",
                            1,
                            1,
                            0.0,
                            "32,000",
                            {0.06465747178182137, 0.8830293155127038, 0.0732223388804255},
                            {"0.06", "0.88", "0.07"}},
                    Example{"LargestSize",
                            1,
                            3,
                            0.0,
                            "2147483647",
                            {142763878.8944934, 1017.2269957798727, 140346.13659170663},
                            {"142763878.89", "1017.23", "140346.14"}}),
    [](const auto &row) { return row.param.name; });

class Coefficients : public Calculation,
                     public testing::WithParamInterface<std::tuple<std::int16_t, std::int16_t>> {};

TEST_P(Coefficients, OfEveryModelAndMode) {
    const auto [model, mode] = GetParam();
    const published::Equation &k = published::EquationOf(model, mode);
    const bool appliesEAF = model != 1;
    const double eaf = 1.25;
    Set(model, mode, eaf);
    ASSERT_EQ(Run("1000"), std::nullopt);
    const double nominal = appliesEAF ? k.a * eaf : k.a;
    EXPECT_DOUBLE_EQ(Module1::Effort, nominal) << "a, with EAF " << appliesEAF;
    EXPECT_DOUBLE_EQ(Module1::TDEV, k.c * std::pow(nominal, k.d)) << "c and d";
    Set(model, mode, eaf);
    ASSERT_EQ(Run("64000"), std::nullopt);
    EXPECT_DOUBLE_EQ(Module1::Effort / nominal, std::pow(64.0, k.b)) << "b";
    EXPECT_DOUBLE_EQ(Module1::AvgStaffing, Module1::Effort / Module1::TDEV);
}

// By model (Basic, Intermediate, Advanced) and mode (Organic, Semidetached, Embedded).
INSTANTIATE_TEST_SUITE_P(NineModelModePairs, Coefficients,
                         testing::Combine(testing::Values(1, 2, 3), testing::Values(1, 2, 3)));

TEST_F(Calculation, EffortMultipliesThePowerByEAFThenByA) {
    // With 2002 lines and EAF 0.7, (power x EAF) x a and the other two groupings differ in
    // their last bit (reference computed outside this program).
    Set(2, 1, 0.7);
    ASSERT_EQ(Run("2002"), std::nullopt);
    EXPECT_TRUE(SameBits(Module1::Effort, 4.642856866719741));
}

TEST_F(Calculation, ZeroEAFTakesTheZeroPathForIntermediateAndAdvanced) {
    for (const std::int16_t model : {std::int16_t{2}, std::int16_t{3}}) {
        Set(model, 2, 0.0);
        EXPECT_EQ(Run("32000"), ErrorCode::Overflow);
        EXPECT_TRUE(SameBits(Module1::Effort, 0.0));
        EXPECT_TRUE(SameBits(Module1::TDEV, 0.0));
        EXPECT_TRUE(std::isnan(Module1::AvgStaffing));
    }
}

TEST_F(Calculation, BasicIgnoresEAF) {
    Set(1, 2, 0.0);
    ASSERT_EQ(Run("32000"), std::nullopt);
    const Results withZero = Stored();
    Set(1, 2, std::nan(""));
    ASSERT_EQ(Run("32000"), std::nullopt);
    EXPECT_TRUE(SameBits(Module1::Effort, withZero.effort));
    EXPECT_TRUE(SameBits(Module1::TDEV, withZero.tdev));
    EXPECT_TRUE(SameBits(Module1::AvgStaffing, withZero.avgStaffing));
}

TEST_F(Calculation, IntermediateAndAdvancedAgreeBitForBit) {
    for (const std::int16_t mode : {std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}) {
        Set(2, mode, 0.87);
        ASSERT_EQ(Run("54321"), std::nullopt);
        const Results intermediate = Stored();
        Set(3, mode, 0.87);
        ASSERT_EQ(Run("54321"), std::nullopt);
        EXPECT_TRUE(SameBits(Module1::Effort, intermediate.effort));
        EXPECT_TRUE(SameBits(Module1::TDEV, intermediate.tdev));
    }
}

TEST_F(Calculation, SemidetachedAgreesAcrossModelsWithUnitEAF) {
    Set(1, 2, 1.0);
    ASSERT_EQ(Run("32000"), std::nullopt);
    const Results basic = Stored();
    Set(2, 2, 1.0);
    ASSERT_EQ(Run("32000"), std::nullopt);
    EXPECT_TRUE(SameBits(Module1::Effort, basic.effort));
}

TEST_F(Calculation, ModelOutsideOneToThreeChangesNothing) {
    for (const std::int16_t model : {std::int16_t{0}, std::int16_t{4}, std::int16_t{-1}}) {
        Set(model, 1, 1.0);
        EXPECT_FALSE(engine::CalculateEstimate("32000"));
        EXPECT_EQ(Module1::Effort, 7.0);
        EXPECT_EQ(Module1::TDEV, 8.0);
        EXPECT_EQ(Module1::AvgStaffing, 9.0);
        EXPECT_EQ(Module1::Model, model);
    }
}

TEST_F(Calculation, ModelOutsideOneToThreeStillConvertsTheText) {
    Set(0, 1, 1.0);
    try {
        engine::CalculateEstimate("3E9");
        ADD_FAILURE() << "no overflow raised";
    } catch (const rt::RuntimeError &error) {
        EXPECT_EQ(error.code(), ErrorCode::Overflow);
    }
}

TEST_F(Calculation, ModeOutsideOneToThreeKeepsEffortAndTDEV) {
    Set(1, 0, 1.0);
    ASSERT_EQ(Run("32000"), std::nullopt);
    EXPECT_EQ(Module1::Effort, 7.0);
    EXPECT_EQ(Module1::TDEV, 8.0);
    EXPECT_EQ(Module1::AvgStaffing, 7.0 / 8.0);
}

} // namespace
