#include "cli/Report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace {

constexpr std::optional<std::uint64_t> Refused = std::nullopt;
constexpr std::uint64_t Most = std::numeric_limits<std::uint64_t>::max();

struct ReportRow {
    const char *name;
    std::string report;
    std::optional<std::uint64_t> lines;
};

void PrintTo(const ReportRow &row, std::ostream *os) {
    *os << row.name;
}

const ReportRow ReportRows[] = {
    {"ClocSumNotTheLanguages",
     R"({"header": {"n_files": 3}, "C": {"code": 100}, "SUM": {"blank": 4, "code": 250}})", 250},
    {"ClocSumFirst", R"({"SUM": {"code": 7, "comment": 1}, "Go": {"code": 3}})", 7},
    {"ClocLaterSumReplacesEarlier", R"({"SUM": {"code": 7}, "SUM": {"code": 9}})", 9},
    {"ClocLaterSumWithoutCode", R"({"SUM": {"code": 7}, "SUM": {"blank": 9}})", Refused},
    {"ClocWithoutSum", R"({"header": {}, "C": {"code": 100}})", Refused},
    {"ClocSumNotAnObject", R"({"SUM": 250})", Refused},
    {"ClocCodeNegative", R"({"SUM": {"code": -5}})", Refused},
    {"ClocCodeFractional", R"({"SUM": {"code": 5.5}})", Refused},
    {"ClocCodeAsText", R"({"SUM": {"code": "5"}})", Refused},
    {"ClocCodeNested", R"({"SUM": {"code": {"code": 5}}})", Refused},
    {"ClocCodeReplacedByAnArray", R"({"SUM": {"code": 5, "code": [5]}})", Refused},
    {"ClocCodeCaseMatters", R"({"SUM": {"Code": 5}})", Refused},
    {"SccSumsLanguagesNotFiles",
     R"([{"Name": "C", "Code": 10, "Files": [{"Code": 99}]}, {"Name": "Go", "Code": 5}])", 15},
    {"SccNoLanguages", "[]", 0},
    {"SccLanguageWithoutCode", R"([{"Name": "C", "Code": 10}, {"Name": "Go"}])", Refused},
    {"SccLanguageNotAnObject", R"([{"Name": "C", "Code": 10}, 5])", Refused},
    {"SccLanguageAnArray", R"([[{"Code": 10}]])", Refused},
    {"SccCodeNegative", R"([{"Name": "C", "Code": -1}])", Refused},
    {"SccSumBeyondSixtyFourBits", R"([{"Code": 18446744073709551615}, {"Code": 1}, {"Code": 2}])",
     Most},
    {"SccCodeCaseMatters", R"([{"Name": "C", "code": 10}])", Refused},
    {"Scalar", "32000", Refused},
    {"Text", "32000 lines", Refused},
    {"Empty", "", Refused},
    {"TrailingText", R"({"SUM": {"code": 5}} and more)", Refused},
    {"Truncated", R"({"SUM": {"code": 5})", Refused},
    {"DeepNesting", std::string(100000, '[') + std::string(100000, ']'), Refused},
    {"NestingWithinReach", R"({"SUM": {"code": 3}, "x": [[[[[[[[[[[[[[]]]]]]]]]]]]]]})", 3},
};

class Reports : public testing::TestWithParam<ReportRow> {};

TEST_P(Reports, CodeLinesFromMemoryAndFromAFile) {
    const ReportRow &row = GetParam();
    EXPECT_EQ(cli::CodeLines(row.report), row.lines);
    std::FILE *file = std::tmpfile();
    std::fwrite(row.report.data(), 1, row.report.size(), file);
    std::rewind(file);
    EXPECT_EQ(cli::CodeLines(file), row.lines);
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(Cases, Reports, testing::ValuesIn(ReportRows),
                         [](const auto &row) { return std::string(row.param.name); });

// Endless input that cannot be a report is refused at once rather than read to its end.
TEST(Reports, StopsAtTheFirstByteThatCannotBelong) {
    std::FILE *zeros = std::fopen("/dev/zero", "rb");
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(cli::CodeLines(zeros), Refused);
    std::fclose(zeros);
}

} // namespace
