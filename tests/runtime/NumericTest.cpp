#include "runtime/numeric/Numeric.h"
#include "runtime/numeric/RuntimeError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

using rt::ErrorCode;

std::optional<ErrorCode> ErrorOf(auto &&call) {
    try {
        call();
    } catch (const rt::RuntimeError &error) {
        return error.code();
    }
    return std::nullopt;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct ValCase {
    const char *name;
    const char *text;
    double value;
    friend void PrintTo(const ValCase &row, std::ostream *os) { *os << row.name; }
};

class ValReads : public testing::TestWithParam<ValCase> {};

TEST_P(ValReads, TheNumberAtTheStartOfTheText) {
    const ValCase &c = GetParam();
    EXPECT_TRUE(SameBits(rt::Val(c.text), c.value))
        << '"' << c.text << "\" read as " << rt::Val(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ValReads,
    testing::Values(
        ValCase{"Plain", "32000", 32000.0}, ValCase{"Empty", "", 0.0},
        ValCase{"OneBlank", " ", 0.0}, ValCase{"Letters", "abc", 0.0},
        ValCase{"CommaEndsTheNumber", "32,000", 32.0}, ValCase{"BlanksInside", "  32 000", 32000.0},
        ValCase{"TabsAndLineFeeds", "\t3\n2\t", 32.0}, ValCase{"CarriageReturnEnds", "1\r2", 1.0},
        ValCase{"ExponentUpper", "3.2E4", 32000.0}, ValCase{"ExponentLower", "3.2e4", 32000.0},
        ValCase{"ExponentPlus", "1E+2", 100.0}, ValCase{"ExponentMinus", "25E-1", 2.5},
        ValCase{"BlanksAroundExponent", "1 E 3", 1000.0},
        ValCase{"ExponentWithoutDigits", "3E", 3.0},
        ValCase{"ExponentSignWithoutDigits", "3E+x", 3.0}, ValCase{"SecondPointEnds", "1.2.3", 1.2},
        ValCase{"LeadingPoint", ".5", 0.5}, ValCase{"TrailingPoint", "5.", 5.0},
        ValCase{"PointAlone", ".", 0.0}, ValCase{"SignAlone", "-", 0.0},
        ValCase{"PlusSign", "+7", 7.0}, ValCase{"MinusSign", "-1000", -1000.0},
        ValCase{"BlankAfterSign", "- 5", -5.0}, ValCase{"NegativeZero", "-0", -0.0},
        ValCase{"DoubleSign", "--5", 0.0}, ValCase{"HexIsNotANumber", "0x10", 0.0},
        ValCase{"CorrectlyRounded", "0.1", 0.1},
        ValCase{"LongMantissa", "3.14159265358979323846264338327950288", 3.141592653589793},
        ValCase{"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        ValCase{"Subnormal", "4.9e-324", std::numeric_limits<double>::denorm_min()},
        ValCase{"UnderflowIsZero", "1E-400", 0.0},
        ValCase{"NegativeUnderflowIsNegativeZero", "-2e-324", -0.0},
        ValCase{"ManyLeadingFractionZeros", "0.000000000000000000000000001e-300", 0.0},
        ValCase{"ZeroWithHugeExponent", "0e999999999999", 0.0},
        ValCase{"FullwidthDigitsAreNotDigits", "\xef\xbc\x91\xef\xbc\x92", 0.0},
        ValCase{"FifteenDigits", "123456789012345", 123456789012345.0},
        ValCase{"SixteenDigits", "1234567890123456", 1234567890123456.0},
        ValCase{"AboveTwoTo53RoundsToEven", "9007199254740993", 9007199254740992.0},
        ValCase{"TwentyDigits", "12345678901234567890", 12345678901234567890.0},
        ValCase{"TwentyDigitsWithFraction", "1234567890.1234567891", 1234567890.1234567891},
        ValCase{"LargestExactPowerOfTen", "1.5e22", 1.5e22},
        ValCase{"BeyondExactPowersOfTen", "1e23", 1e23},
        ValCase{"SmallestExactScale", "123e-22", 123e-22},
        ValCase{"BeyondExactScale", "123e-23", 123e-23},
        ValCase{"ManyLeadingZeros", "0000000000000000000000012", 12.0},
        ValCase{"FractionLeadingZeros", "0.0000000000000000000000012", 1.2e-24},
        ValCase{"BlanksBetweenDigits", " 1 2\t3\n", 123.0}),
    [](const auto &row) { return row.param.name; });

TEST(Val, RaisesOverflowBeyondTheDoubleRange) {
    for (const char *text : {"1E400", "-1E400", "1.7976931348623159e308", "1E99999999999999999999",
                             "100000000000000000000000000000000000000e300"}) {
        EXPECT_EQ(ErrorOf([&] { rt::Val(text); }), ErrorCode::Overflow) << text;
    }
}

struct RoundCase {
    const char *name;
    double value;
    std::optional<std::int32_t> whole; // nullopt: the overflow error
    friend void PrintTo(const RoundCase &row, std::ostream *os) { *os << row.name; }
};

class ToInt32Rounds : public testing::TestWithParam<RoundCase> {};

TEST_P(ToInt32Rounds, HalfToEvenWithinThe32BitRange) {
    const RoundCase &c = GetParam();
    if (c.whole) {
        EXPECT_EQ(rt::ToInt32(c.value), *c.whole);
    } else {
        EXPECT_EQ(ErrorOf([&] { rt::ToInt32(c.value); }), ErrorCode::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, ToInt32Rounds,
    testing::Values(RoundCase{"HalfDownToEven", 2500.5, 2500},
                    RoundCase{"HalfUpToEven", 2501.5, 2502}, RoundCase{"OneAndAHalf", 1.5, 2},
                    RoundCase{"AHalf", 0.5, 0}, RoundCase{"BelowAHalf", 0.4, 0},
                    RoundCase{"NegativeHalf", -0.5, 0}, RoundCase{"NegativeOneAndAHalf", -1.5, -2},
                    RoundCase{"JustAboveAHalf", 2500.5000001, 2501},
                    RoundCase{"Largest", 2147483647.0, 2147483647},
                    RoundCase{"LargestPlusFraction", 2147483647.4, 2147483647},
                    RoundCase{"LargestPlusHalfRoundsOut", 2147483647.5, std::nullopt},
                    RoundCase{"JustBeyond", 2147483648.0, std::nullopt},
                    RoundCase{"Smallest", -2147483648.0, -2147483648},
                    RoundCase{"SmallestMinusHalfRoundsToEven", -2147483648.5, -2147483648},
                    RoundCase{"JustBelow", -2147483649.0, std::nullopt},
                    RoundCase{"NaN", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
                    RoundCase{"Infinity", std::numeric_limits<double>::infinity(), std::nullopt}),
    [](const auto &row) { return row.param.name; });

TEST(Power, DomainAndZeroBase) {
    EXPECT_EQ(ErrorOf([] { rt::Power(-1.0, 1.05); }), ErrorCode::InvalidArgument);
    EXPECT_EQ(ErrorOf([] { rt::Power(-0.001, 0.32); }), ErrorCode::InvalidArgument);
    EXPECT_EQ(ErrorOf([] { rt::Power(0.0, -1.0); }), ErrorCode::DivisionByZero);
    EXPECT_EQ(rt::Power(-2.0, 3.0), -8.0);
    EXPECT_EQ(rt::Power(0.0, 1.05), 0.0);
    EXPECT_EQ(rt::Power(0.0, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(rt::Power(32.0, 1.2), 64.0);
}

TEST(CheckFloatingPoint, RaisesOverflowForNaNAndInfinityOnly) {
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(ErrorOf([&] { rt::CheckFloatingPoint(bad); }), ErrorCode::Overflow);
    }
    for (double fine : {0.0, -0.0, std::numeric_limits<double>::denorm_min(),
                        std::numeric_limits<double>::max()}) {
        EXPECT_EQ(ErrorOf([&] { rt::CheckFloatingPoint(fine); }), std::nullopt);
    }
}

TEST(RuntimeError, OneMappingOfNumbersAndTexts) {
    EXPECT_EQ(rt::RuntimeError(ErrorCode::Overflow).number(), 6);
    EXPECT_EQ(rt::RuntimeError(ErrorCode::Overflow).description(), "Overflow");
    EXPECT_EQ(rt::RuntimeError(ErrorCode::InvalidArgument).number(), 5);
    EXPECT_EQ(rt::RuntimeError(ErrorCode::InvalidArgument).description(),
              "Invalid procedure call or argument");
    EXPECT_EQ(rt::RuntimeError(ErrorCode::DivisionByZero).number(), 11);
    EXPECT_EQ(rt::RuntimeError(ErrorCode::DivisionByZero).description(), "Division by zero");
}

struct FormatCase {
    const char *name;
    double value;
    const char *separator;
    const char *shown;
    friend void PrintTo(const FormatCase &row, std::ostream *os) { *os << row.name; }
};

class FormatHundredths : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatHundredths, Pattern0Point00) {
    const FormatCase &c = GetParam();
    EXPECT_EQ(rt::FormatHundredths(c.value, c.separator), c.shown);
}

// The C library writes its locale's radix character, and a program may set that locale (Qt
// sets the user's at start-up).
TEST_P(FormatHundredths, Pattern0Point00WhereTheCLibraryWritesACommaRadix) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "no German locale in LOCPATH";
    const FormatCase &c = GetParam();
    const std::string shown = rt::FormatHundredths(c.value, c.separator);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(shown, c.shown);
}

INSTANTIATE_TEST_SUITE_P(Pattern, FormatHundredths,
                         testing::Values(FormatCase{"TrailingZero", 230.4, ".", "230.40"},
                                         FormatCase{"RoundsUp", 13.898711, ".", "13.90"},
                                         FormatCase{"RoundsDown", 6.5711, ".", "6.57"},
                                         FormatCase{"ThirdDecimal", 3.456, ".", "3.46"},
                                         FormatCase{"TinyIsZero", 0.0016, ".", "0.00"},
                                         FormatCase{"TinyRoundsUp", 0.0076, ".", "0.01"},
                                         FormatCase{"NoGrouping", 10684091.5403, ".",
                                                    "10684091.54"},
                                         FormatCase{"Zero", 0.0, ".", "0.00"},
                                         FormatCase{"Negative", -1.234, ".", "-1.23"},
                                         FormatCase{"NegativeRoundingToZero", -0.001, ".", "0.00"},
                                         FormatCase{"Billion", 1e9, ".", "1000000000.00"},
                                         FormatCase{"CommaSeparator", 230.4, ",", "230,40"},
                                         FormatCase{"MultiByteSeparator", 1.5, "\xd9\xab",
                                                    "1\xd9\xab"
                                                    "50"}),
                         [](const auto &row) { return row.param.name; });

} // namespace
