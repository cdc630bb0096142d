#include "cli/Report.h"
#include "cli/History.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr std::optional<std::int64_t> Refused = std::nullopt;
constexpr std::int64_t Most = std::numeric_limits<std::int64_t>::max();

struct ReportRow {
    const char *name;
    std::string report;
    std::optional<std::int64_t> lines;
    const char *breakdown = nullptr; // NAME=LINES of each language; +added ~modified -removed =same
};

// A cloc report with as many languages, or with one of a name as long.
std::string Entries(std::size_t count, std::size_t nameLength = 1) {
    std::string report = "{";
    for (std::size_t i = 0; i < count; ++i) {
        report += "\"" + std::string(nameLength, 'x') + std::to_string(i) + "\": {\"code\": 1}, ";
    }
    return report + R"("SUM": {"code": 9}})";
}

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
    {"ClocCodeNegative", R"({"SUM": {"code": -5}})", -5},
    {"ClocCodeWholeWithAPoint", R"({"SUM": {"code": 12.0}})", 12},
    {"ClocCodeWholeWithAnExponent", R"({"SUM": {"code": 3e9}})", 3000000000},
    {"ClocCodeBeyondSixtyFourBits", R"({"SUM": {"code": 1e30}})", Most},
    {"ClocNameNotUtf8", "{\"caf\xe9.c\": {\"code\": 1}, \"SUM\": {\"code\": 1}}", 1},
    {"ClocEmpty", "{}", 0},
    {"ClocByLangBeforeByFile",
     R"({"by_file": {"SUM": {"code": 5}}, "by_lang": {"SUM": {"code": 6}}, "x": {"SUM": 1}})", 6},
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
    {"SccCodeNegative", R"([{"Name": "C", "Code": -1}, {"Code": 5}])", -1},
    {"SccJson2LanguageSummary", R"({"languageSummary": [{"Code": 4}, {"Code": 5}], "Code": 1})", 9},
    {"SccSumBeyondSixtyFourBits", R"([{"Code": 18446744073709551615}, {"Code": 1}, {"Code": 2}])",
     Most},
    {"SccCodeCaseMatters", R"([{"Name": "C", "code": 10}])", Refused},
    {"Scalar", "32000", Refused},
    {"Text", "32000 lines", Refused},
    {"Empty", "", Refused},
    {"TrailingText", R"({"SUM": {"code": 5}} and more)", Refused},
    {"Truncated", R"({"SUM": {"code": 5})", Refused},
    {"DeepNesting", std::string(100000, '[') + std::string(100000, ']'), Refused},
    {"LongString", R"({"SUM": {"code": 5}, "x": ")" + std::string(70000, 'x') + "\"}", Refused},
    {"NestingWithinReach", R"({"SUM": {"code": 3}, "x": [[[[[[[[[[[[[[]]]]]]]]]]]]]]})", 3},
    {"ClocLanguagesBesideTheSum",
     R"({"header": {"n_files": 2}, "C": {"code": 3}, "Go": {"code": 2}, "SUM": {"code": 5}})", 5,
     "C=3 Go=2 "},
    {"ClocByFileLanguagesOfItsFiles",
     R"({"a.c": {"code": 3, "language": "C"}, "b.go": {"language": "Go", "code": 1}, )"
     R"("c.c": {"code": 1, "language": "C"}, "d": 4, "e": {"code": 0.5}, "SUM": {"code": 5}})",
     5, "C=4 Go=1 "},
    {"ClocByFileByLangLanguagesOfByLang",
     R"({"by_file": {"a.c": {"code": 3, "language": "C"}, "SUM": {"code": 3}}, )"
     R"("by_lang": {"C++": {"code": 3}, "SUM": {"code": 3}}})",
     3, "C++=3 "},
    {"SccLanguagesByName", R"([{"Name": "C", "Code": 10}, {"Name": "Go", "Code": 5}, {"Code": 1}])",
     16, "C=10 Go=5 "},
    {"ClocDiffAddedAndModified",
     R"({"added": {"C": {"code": 4}, "Go": {"code": 1}}, "modified": {"C": {"code": 2}}, )"
     R"("removed": {"Go": {"code": 7}}, "same": {"C": {"code": 9}}, "SUM": {"added": )"
     R"({"code": 5}, "modified": {"code": 2}, "removed": {"code": 7}, "same": {"code": 9}}})",
     7, "C=6 Go=1 +5 ~2 -7 =9"},
    {"ClocDiffWithoutSame",
     R"({"SUM": {"added": {"code": 5}, "modified": {"code": 2}, "removed": {"code": 7}}})",
     Refused},
    {"ClocDiffCodeFractional", R"({"SUM": {"added": {"code": 1.5}}})", Refused},
    {"NulAfterTheReport", std::string(R"({"SUM": {"code": 5}})") + '\0', Refused},
    {"Utf16LittleEndianWithMark", std::string("\xff\xfe{\0}\0", 6), Refused},
    {"Utf16BigEndian", std::string("\0{\0}", 4), Refused},
    {"CountBeyondTheDoubleRange", R"({"SUM": {"code": 1e400}})", Refused},
    {"NumberBeyondTheDoubleRangeElsewhere", R"({"x": -1e400, "SUM": {"code": 1}})", Refused},
    {"LanguagesAsManyAsCountersKnow", Entries(1024), 9},
    {"MoreLanguagesThanAnyCounterKnows", Entries(1025), 9, ""},
    {"LanguageNameLongerThanAny", Entries(1, 300), 9, ""},
};

class Reports : public testing::TestWithParam<ReportRow> {};

std::pair<std::optional<std::int64_t>, std::string> CodeLines(std::FILE *file) {
    try {
        const cli::Count count = cli::ReadReport(file);
        std::string breakdown;
        for (const cli::Language &language : count.languages) {
            breakdown += language.name + "=" + std::to_string(language.lines) + " ";
        }
        if (count.change) {
            const cli::Change &change = *count.change;
            breakdown += "+" + std::to_string(change.added) + " ~" +
                         std::to_string(change.modified) + " -" + std::to_string(change.removed) +
                         " =" + std::to_string(change.same);
        }
        return {count.lines, breakdown};
    } catch (const cli::BadReport &) {
        return {Refused, ""};
    }
}

TEST_P(Reports, CodeLines) {
    const ReportRow &row = GetParam();
    std::FILE *file = std::tmpfile();
    std::fwrite(row.report.data(), 1, row.report.size(), file);
    std::rewind(file);
    const auto [lines, breakdown] = CodeLines(file);
    EXPECT_EQ(lines, row.lines);
    if (row.breakdown != nullptr) {
        EXPECT_EQ(breakdown, row.breakdown);
    }
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(Cases, Reports, testing::ValuesIn(ReportRows),
                         [](const auto &row) { return std::string(row.param.name); });

// Endless input that cannot be a report is refused at once rather than read to its end.
TEST(Reports, StopsAtTheFirstByteThatCannotBelong) {
    std::FILE *zeros = std::fopen("/dev/zero", "rb");
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(CodeLines(zeros).first, Refused);
    std::fclose(zeros);
}

struct HistoryRow {
    const char *name;
    std::string table;
    std::string read; // each project as mode, size, effort and factor; or the message
};

void PrintTo(const HistoryRow &row, std::ostream *os) {
    *os << row.name;
}

std::string Contents(const std::string &name) {
    std::ifstream file(std::string(COCOMO_CLI_REPORTS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The two tables of tests/cli/reports hold the same projects.
const std::string TeamHistory =
    "1 2.5 6.8 0.62866; 1 8 24 1.1440000000000001; 1 22 140 1.0695; 1 45 118 0.415623208; "
    "1 90 290 1.196; 2 30 150 1.3224999999999998; 2 120 820 2.1917896; 3 60 640 2.002; "
    "3 400 5200 1.8793235999999998; ";

const std::string Modes = "; modes: organic, semidetached (or semi-detached), embedded";
const std::string Neither = "'h.csv' line 2: neither CSV with a header row nor ARFF: ";

const HistoryRow HistoryRows[] = {
    {"CsvNumbersAndRatingWords",
     "\xef\xbb\xbfKLOC,Project,Mode,Actual,acap,cplx,Tool\r\n12,A,organic,40,1.04,H,very_low\r\n"
     "\r\n 5.5 , \"B, b\" ,Semi-Detached, \"14\" ,n,extra high,0.93",
     "1 12 40 1.48304; 2 5.5 14 1.5345; "},
    {"ArffCommentsAndQuotedNames",
     "% history\n@RELATION cocomo81\n\n@attribute 'dev_mode' {organic,embedded}\n"
     "@attribute \"LOC\" numeric\n@Attribute rely {vl,l,n,h,vh}\n@attribute 'time' real\n"
     "@attribute actual real\n@data\n% first\norganic, 2.2, 'h', 1, 8.4\n"
     "\"embedded\",45,0.88,XH,\"2\\20\"\n",
     "1 2.2 8.4 1.15; 3 45 220 1.4607999999999999; "},
    {"HistoryCsv", Contents("history.csv"), TeamHistory},
    {"HistoryArff", Contents("history.arff"), TeamHistory},
    {"NoModeColumn", "kloc,actual\n1,2\n",
     "'h.csv': no mode column; it needs one named dev_mode or mode"},
    {"NoEffortColumn", "mode,kloc,act\n",
     "'h.csv': no effort column; it needs one named actual, act_effort or effort"},
    {"TwoSizeColumns", "mode,KLOC,loc,actual\n",
     "'h.csv': two size columns, KLOC and loc; keep one"},
    {"NotANumber", "mode,kloc,actual\n\norganic,1,1\norganic,abc,1\n",
     "'h.csv' line 4, column kloc: 'abc' is not a number"},
    {"ZeroAfterAQuotedLineBreak", "mode,kloc,actual,notes\norganic,2,7,\"x\r\ny\"\norganic,0,5,z\n",
     "'h.csv' line 4, column kloc: '0' is not above zero"},
    {"Negative", "mode,kloc,actual\norganic,1,-3",
     "'h.csv' line 2, column actual: '-3' is not above zero"},
    {"Infinite", "mode,kloc,actual\norganic,inf,1",
     "'h.csv' line 2, column kloc: 'inf' is not finite"},
    {"UnknownMode", "dev_mode,kloc,actual\nsemi,1,1",
     "'h.csv' line 2, column dev_mode: unknown mode 'semi'" + Modes},
    {"RatingNotDefined", "mode,kloc,actual,acap\norganic,1,1,xh",
     "'h.csv' line 2, column acap: rating 'xh' is not defined for ACAP; ACAP ratings: VL, L, N, H, "
     "VH"},
    {"NeitherMultiplierNorRating", "mode,kloc,actual,turn\norganic,1,1,\"\n\"",
     "'h.csv' line 2, column turn: '\\x0a' is neither a multiplier nor a rating; TURN takes a "
     "multiplier such as 1.15 or a rating: L, N, H, VH"},
    {"FieldsShort", "mode,kloc,x,y,actual\norganic,1,1,1,1\norganic,1,1",
     "'h.csv' line 3: 3 fields, where the header names 5"},
    {"HeaderOnly", "mode,kloc,actual\n\n", "'h.csv': no projects"},
    {"Empty", "", "'h.csv': no projects"},
    {"Nul", std::string("mode,kloc,actual\norganic,1\0,1", 29),
     Neither + "a NUL byte, which text never holds"},
    {"ArffWithoutData", "@relation x\n@attribute mode string\n",
     "'h.csv': neither CSV with a header row nor ARFF: ARFF whose rows no @data line begins"},
    {"ArffAttributeWithoutName", "@relation x\n@attribute\n@data\n",
     Neither + "'@attribute', where an @attribute line gives a name and a type"},
    {"ArffDataFirst", "\n@data\n", Neither + "'@data' where ARFF takes @relation or @attribute"},
    {"ArffStrayLine", "@relation x\nmode,kloc\n",
     Neither + "'mode,kloc' where ARFF takes a % comment, @relation, @attribute or @data"},
    {"LineTooLong", "mode,kloc,actual\norganic,1," + std::string(70000, '1'),
     "'h.csv' line 2: longer than 65536 bytes, which no history table's rows are"},
    {"QuoteNotClosed", "mode,kloc,actual\norganic,1,\"1\n",
     "'h.csv' line 2: a quoted value is not closed by the end of the file"},
};

class Histories : public testing::TestWithParam<HistoryRow> {};

TEST_P(Histories, Read) {
    const HistoryRow &row = GetParam();
    std::FILE *file = std::tmpfile();
    std::fwrite(row.table.data(), 1, row.table.size(), file);
    std::rewind(file);
    std::string read;
    try {
        for (const auto &project : cli::ReadHistory(file, "'h.csv'")) {
            read += std::to_string(project.mode);
            for (const double figure : {project.kloc, project.actual, project.eaf}) {
                std::array<char, 32> text{};
                read += " " + std::string(text.data(),
                                          std::to_chars(text.begin(), text.end(), figure).ptr);
            }
            read += "; ";
        }
    } catch (const cli::BadHistory &bad) {
        read = bad.what();
    }
    EXPECT_EQ(read, row.read);
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(Cases, Histories, testing::ValuesIn(HistoryRows),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
