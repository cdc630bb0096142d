// The program run whole in the test's process: its arguments in, its exit status, standard
// output and standard error out.
#include "cli/Program.h"
#include "cli/Arguments.h"
#include "cli/Words.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

cli::NumberFormat Comma() {
    return {",", ".", "\3"};
}

// The reports the tests read: cloc's, made now from a small tree written here, and the
// hand-written ones of scc, which Debian does not package.
const std::string &Reports() {
    static const std::string directory = [] {
        namespace fs = std::filesystem;
        const fs::path root = COCOMO_CLI_GENERATED;
        fs::remove_all(root);
        fs::create_directories(root / "tree/sub");
        fs::create_directories(root / "tree2");
        fs::create_directories(root / "empty");
        fs::copy(COCOMO_CLI_REPORTS, root);
        // One file's name is not UTF-8.
        for (const auto &[name, text] :
             {std::pair{"tree/a.c", "int main() {\n    return 0;\n}\n"},
              {"tree/caf\xe9.c", "int f() { return 1; }\n"},
              {"tree/sub/b.py", "import os\nprint(os.sep)\n"},
              {"tree2/a.c", "int main() {\n    int x = 1;\n    return x;\n}\n"},
              {"tree2/s.sh", "echo hi\n"}}) {
            std::ofstream(root / name) << text;
        }
        for (const auto &[name, what] : {std::pair{"cloc.json", "tree"},
                                         {"by-file.json", "--by-file tree"},
                                         {"by-file-by-lang.json", "--by-file-by-lang tree"},
                                         {"empty.json", "empty"},
                                         {"diff.json", "--diff tree tree2"}}) {
            const std::string cloc =
                "cd '" + root.string() + "' && cloc --quiet --json --out=" + name + " " + what;
            EXPECT_EQ(std::system(cloc.c_str()), 0) << cloc << ": is cloc installed?";
        }
        return root.string();
    }();
    return directory;
}

// The words of a command line, split at blanks; @NAME is the path of the report NAME.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        const std::string word(line.substr(start, end - start));
        words.push_back(word.starts_with('@') ? Reports() + "/" + word.substr(1) : word);
        start = end + 1;
    }
    return words;
}

Outcome RunProgram(const std::vector<std::string> &words, const std::string &input = {}) {
    std::FILE *in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    char *buffer = nullptr;
    std::size_t size = 0;
    std::FILE *out = open_memstream(&buffer, &size);
    std::ostringstream err;
    const std::vector<std::string_view> args(words.begin(), words.end());
    const int status = cli::Run(args, {in, out, err, Comma});
    std::fclose(in);
    std::fclose(out);
    const std::string output(buffer, size);
    std::free(buffer);
    return {status, output, err.str()};
}

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

const auto NamedRow = [](const auto &row) {
    return std::string(row.param.name);
};

// --- Figures against values computed by hand -------------------------------------------

struct FiguresRow {
    const char *name;
    std::string command; // the words, split at blanks
    std::int32_t lines;
    double eaf; // 0: none (Basic)
    double effort;
    double tdev;
    double avgStaffing;
    double cost = 0;             // 0: none (no --salary)
    const char *shown = nullptr; // a line of the output of the command as given
    double exponent = 0;         // COCOMO II's E; 0: a 1981 model
    double withoutSchedule = 0;  // COCOMO II's effort with SCED Nominal
};

void PrintTo(const FiguresRow &row, std::ostream *os) {
    *os << row.name;
}

// COCOMO II.2000's published tables, typed in here apart from the program's, by rating from
// Extra Low to Extra High; NA marks a rating that a factor does not define.
constexpr double NA = -1;
const std::vector<std::string> Cocomo2Ratings = {"XL", "VL", "L", "N", "H", "VH", "XH"};
std::size_t RatingIndex(const std::string &rating) {
    return static_cast<std::size_t>(
        std::find(Cocomo2Ratings.begin(), Cocomo2Ratings.end(), rating) - Cocomo2Ratings.begin());
}
struct Published2 {
    const char *name;
    double values[7];
};
const std::vector<Published2> Scale2 = {{"PREC", {NA, 6.20, 4.96, 3.72, 2.48, 1.24, 0.00}},
                                        {"FLEX", {NA, 5.07, 4.05, 3.04, 2.03, 1.01, 0.00}},
                                        {"RESL", {NA, 7.07, 5.65, 4.24, 2.83, 1.41, 0.00}},
                                        {"TEAM", {NA, 5.48, 4.38, 3.29, 2.19, 1.10, 0.00}},
                                        {"PMAT", {NA, 7.80, 6.24, 4.68, 3.12, 1.56, 0.00}}};
const std::vector<Published2> PostArchitecture2 = {
    {"RELY", {NA, 0.82, 0.92, 1.00, 1.10, 1.26, NA}},
    {"DATA", {NA, NA, 0.90, 1.00, 1.14, 1.28, NA}},
    {"CPLX", {NA, 0.73, 0.87, 1.00, 1.17, 1.34, 1.74}},
    {"RUSE", {NA, NA, 0.95, 1.00, 1.07, 1.15, 1.24}},
    {"DOCU", {NA, 0.81, 0.91, 1.00, 1.11, 1.23, NA}},
    {"TIME", {NA, NA, NA, 1.00, 1.11, 1.29, 1.63}},
    {"STOR", {NA, NA, NA, 1.00, 1.05, 1.17, 1.46}},
    {"PVOL", {NA, NA, 0.87, 1.00, 1.15, 1.30, NA}},
    {"ACAP", {NA, 1.42, 1.19, 1.00, 0.85, 0.71, NA}},
    {"PCAP", {NA, 1.34, 1.15, 1.00, 0.88, 0.76, NA}},
    {"PCON", {NA, 1.29, 1.12, 1.00, 0.90, 0.81, NA}},
    {"APEX", {NA, 1.22, 1.10, 1.00, 0.88, 0.81, NA}},
    {"PLEX", {NA, 1.19, 1.09, 1.00, 0.91, 0.85, NA}},
    {"LTEX", {NA, 1.20, 1.09, 1.00, 0.91, 0.84, NA}},
    {"TOOL", {NA, 1.17, 1.09, 1.00, 0.90, 0.78, NA}},
    {"SITE", {NA, 1.22, 1.09, 1.00, 0.93, 0.86, 0.80}},
    {"SCED", {NA, 1.43, 1.14, 1.00, 1.00, 1.00, NA}}};
const std::vector<Published2> EarlyDesign2 = {{"PERS", {2.12, 1.62, 1.26, 1.00, 0.83, 0.63, 0.50}},
                                              {"RCPX", {0.49, 0.60, 0.83, 1.00, 1.33, 1.91, 2.72}},
                                              {"RUSE", {NA, NA, 0.95, 1.00, 1.07, 1.15, 1.24}},
                                              {"PDIF", {NA, NA, 0.87, 1.00, 1.29, 1.81, 2.61}},
                                              {"PREX", {1.59, 1.33, 1.22, 1.00, 0.87, 0.74, 0.62}},
                                              {"FCIL", {1.43, 1.30, 1.10, 1.00, 0.87, 0.73, 0.62}},
                                              {"SCED", {NA, 1.43, 1.14, 1.00, 1.00, 1.00, NA}}};
const double SchedulePercent2[] = {NA, 75, 85, 100, 130, 160, NA};

// The command with every factor of the model that defines the rating rated so.
std::string Every(const std::string &model, const char *rating) {
    const std::size_t r = RatingIndex(rating);
    std::string command = "--model " + model + " --lines 100000";
    for (const auto &[option, table] :
         {std::pair{std::string(" --scale "), Scale2},
          {" --rating ", model == "cocomo2" ? PostArchitecture2 : EarlyDesign2}}) {
        for (const Published2 &factor : table) {
            command += factor.values[r] == NA ? "" : option + factor.name + "=" + rating;
        }
    }
    return command;
}

// The figures of a COCOMO II command from the tables above: the sum and the products left to
// right in table order, each equation left to right as written.
FiguresRow Cocomo2Row(const char *name, std::int32_t lines, const std::string &command,
                      const char *shown = nullptr) {
    const auto value = [&](const Published2 &factor) {
        const std::size_t at = command.find(" " + std::string(factor.name) + "=");
        const std::size_t r =
            at == std::string::npos
                ? 3
                : RatingIndex(command.substr(at + 6, command.find(' ', at + 1) - at - 6));
        return std::pair{factor.values[r], r};
    };
    double sum = 0;
    for (const Published2 &factor : Scale2) {
        sum += value(factor).first;
    }
    const double e = 0.91 + 0.01 * sum;
    const std::vector<Published2> &drivers =
        command.find("cocomo2-early") == std::string::npos ? PostArchitecture2 : EarlyDesign2;
    double product = 1;
    for (std::size_t i = 0; i + 1 < drivers.size(); ++i) {
        product *= value(drivers[i]).first;
    }
    const auto [sced, r] = value(drivers.back());
    const double scaled = std::pow(lines / 1000.0, e);
    const double effort = 2.94 * scaled * (product * sced);
    const double tdev = 3.67 * std::pow(2.94 * scaled * product, 0.28 + 0.2 * (e - 0.91)) *
                        SchedulePercent2[r] / 100.0;
    return {name, command, lines, product * sced,         effort, tdev, effort / tdev,
            0,    shown,   e,     2.94 * scaled * product};
}

// Computed with Python's floats in the equations' order: power, factor, coefficient.
const FiguresRow FiguresRows[] = {
    {"BasicOrganic", "--model basic --mode organic --lines 32000", 32000, 0, 91.33110643220898,
     13.898730114383307, 6.571183531198554, 0,
     "\nEffort:           91.33\nPerson-years:     7.61\nLabor hours:      13882.33 (152 hours a "
     "staff-month)\nTDEV:             13.90\nTDEV in years:   "
     " "
     "1.16\n"},
    {"BasicSemiDetached", "--model BASIC --mode Semi-Detached --lines 32000", 32000, 0,
     145.50879038499826, 14.287335375866538, 10.184459632044792},
    {"BasicOrganicByDefault", "--lines 32000", 32000, 0, 91.33110643220898, 13.898730114383307,
     6.571183531198554},
    {"BasicEmbeddedBlanksAround", "--model=basic --mode=embedded --lines=\t32000\n", 32000, 0,
     230.39999999999998, 14.253922743777835, 16.163971430290996, 0,
     ".\nEmbedded: tight constraints of hardware, software and operations.\n"},
    {"BasicEmbeddedLargestSize", "--model basic --mode embedded --lines 2147483647", 2147483647, 0,
     142763878.8944934, 1017.2269957798727, 140346.13659170663},
    {"IntermediateUnratedIsNominal", "--model intermediate --mode semidetached --lines 32000",
     32000, 1.0, 145.50879038499826, 14.287335375866538, 10.184459632044792},
    {"IntermediateOrganicThreeRatings",
     "--model intermediate --mode organic --lines 32000 --rating CPLX=L --rating acap=very-low "
     "--rating AEXP=l",
     32000, 1.4023299999999996, 170.76846731077282, 17.630106154205684, 9.686184859983715},
    {"IntermediateEmbeddedExtraHigh",
     "--model intermediate --mode embedded --lines 2500 --rating TIME=EH --rating "
     "STOR=extra-high --rating CPLX=EH",
     2500, 4.2728399999999995, 35.925487685452524, 7.864459202279138, 4.56808113074593},
    {"IntermediateEveryVeryLowOffered",
     "--model intermediate --mode semidetached --lines 1000 --rating ACAP=VL --rating AEXP=VL "
     "--rating CPLX=VL --rating DATA=VL --rating LEXP=VL --rating MODP=VL --rating PCAP=VL "
     "--rating RELY=VL --rating SCED=VL --rating TOOL=VL --rating VEXP=VL",
     1000, 3.6629325140703908, 10.988797542211172, 5.784589818963451, 1.8996675453438234},
    {"IntermediateLastRatingOfADriverCounts",
     "--model intermediate --mode organic --lines 50000 --rating PCAP=VH --rating PCAP=H --rating "
     "RELY=VH --rating TOOL=VH --rating SCED=L --rating TURN=L --rating VIRT=H --rating DATA=N",
     50000, 1.0798052327999998, 210.09412621707207, 19.074681485397154, 11.01429276173823},
    {"IntermediateGivenFactor", "--model intermediate --mode organic --lines 32000 --eaf 1.17",
     32000, 1.17, 142.476526034246, 16.457447155137636, 8.65726772148669},
    {"CostAsSlocCountGivesItForPythonsLibrary", "--lines 202339 --salary 56286", 202339, 0,
     633.2786124585349, 29.00988723435549, 21.829750917079163, 7128943.996168219,
     "\nCost:             7,128,944 (salary 56286 a year, overhead 2.4)\n"},
    {"CostWithOverhead",
     "--model intermediate --lines 32000 --eaf 1.17 --salary 120000 --overhead 1.5", 32000, 1.17,
     142.476526034246, 16.457447155137636, 8.65726772148669, 2137147.8905136897,
     "\nCost:             2,137,148 (salary 120000 a year, overhead 1.5)\n"},
    {"MarkdownTable", "--lines 32000 --salary 100000 --format markdown", 32000, 0,
     91.33110643220898, 13.898730114383307, 6.571183531198554, 1826622.1286441798,
     "| Figure | Value |\n| --- | --- |\n| Model | Basic |\n| Mode | Organic |\n| Lines | 32000 "
     "|\n| Factor | none |\n| Effort | 91.33 |\n| Person-years | 7.61 |\n| Labor hours | "
     "13882.33 (152 hours a staff-month) |\n| TDEV | 13.90 |\n"
     "| TDEV in years | 1.16 |\n| Average staffing | 6.57 |\n"
     "| Cost | 1,826,622 (salary 100000 a year, overhead 2.4) |\n\nEffort in staff-months"},
    {"AdvancedUntouchedCountsSix", "--model advanced --mode organic --lines 32000", 32000, 6.0,
     730.648851457672, 30.630163634454558, 23.853899710669403},
    {"AdvancedEmbeddedAllLarge",
     "--model advanced --mode embedded --lines 128000 --phase requirements=large --phase "
     "product-design=128 --phase detailed-design=large --phase code-and-unit-test=LARGE --phase "
     "integration-and-test=large --phase maintenance=small",
     128000, 2.08, 1967.3124025193815, 28.312581808017818, 69.4854469952387},
    {"ClocReport", "--model basic --mode organic --lines-from @cloc.json", 6, 0,
     0.011149876438482214, 0.45279604982169125, 0.02462450024215754, 0,
     "\nLanguage:         4 lines, C\nLanguage:         2 lines, Python\nFactor:"},
    {"ClocByFileReportWithANameNotUtf8", "--model basic --mode organic --lines-from @by-file.json",
     6, 0, 0.011149876438482214, 0.45279604982169125, 0.02462450024215754},
    {"ClocByFileByLangReport", "--model basic --mode organic --lines-from @by-file-by-lang.json", 6,
     0, 0.011149876438482214, 0.45279604982169125, 0.02462450024215754},
    {"TwoReportsAddUp",
     "--model basic --mode organic --lines-from @cloc.json --lines-from @by-file-by-lang.json", 12,
     0, 0.02308615196385212, 0.5970539799622495, 0.03866677509680416},
    {"SccReport", "--model basic --mode organic --lines-from @scc.json", 32000, 0,
     91.33110643220898, 13.898730114383307, 6.571183531198554},
    {"SccJson2Report", "--model basic --mode organic --lines-from @scc-json2.json", 32000, 0,
     91.33110643220898, 13.898730114383307, 6.571183531198554},
    {"AdvancedSemidetachedMixedColumns",
     "--model advanced --mode semidetached --lines 8000 --phase requirements=2 --phase "
     "product-design=8 --phase detailed-design=medium --phase code-and-unit-test=large --phase "
     "integration-and-test=small --phase maintenance=large",
     8000, 1.99, 61.29642086760431, 10.557043218299926, 5.806211038461137},
    {"SlocCountSummaryFigureForFigure", "--lines 202339 --salary 56286 --format sloccount", 202339,
     0, 633.2786124585349, 29.00988723435549, 21.829750917079163, 7128943.996168219,
     "Total Physical Source Lines of Code (SLOC)                = 202,339\n"
     "Development Effort Estimate, Person-Years (Person-Months) = 52.77 (633.28)\n"
     " (Basic COCOMO model, Person-Months = 2.4 * (KSLOC**1.05))\n"
     "Schedule Estimate, Years (Months)                         = 2.42 (29.01)\n"
     " (Basic COCOMO model, Months = 2.5 * (person-months**0.38))\n"
     "Estimated Average Number of Developers (Effort/Schedule)  = 21.83\n"
     "Total Estimated Cost to Develop                           = $ 7,128,944\n"
     " (average salary = $56,286/year, overhead = 2.40).\n"},
    {"CoefficientsAsSccTakesThem", "--lines 32000 --coefficients 0.25,1.03,1,1", 32000, 0,
     8.87655577654276, 8.87655577654276, 1.0, 0, "\nMode:             Custom\n"},
    {"CoefficientsInSlocCountsWords",
     "--lines 32000 --coefficients 0.25,1.03,1,1 --salary 1 --overhead 1 --format sloccount", 32000,
     0, 8.87655577654276, 8.87655577654276, 1.0, 0.7397129813785633,
     " (effort model Person-Months = 0.25 * (KSLOC**1.03))\n"},
    {"MultiprojectEffortsAndStaffingSummedLongestSchedule",
     "--lines-from @cloc.json --lines-from @scc.json --multiproject --salary 56286", 32006, 0,
     91.34225630864746, 13.898730114383307, 6.595808031440711, 1028258.0477177063,
     "\nProject:          6 lines, effort 0.01, TDEV 0.45, staffing 0.02, "},
    {"MultiprojectSlocCountWithoutStaffing",
     "--lines-from @cloc.json --lines-from @scc.json --multiproject --format sloccount", 32006, 0,
     91.34225630864746, 13.898730114383307, 6.595808031440711, 0,
     "(person-months**0.38))\nTotal Estimated Cost"},
    {"DiffAddedAndModifiedLines", "--lines-from @diff.json", 3, 0, 0.005385035357476571,
     0.3433931765216452, 0.015681835649803993, 0,
     " 3 lines (2 added, 1 modified; 3 removed, 2 unchanged), "},
    {"OnlyLanguageCaseInsensitive", "--lines-from @cloc.json --only-lang python,PYTHON", 2, 0,
     0.003517974905060489, 0.2920997927220064, 0.012043743243626922, 0,
     "\nLeft out:         4 lines, C\nLanguage:         2 lines, Python\n"},
    {"ExcludedLanguagesOfScc", "--lines-from @scc.json --exclude-lang c++ --exclude-lang=CMAKE",
     5322, 0, 13.886405896573967, 6.7939782740449, 2.0439285108732737},
    Cocomo2Row(
        "Cocomo2AllNominalTheWorkedFigure", 100000, "--model cocomo2 --lines 100000",
        "\nEffort:           465.32\nPerson-years:     38.78\nLabor hours:      70727.93 (152 "
        "hours a staff-month)\nEffort w/o SCED:  465.32\nEffort range:     372.25 to 581.64 "
        "(0.8 and 1.25 x the estimate)\nTDEV exponent F:  0.31794\nTDEV:             25.87 "
        "(SCED 100% of the nominal schedule)\nTDEV range:       24.10 to 27.78\n"),
    Cocomo2Row("Cocomo2ProcessReliabilitySchedule", 100000,
               "--model cocomo2 --lines 100000 --scale PMAT=H --rating RELY=VH --rating SCED=L",
               "\nScale factors:    PREC N, FLEX N, RESL N, TEAM N, PMAT H; sum 17.41\nExponent E: "
               "      1.0841\nMultipliers:      RELY VH, SCED L; the others Nominal\n"),
    Cocomo2Row("Cocomo2EveryVeryLow", 100000, Every("cocomo2", "VL")),
    Cocomo2Row("Cocomo2EveryLow", 100000, Every("cocomo2", "L")),
    Cocomo2Row("Cocomo2EveryHigh", 100000, Every("cocomo2", "H")),
    Cocomo2Row("Cocomo2EveryVeryHigh", 100000, Every("cocomo2", "VH")),
    Cocomo2Row("Cocomo2EveryExtraHigh", 100000, Every("cocomo2", "XH")),
    Cocomo2Row("EarlyDesignEveryExtraLow", 100000, Every("cocomo2-early", "XL")),
    Cocomo2Row("EarlyDesignEveryVeryLowSlocCount", 100000,
               Every("cocomo2-early", "VL") + " --format sloccount",
               " (COCOMO II Early Design model, Months = 3.67 * (person-months without "
               "SCED**0.34324) * 75 / 100; person-months without SCED = 1,400.26)\n"),
    Cocomo2Row("EarlyDesignEveryLow", 100000, Every("cocomo2-early", "L")),
    Cocomo2Row("EarlyDesignEveryHigh", 100000, Every("cocomo2-early", "H")),
    Cocomo2Row("EarlyDesignEveryVeryHigh", 100000, Every("cocomo2-early", "VH")),
    Cocomo2Row("EarlyDesignEveryExtraHigh", 100000, Every("cocomo2-early", "XH")),
    Cocomo2Row("ScheduleVeryLow", 100000, "--model cocomo2 --lines 100000 --rating SCED=VL"),
    Cocomo2Row("ScheduleLow", 100000, "--model cocomo2 --lines 100000 --rating SCED=L"),
    Cocomo2Row("ScheduleHigh", 100000, "--model cocomo2 --lines 100000 --rating SCED=H"),
    Cocomo2Row("ScheduleVeryHigh", 7, "--model cocomo2-early --lines 7 --rating SCED=VH"),
    Cocomo2Row("EarlyDesignFromAReport", 32000, "--model cocomo2-early --lines-from @scc.json"),
    Cocomo2Row("EarlyDesignRange", 100000, "--model cocomo2-early --lines 100000",
               "\nEffort range:     311.76 to 697.97 (0.67 and 1.5 x the estimate)\n"),
    {"AdaptedCocomo2TheWorkedExample",
     "--model cocomo2 --lines 32000 --adapted 438 --dm 30 --cm 35 --im 40 --aa 4 --su 20 --unfm "
     "0.4",
     32000, 1, 133.79187564211952, 17.407769861422807, 7.685756228809896, 0,
     "\nAAF:              34.5\nAAM:              0.4402\nEquivalent:       192.81 lines\nSize "
     "used:        32192.81 lines\n",
     1.0997, 133.79187564211952},
    {"AdaptedBasicKeepsTheFraction", "--lines 32000 --adapted 438 --dm 30 --cm 35 --im 40", 32000,
     0, 91.78400655274304, 13.924880378901083, 6.591367685413927, 0,
     "\nAdapted:          438 lines, DM 30%, CM 35%, IM 40%\nAAF:              34.5\nEquivalent: "
     "      151.11 lines\nSize used:        32151.11 lines\n"},
    {"CoefficientsForIntermediateTakeTheFactor",
     "--model intermediate --lines 32000 --coefficients 0.25,1.03,1,1 --rating ACAP=H", 32000, 0.86,
     7.633837967826774, 7.633837967826774, 1.0, 0,
     "\nCustom: effort = 0.25 x KLOC^1.03 x the factor staff-months"},
    {"LaborHoursOfAnotherMonth", "--lines 32000 --hours-per-month 160", 32000, 0, 91.33110643220898,
     13.898730114383307, 6.571183531198554, 0,
     "\nLabor hours:      14612.98 (160 hours a staff-month)\n"},
    {"Cocomo2Multiproject",
     "--model cocomo2 --lines-from @cloc.json --lines-from @scc.json --multiproject", 32006, 1,
     132.92154186413003, 17.371246090606004, 7.663457397777923, 0, nullptr, 1.0997,
     132.92154186413003},
};

class Figures : public testing::TestWithParam<FiguresRow> {};

TEST_P(Figures, JsonCarriesTheHandComputedDoubles) {
    const FiguresRow &row = GetParam();
    const Outcome outcome = RunProgram(Words(std::string(row.command) + " --format json"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const nlohmann::json json = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(json["lines"].get<std::int32_t>(), row.lines);
    if (row.eaf == 0) {
        EXPECT_TRUE(json["eaf"].is_null());
    } else {
        EXPECT_EQ(Bits(json["eaf"].get<double>()), Bits(row.eaf)) << json["eaf"];
    }
    EXPECT_EQ(Bits(json["effort_staff_months"].get<double>()), Bits(row.effort));
    EXPECT_EQ(Bits(json["tdev_months"].get<double>()), Bits(row.tdev));
    EXPECT_EQ(Bits(json["average_staffing"].get<double>()), Bits(row.avgStaffing));
    EXPECT_EQ(Bits(json["cost"].is_null() ? 0.0 : json["cost"].get<double>()), Bits(row.cost));
    EXPECT_EQ(Bits(json["effort_person_years"].get<double>()), Bits(row.effort / 12.0));
    EXPECT_EQ(Bits(json["tdev_years"].get<double>()), Bits(row.tdev / 12.0));
    if (row.exponent == 0) {
        EXPECT_TRUE(json["effort_without_sced_staff_months"].is_null());
    } else {
        EXPECT_EQ(Bits(json["effort_exponent"].get<double>()), Bits(row.exponent));
        EXPECT_EQ(Bits(json["effort_without_sced_staff_months"].get<double>()),
                  Bits(row.withoutSchedule));
    }
    if (row.shown != nullptr) {
        EXPECT_NE(RunProgram(Words(row.command)).out.find(row.shown), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Figures, testing::ValuesIn(FiguresRows), NamedRow);

// --- The three output forms ----------------------------------------------------------

const std::vector<std::string> Basic32000 = Words("--model basic --mode organic --lines 32000");

TEST(Output, TextShowsTheResultsScreensFiguresAndSaysWhatTheyAre) {
    const Outcome outcome = RunProgram(Basic32000);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "Model:            Basic\n"
                           "Mode:             Organic\n"
                           "Lines:            32000\n"
                           "Factor:           none\n"
                           "Effort:           91.33\n"
                           "Person-years:     7.61\n"
                           "Labor hours:      13882.33 (152 hours a staff-month)\n"
                           "TDEV:             13.90\n"
                           "TDEV in years:    1.16\n"
                           "Average staffing: 6.57\n"
                           "Effort in staff-months of work, TDEV in months of calendar time, "
                           "average staffing in people at work on average.\n"
                           "Organic: a small team on familiar, in-house work, requirements "
                           "flexible.\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(Output, TextFactorAndLocaleSeparator) {
    const Outcome product =
        RunProgram(Words("--model intermediate --mode semidetached --lines 32000 --rating ACAP=VH "
                         "--rating PCAP=VH --locale --salary 100000 --currency \xe2\x82\xac"));
    EXPECT_NE(product.out.find("\nCost:             \xe2\x82\xac 1.446.357 (salary 100000 a year, "
                               "overhead 2,4)\n"),
              std::string::npos)
        << product.out;
    EXPECT_NE(product.out.find("\nMode:             Semi-detached\n"), std::string::npos);
    EXPECT_NE(product.out.find("\nFactor:           0,497 (product of the cost-driver "
                               "multipliers)\nEffort:           72,32\n"),
              std::string::npos)
        << product.out;
    EXPECT_NE(RunProgram(Words("--lines 32000 --salary 100000 --currency $| --format markdown"))
                  .out.find("\n| Cost | \\$\\| 1,826,622 "),
              std::string::npos);
    const Outcome sum = RunProgram(
        Words("--model advanced --mode embedded --lines 32000 --phase requirements=small"));
    EXPECT_NE(sum.out.find("\nFactor:           5.08 (sum of the phase fractions)\n"),
              std::string::npos)
        << sum.out;
    const Outcome early = RunProgram(Words("--model cocomo2-early --lines 100000 --rating SCED=H "
                                           "--locale --format markdown"));
    for (const char *shown : {"\n| Exponent E | 1,0997 |\n", "\n| TDEV | 33,64 (SCED 130% of the ",
                              "\nCOCOMO II Early Design: effort = 2,94 x KSLOC^E x the product of "
                              "the 7 effort multipliers, E = 0,91 + 0,01 x the sum"}) {
        EXPECT_NE(early.out.find(shown), std::string::npos) << early.out;
    }
}

TEST(Output, JsonIsOneObjectWithShortestRoundTripNumbers) {
    EXPECT_EQ(RunProgram(Words("--model basic --mode organic --lines 32000 --format json")).out,
              "{\"model\":\"basic\",\"mode\":\"organic\",\"lines\":32000,\"eaf\":null,"
              "\"effort_staff_months\":91.33110643220898,\"tdev_months\":13.898730114383307,"
              "\"average_staffing\":6.571183531198554,\"cost\":null,\"ratings\":null,"
              "\"phases\":null,\"scale_factors\":null,\"reports\":null,"
              "\"effort_person_years\":7.610925536017415,\"tdev_years\":1.1582275095319423,"
              "\"effort_coefficient\":2.4,\"effort_exponent\":1.05,\"tdev_coefficient\":2.5,"
              "\"tdev_exponent\":0.38,\"multiproject\":false,\"scale_factor_sum\":null,"
              "\"effort_without_sced_staff_months\":null,\"sced_percent\":null,"
              "\"languages\":null,\"change\":null,\"labor_hours\":13882.328177695765,"
              "\"hours_per_month\":152.0}\n");
}

TEST(Output, JsonNamesEveryRatingAndEveryColumnUsed) {
    const nlohmann::json ratings = nlohmann::json::parse(
        RunProgram(
            Words(
                "--model intermediate --mode organic --lines 32000 --rating stor=vh --format json"))
            .out)["ratings"];
    EXPECT_EQ(ratings.size(), 15u);
    EXPECT_EQ(ratings["STOR"], "VH");
    EXPECT_EQ(ratings["ACAP"], "N");
    EXPECT_EQ(ratings.begin().key(), "ACAP");

    const nlohmann::json phases =
        nlohmann::json::parse(RunProgram(Words("--model advanced --mode organic --lines 32000 "
                                               "--phase detailed-design=32 --format json"))
                                  .out)["phases"];
    EXPECT_EQ(phases.dump(), "{\"code-and-unit-test\":null,\"detailed-design\":\"medium\","
                             "\"integration-and-test\":null,\"maintenance\":null,"
                             "\"product-design\":null,\"requirements\":null}");
}

TEST(Output, CsvHasAHeaderAndOneRowWithTheSameFields) {
    EXPECT_EQ(
        RunProgram(Words("--model intermediate --mode embedded --lines-from - --rating TOOL=L "
                         "--format csv"),
                   R"([{"Name": "C", "Code": 31000}, {"Name": "Odd, \"x\"", "Code": 1000}])")
            .out,
        "model,mode,lines,eaf,effort_staff_months,tdev_months,average_staffing,cost,ACAP,AEXP,"
        "CPLX,DATA,LEXP,MODP,PCAP,RELY,SCED,STOR,TIME,TOOL,TURN,VEXP,VIRT,requirements,"
        "product-design,detailed-design,code-and-unit-test,integration-and-test,maintenance,"
        "effort_person_years,tdev_years,effort_coefficient,effort_exponent,tdev_coefficient,"
        "tdev_exponent,multiproject,languages,added,modified,removed,unchanged,labor_hours,"
        "hours_per_month\n"
        "intermediate,embedded,32000,1.1,197.11999999999998,13.559817037135492,"
        "14.537069302643152,,N,N,N,N,N,N,N,N,N,N,N,L,N,N,N,,,,,,,16.426666666666666,"
        "1.1299847530946243,2.8,1.2,2.5,0.32,false,\"C=31000;Odd, \"\"x\"\"=1000\",,,,,"
        "29962.239999999998,152\n");
    EXPECT_EQ(
        RunProgram(Words("--model cocomo2-early --lines 1 --rating sced=vh --scale team=xh "
                         "--format csv"))
            .out,
        "model,mode,lines,eaf,effort_staff_months,tdev_months,average_staffing,cost,PERS,RCPX,RUSE,"
        "PDIF,PREX,FCIL,SCED,PREC,FLEX,RESL,TEAM,PMAT,effort_person_years,tdev_years,"
        "effort_coefficient,effort_exponent,tdev_coefficient,tdev_exponent,multiproject,"
        "scale_factor_sum,effort_without_sced_staff_months,sced_percent,languages,added,modified,"
        "removed,unchanged,labor_hours,hours_per_month,effort_optimistic_staff_months,"
        "effort_pessimistic_staff_months,tdev_optimistic_months,tdev_pessimistic_months\n"
        "cocomo2-early,,1,1,0.0018533068477586934,0.8281979052360405,"
        "0.0022377584343569326,,N,N,N,N,N,N,VH,N,N,N,XH,N,0.00015444223731322446,"
        "0.06901649210300338,2.94,1.0668,3.67,0.31136,false,15.68,0.0018533068477586934,160,,,,,,"
        "0.2817026408593214,152,0.0012417155879983247,0.00277996027163804,0.7311067242325855,"
        "0.9396408782688006\n");
}

// --- Histories of finished projects: figures worked out by hand, in every format ----------

struct HistoryRow {
    const char *name;
    std::string command; // the words, split at blanks
    std::string input;   // standard input
    std::vector<std::string> shown;
};

void PrintTo(const HistoryRow &row, std::ostream *os) {
    *os << row.name;
}

// Organic projects whose effort is the Basic model's own.
const std::string BasicEquation = "mode,kloc,actual\norganic,2,4.969271634438612\n"
                                  "organic,5,13.005580640812418\norganic,10,26.928442903247127\n"
                                  "organic,32,91.33110643220898\norganic,80,239.03182540612016\n"
                                  "organic,200,625.5942338702705\n";

const HistoryRow HistoryRows[] = {
    {"TextTable",
     "--history @history.csv",
     "",
     {"Projects:         9: 5 Organic, 2 Semi-detached, 2 Embedded\n",
      "published  Basic         all                  9                  17.30  10.71     88.89     "
      "88.89          8\n",
      "published  Intermediate  all                  9                  36.24  35.40     33.33     "
      "33.33          9\n"}},
    {"JsonFullPrecision",
     "--history @history.arff --format json",
     "",
     {"\"basic\":{\"all\":{\"projects\":9,\"mmre\":17.3036752815915,\"mdmre\":10.713957207455199,",
      "\"intermediate\":{\"all\":{\"projects\":9,\"mmre\":36.244477822637315,"}},
    {"CsvRowOfTheFit",
     "--history @history.csv --calibrate coefficient --format csv",
     "",
     {"\nfitted,basic,organic,5,2.923714907398752,1.05,",
      ",coefficient,\"2.923714907398752,1.05,2.5,0.38\"\n"}},
    {"MarkdownTable",
     "--history @history.csv --format markdown",
     "",
     {"| published | Intermediate | all | 9 |  |  | 36.24 | 35.40 | 33.33 | 33.33 | 9 |  |\n"}},
    {"IntermediateFitDividesTheFactorOut",
     "--model intermediate --history @history.csv --calibrate coefficient",
     "",
     {"\nOrganic:          a 3.5436, b 1.0500 from 5 projects, a fitted, b as published; "
      "--coefficients 3.5435967920116"}},
    {"BothGivesTheBasicEquationBack",
     "--history - --calibrate both",
     BasicEquation,
     {"\nOrganic:          a 2.4000, b 1.0500 from 6 projects, a and b fitted;",
      "\nEmbedded:         a 3.6000, b 1.2000 from 0 projects, as published: no projects of the "
      "mode;"}},
    {"EstimateByTheFit",
     "--history @history.csv --calibrate both --lines 32000",
     "",
     {"\nFitted:           a 2.9855, b 1.0427 from 5 Organic projects of the history, a and b "
      "fitted; the schedule as published\nFactor:           none\nEffort:           110.79\n"}},
};

class History : public testing::TestWithParam<HistoryRow> {};

TEST_P(History, ShowsTheFiguresWorkedOutByHand) {
    const HistoryRow &row = GetParam();
    const Outcome outcome = RunProgram(Words(row.command), row.input);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const std::string &shown : row.shown) {
        EXPECT_NE(outcome.out.find(shown), std::string::npos) << shown << "\nin\n" << outcome.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, History, testing::ValuesIn(HistoryRows), NamedRow);

// --- Reports of line counters ----------------------------------------------------------

TEST(Reports, EachCountedAddedAndShown) {
    const std::string NoResults = R"("change": null, "effort_staff_months": null, )"
                                  R"("tdev_months": null, "average_staffing": null, "cost": null)";
    const std::string cloc = Reports() + "/by-file.json";
    const std::string twoReports = "--lines-from " + cloc + " --lines-from -";
    const std::string scc = R"([{"Name": "C++", "Code": 30000}, {"Name": "Go", "Code": 2000}])";
    const Outcome text = RunProgram(Words(twoReports), scc);
    EXPECT_NE(text.out.find("\nLines:            32006\nReport:           6 lines, " + cloc +
                            "\nReport:           32000 lines, standard input\n"),
              std::string::npos)
        << text.out;
    const nlohmann::json json =
        nlohmann::json::parse(RunProgram(Words(twoReports + " --format json"), scc).out);
    EXPECT_EQ(json["reports"],
              nlohmann::json::parse(R"([{"source": ")" + cloc + R"(", "lines": 6, )" + NoResults +
                                    R"(}, {"source": "-", "lines": 32000, )" + NoResults + "}]"));
}

// --- Every refusal: the exit status, one message on standard error, nothing on output ----

struct RefusalRow {
    const char *name;
    std::string command; // the words, split at blanks
    std::string input;   // standard input
    int status;
    std::string message; // all of standard error
};

void PrintTo(const RefusalRow &row, std::ostream *os) {
    *os << row.name;
}

const std::string Options =
    "options: --model, --mode, --coefficients, --lines, --lines-from, --multiproject, "
    "--only-lang, --exclude-lang, --adapted, --dm, --cm, --im, --aa, --su, --unfm, --history, "
    "--calibrate, --scale, --rating, --eaf, --phase, --salary, --overhead, --currency, "
    "--hours-per-month, --format, --locale, -h, --help, --version";
const std::string Models = "models: basic, intermediate, advanced, cocomo2, cocomo2-early";
const std::string RatingModels =
    " applies to --model intermediate, cocomo2 and cocomo2-early only, not ";
const std::string Scales = "scale factors: PREC, FLEX, RESL, TEAM, PMAT";
const std::string Ratings = "ratings: XL, VL, L, N, H, VH, XH (or extra-low, very-low, low, "
                            "nominal, high, very-high, extra-high)";
const std::string Drivers = "drivers: ACAP, AEXP, CPLX, DATA, LEXP, MODP, PCAP, RELY, SCED, STOR, "
                            "TIME, TOOL, TURN, VEXP, VIRT";
const std::string Steps =
    "steps: VL, L, N, H, VH, EH (or very-low, low, nominal, high, very-high, extra-high)";
const std::string Phases = "phases: requirements, product-design, detailed-design, "
                           "code-and-unit-test, integration-and-test, maintenance";
const std::string Columns = "columns: small, intermediate, medium, large (or 2, 8, 32, 128)";
const std::string Requirement =
    "The size must be a whole number of lines from 1 to 2147483647, for example 32000.\n";
const std::string Formats = "; it reads cloc --json, also with --by-file, --by-file-by-lang or "
                            "--diff (the code of SUM; with --diff its added and modified code), "
                            "and scc --format json or json2 (the sum of the languages' Code)\n";
const std::string Stdin = "cocomo-estimate: standard input: ";
const std::string StdinLine = "cocomo-estimate: standard input line ";
const std::string NoCode = " counts no code: the tree holds no source file that the line counter "
                           "knows, or does not exist\n";

const std::string NotWhole = "cocomo-estimate: --lines: takes a whole number of lines, digits "
                             "only, for example 202339, not ";

// A command line with the model and the Organic mode.
std::string On(const char *model, const std::string &more) {
    return "--model " + std::string(model) + " --mode organic" + (more.empty() ? "" : " " + more);
}

const RefusalRow RefusalRows[] = {
    // Usage errors.
    {"UnknownOption", On("basic", "--lines 1 --colour"), "", 2,
     "cocomo-estimate: unknown option '--colour'; " + Options + "\n"},
    {"PositionalArgument", On("basic", "32000"), "", 2,
     "cocomo-estimate: unexpected argument '32000'; " + Options + "\n"},
    {"UnknownModel", "--model cocomo3 --mode organic --lines 1", "", 2,
     "cocomo-estimate: --model: unknown model 'cocomo3'; " + Models + "\n"},
    {"ControlCharactersStayOnOneLine", "--model bas\nic --mode organic --lines 1", "", 2,
     "cocomo-estimate: --model: unknown model 'bas\\x0aic'; " + Models + "\n"},
    {"UnknownMode", "--model basic --mode semi --lines 1", "", 2,
     "cocomo-estimate: --mode: unknown mode 'semi'; modes: organic, semidetached, "
     "embedded (or semi-detached)\n"},
    {"UnknownShortOption", "-x --lines 1", "", 2,
     "cocomo-estimate: unknown option '-x'; " + Options + "\n"},
    {"OptionAfterTheEndOfOptions", "--lines 1 -- --lines 2", "", 2,
     "cocomo-estimate: unexpected argument '--lines'; " + Options + "\n"},
    {"UnknownFormat", On("basic", "--lines 1 --format xml"), "", 2,
     "cocomo-estimate: --format: unknown format 'xml'; formats: text, json, csv, markdown, "
     "sloccount\n"},
    {"MissingValueAtTheEnd", On("basic", "--lines"), "", 2,
     "cocomo-estimate: --lines: 1 required N missing; a whole number of lines, digits only, for "
     "example 202339\n"},
    {"MissingValueBeforeAnOption", "--model --mode organic --lines 1", "", 2,
     "cocomo-estimate: --model: needs a value; " + Models + "\n"},
    {"MissingSize", On("basic", ""), "", 2,
     "cocomo-estimate: missing --lines N, --lines-from FILE or --history FILE\n"},
    {"TwoSizes", On("basic", "--lines 1 --lines-from -"), "", 2,
     "cocomo-estimate: --lines excludes --lines-from\n"},
    {"FlagWithAValue", On("basic", "--lines 1 --locale=de"), "", 2,
     "cocomo-estimate: --locale takes no value\n"},
    {"LocaleWithJson", On("basic", "--lines 1 --locale --format json"), "", 2,
     "cocomo-estimate: --locale applies to --format text and markdown only, not json, whose "
     "numbers always have a decimal point\n"},
    {"UnknownDriver", On("intermediate", "--lines 1 --rating FOO=H"), "", 2,
     "cocomo-estimate: --rating: unknown driver 'FOO' in FOO=H; " + Drivers + "\n"},
    {"UnknownStep", On("intermediate", "--lines 1 --rating ACAP=XH"), "", 2,
     "cocomo-estimate: --rating: unknown step 'XH' in ACAP=XH; " + Steps + "\n"},
    {"RatingWithoutStep", On("intermediate", "--lines 1 --rating ACAP"), "", 2,
     "cocomo-estimate: --rating: needs DRIVER=STEP, not 'ACAP'; " + Drivers + "; " + Steps + "\n"},
    {"ExtraHighNotOfferedForAcap", On("intermediate", "--lines 1 --rating acap=eh"), "", 2,
     "cocomo-estimate: --rating: step 'eh' is not offered for ACAP in acap=eh; ACAP steps: VL, L, "
     "N, H, VH\n"},
    {"LowNotOfferedForStor", On("intermediate", "--lines 1 --rating STOR=low"), "", 2,
     "cocomo-estimate: --rating: step 'low' is not offered for STOR in STOR=low; STOR steps: N, H, "
     "VH, EH\n"},
    {"VeryLowNotOfferedForTurn", On("intermediate", "--lines 1 --rating TURN=VL"), "", 2,
     "cocomo-estimate: --rating: step 'VL' is not offered for TURN in TURN=VL; TURN steps: L, N, "
     "H, VH\n"},
    {"VeryHighNotOfferedForVexp", On("intermediate", "--lines 1 --rating VEXP=VH"), "", 2,
     "cocomo-estimate: --rating: step 'VH' is not offered for VEXP in VEXP=VH; VEXP steps: VL, L, "
     "N, H\n"},
    {"RatingForBasic", On("basic", "--rating ACAP=H --lines 1"), "", 2,
     "cocomo-estimate: --rating" + RatingModels + "basic\n"},
    {"RatingForAdvanced", On("advanced", "--lines 1 --rating ACAP=H"), "", 2,
     "cocomo-estimate: --rating" + RatingModels + "advanced\n"},
    {"Cocomo2RatingNotDefined", "--model cocomo2 --lines 1 --rating rely=xh", "", 2,
     "cocomo-estimate: --rating: rating 'xh' is not defined for RELY in rely=xh; RELY ratings: VL, "
     "L, N, H, VH\n"},
    {"Cocomo2HasNoExtraLow", "--model cocomo2 --lines 1 --scale PREC=extra-low", "", 2,
     "cocomo-estimate: --scale: rating 'extra-low' is not defined for PREC in PREC=extra-low; PREC "
     "ratings: VL, L, N, H, VH, XH\n"},
    {"EarlyDesignRuseFromLow", "--model cocomo2-early --lines 1 --rating RUSE=VL", "", 2,
     "cocomo-estimate: --rating: rating 'VL' is not defined for RUSE in RUSE=VL; RUSE ratings: L, "
     "N, "
     "H, VH, XH\n"},
    {"EarlyDesignWithoutRely", "--model cocomo2-early --lines 1 --rating RELY=H", "", 2,
     "cocomo-estimate: --rating: unknown driver 'RELY' in RELY=H; cocomo2-early drivers: PERS, "
     "RCPX, "
     "RUSE, PDIF, PREX, FCIL, SCED\n"},
    {"UnknownScaleFactor", "--model cocomo2 --lines 1 --scale TURN=H", "", 2,
     "cocomo-estimate: --scale: unknown scale factor 'TURN' in TURN=H; " + Scales + "\n"},
    {"UnknownRating", "--model cocomo2 --lines 1 --scale PMAT=EH", "", 2,
     "cocomo-estimate: --scale: unknown rating 'EH' in PMAT=EH; " + Ratings + "\n"},
    {"ScaleWithoutRating", "--model cocomo2 --lines 1 --scale PMAT", "", 2,
     "cocomo-estimate: --scale: needs FACTOR=RATING, not 'PMAT'; " + Scales + "; " + Ratings +
         "\n"},
    {"ScaleForIntermediate", On("intermediate", "--lines 1 --scale TEAM=VL"), "", 2,
     "cocomo-estimate: --scale applies to --model cocomo2 and cocomo2-early only, not "
     "intermediate\n"},
    {"ModeForCocomo2", "--model cocomo2 --mode embedded --lines 1", "", 2,
     "cocomo-estimate: --mode applies to --model basic, intermediate and advanced only, "
     "not cocomo2\n"},
    {"FactorForCocomo2", "--model cocomo2-early --lines 1 --eaf 1.1", "", 2,
     "cocomo-estimate: --eaf applies to --model intermediate only, not cocomo2-early\n"},
    {"PhaseForCocomo2", "--model cocomo2 --lines 1 --phase maintenance=2", "", 2,
     "cocomo-estimate: --phase applies to --model advanced only, not cocomo2\n"},
    {"CoefficientsForCocomo2", "--model cocomo2 --lines 5 --coefficients 1,1,1,1", "", 2,
     "cocomo-estimate: --coefficients applies to --model basic and intermediate only, not "
     "cocomo2\n"},
    {"Cocomo2ZeroLines", "--model cocomo2 --lines 0", "", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"EarlyDesignNegativeSize", "--model cocomo2-early --lines -1", "", 1,
     "cocomo-estimate: Run-time error '5': Invalid procedure call or argument\n" + Requirement},
    {"Cocomo2ReportBeyondThirtyTwoBits", "--model cocomo2 --lines-from -",
     R"([{"Name": "C", "Code": 2147483647}, {"Name": "Go", "Code": 1}])", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"FactorWithRatings", On("intermediate", "--lines 1 --rating TOOL=L --eaf 1.1"), "", 2,
     "cocomo-estimate: --rating excludes --eaf\n"},
    {"FactorForBasic", On("basic", "--lines 1 --eaf 1.1"), "", 2,
     "cocomo-estimate: --eaf applies to --model intermediate only, not basic\n"},
    {"FactorForAdvanced", On("advanced", "--lines 1 --eaf 1.1"), "", 2,
     "cocomo-estimate: --eaf applies to --model intermediate only, not advanced\n"},
    {"FactorZero", On("intermediate", "--lines 1 --eaf 0"), "", 2,
     "cocomo-estimate: --eaf: takes a positive number, for example 1.17, not '0'\n"},
    {"FactorWithAComma", On("intermediate", "--lines 1 --eaf 1,17"), "", 2,
     "cocomo-estimate: --eaf: takes a positive number, for example 1.17, not '1,17'\n"},
    {"FactorNotFinite", On("intermediate", "--lines 1 --eaf inf"), "", 2,
     "cocomo-estimate: --eaf: takes a positive number, for example 1.17, not 'inf'\n"},
    {"OverheadWithoutSalary", On("basic", "--lines 1 --overhead 2"), "", 2,
     "cocomo-estimate: --overhead applies with --salary only, which adds the cost\n"},
    {"CurrencyWithJson", On("basic", "--lines 1 --salary 9 --currency $ --format json"), "", 2,
     "cocomo-estimate: --currency applies to --format text, markdown and sloccount only, not json, "
     "whose cost is a plain number\n"},
    {"SalaryNegative", On("basic", "--lines 1 --salary -5"), "", 2,
     "cocomo-estimate: --salary: takes a positive yearly amount, for example 56286, not '-5'\n"},
    {"CostBeyondTheDoubleRange", On("basic", "--lines 2147483647 --salary 1e308"), "", 2,
     "cocomo-estimate: the cost is beyond the range of a double; give a smaller --salary or "
     "--overhead\n"},
    {"UnknownPhase", On("advanced", "--lines 1 --phase testing=small"), "", 2,
     "cocomo-estimate: --phase: unknown phase 'testing' in testing=small; " + Phases + "\n"},
    {"UnknownColumn", On("advanced", "--lines 1 --phase requirements=huge"), "", 2,
     "cocomo-estimate: --phase: unknown column 'huge' in requirements=huge; " + Columns + "\n"},
    {"PhaseWithoutColumn", On("advanced", "--lines 1 --phase requirements"), "", 2,
     "cocomo-estimate: --phase: needs PHASE=COLUMN, not 'requirements'; " + Phases + "; " +
         Columns + "\n"},
    {"PhaseForIntermediate", On("intermediate", "--lines 1 --phase maintenance=2"), "", 2,
     "cocomo-estimate: --phase applies to --model advanced only, not "
     "intermediate\n"},
    // Reports that cannot be read.
    {"MissingReport", On("basic", "--lines-from /nonexistent/cloc.json"), "", 2,
     "cocomo-estimate: cannot read '/nonexistent/cloc.json': No such file or directory\n"},
    {"DirectoryAsReport", On("basic", "--lines-from /"), "", 2,
     "cocomo-estimate: cannot read '/': Is a directory\n"},
    {"PlainTextReport", On("basic", "--lines-from -"), "32000\n", 2,
     Stdin + "the report is a number, not an object or an array" + Formats},
    {"YamlReport", On("basic", "--lines-from -"), "---\nSUM:\n  code: 5\n", 2,
     Stdin +
         "not JSON at byte 2 (syntax error while parsing value - invalid number; expected "
         "digit after '-'; last read: '--')" +
         Formats},
    {"CsvReport", On("basic", "--lines-from -"), "language,files,code\nC,2,4\n", 2,
     Stdin +
         "not JSON at byte 1 (syntax error while parsing value - invalid literal; last read: "
         "'l')" +
         Formats},
    {"ClocJsonWithoutSum", On("basic", "--lines-from -"),
     R"({"header": {"n_files": 1}, "C++": {"code": 5}})", 2,
     Stdin + "an object with neither cloc's SUM entry nor scc's languageSummary" + Formats},
    {"SumWithoutCode", On("basic", "--lines-from -"), R"({"SUM": {"blank": 5}})", 2,
     Stdin + "SUM has no code" + Formats},
    {"CodeAsText", On("basic", "--lines-from -"), R"({"by_lang": {"SUM": {"code": "5"}}})", 2,
     Stdin + "the code of the SUM of by_lang is a string, not a number of lines" + Formats},
    {"CodeFractional", On("basic", "--lines-from -"), R"([{"Code": 1}, {"Code": 12.5}])", 2,
     Stdin + "the Code of language 2 is 12.5, not a whole number of lines" + Formats},
    {"TruncatedReport", On("basic", "--lines-from -"), R"([{"Name": "C", "Code": 5})", 2,
     Stdin +
         "not JSON at byte 26 (syntax error while parsing array - unexpected end of input; "
         "expected ']')" +
         Formats},
    {"SeventeenLevelsDeep", On("basic", "--lines-from -"),
     R"({"x": [[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]})", 2,
     Stdin + "nested deeper than 16 levels at byte 22" + Formats},
    {"TwoReportsOnOneInput", On("basic", "--lines-from -"), R"({"SUM": {"code": 5}} {})", 2,
     Stdin +
         "more after the end of the report, at byte 22; give each report a --lines-from of its "
         "own" +
         Formats},
    {"EndlessString", On("basic", "--lines-from -"), "[\"" + std::string(70000, 'x'), 2,
     Stdin +
         "a string or number of more than 65536 bytes from byte 2, longer than any a report "
         "holds" +
         Formats},
    {"EmptyTree", On("basic", "--lines-from @empty.json"), "", 1,
     "cocomo-estimate: '@empty.json'" + NoCode},
    {"OneOfTwoCountsNoCode", On("basic", "--lines-from @cloc.json --lines-from @empty.json"), "", 1,
     "cocomo-estimate: '@empty.json'" + NoCode},
    {"StandardInputTwice", On("basic", "--lines-from - --lines-from -"), "", 2,
     "cocomo-estimate: standard input given twice, with --lines-from - or --history -; it holds "
     "one file\n"},
    {"SumCodeZero", On("basic", "--lines-from -"), R"({"SUM": {"code": 0}})", 1,
     "cocomo-estimate: standard input" + NoCode},
    {"SccNoLanguages", On("basic", "--lines-from -"), "[]", 1,
     "cocomo-estimate: standard input" + NoCode},
    {"CodeBeyondThirtyTwoBitsWithAnExponent", On("basic", "--lines-from -"),
     R"({"SUM": {"code": 3e9}})", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"CodeNegative", On("basic", "--lines-from -"), R"({"SUM": {"code": -5}})", 1,
     "cocomo-estimate: Run-time error '5': Invalid procedure call or argument\n" + Requirement},
    // Sizes the calculation refuses, as the wizard reports them.
    {"ZeroLines", On("basic", "--lines 0"), "", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"EmptySize", On("intermediate", "--lines="), "", 2,
     "cocomo-estimate: --lines: 1 required N missing; a whole number of lines, digits only, for "
     "example 202339\n"},
    {"SizeRoundingToZero", On("advanced", "--lines 0.4"), "", 2, NotWhole + "'0.4'\n"},
    {"NotANumber", On("basic", "--lines abc"), "", 2, NotWhole + "'abc'\n"},
    {"GroupedDigits", On("basic", "--lines 202,339"), "", 2, NotWhole + "'202,339'\n"},
    {"DigitsAndLetters", On("basic", "--lines 12abc"), "", 2, NotWhole + "'12abc'\n"},
    {"DecimalPoint", On("advanced", "--lines 32.000 --locale"), "", 2, NotWhole + "'32.000'\n"},
    {"ExponentForm", On("basic", "--lines 3e9"), "", 2, NotWhole + "'3e9'\n"},
    {"BlanksWithin", On("basic", "--lines 32\t000"), "", 2, NotWhole + "'32\\x09000'\n"},
    {"NegativeSize", On("basic", "--lines -1000"), "", 1,
     "cocomo-estimate: Run-time error '5': Invalid procedure call or argument\n" + Requirement},
    {"BeyondThirtyTwoBits", On("basic", "--lines 2147483648"), "", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"BeyondTheDoubleRange", On("basic", "--lines 1" + std::string(400, '0')), "", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"ReportBeyondThirtyTwoBits", On("basic", "--lines-from -"),
     R"([{"Name": "C", "Code": 2147483647}, {"Name": "Go", "Code": 1}])", 1,
     "cocomo-estimate: Run-time error '6': Overflow\n" + Requirement},
    {"TwoReportsJoinedByANul", On("basic", "--lines-from -"),
     std::string(R"({"SUM": {"code": 5}})") + '\0' + R"({"SUM": {"code": 6}})", 2,
     Stdin + "a NUL byte at byte 21, which JSON text never holds" + Formats},
    {"Utf16WithoutMark", On("basic", "--lines-from -"), std::string("{\0\"\0", 4), 2,
     Stdin + "UTF-16 text (little-endian, as the NUL byte 2 shows); convert it to UTF-8, for " +
         "example with iconv -f UTF-16LE -t UTF-8" + Formats},
    {"Utf16BigEndianWithMark", On("basic", "--lines-from -"), std::string("\xfe\xff\0{", 4), 2,
     Stdin + "UTF-16 text (big-endian, as its byte order mark shows); convert it to UTF-8, for " +
         "example with iconv -f UTF-16BE -t UTF-8" + Formats},
    {"CountBeyondTheDoubleRange", On("basic", "--lines-from -"), R"([{"Code": 1e400}])", 2,
     Stdin + "the Code of language 1 is 1e400, beyond any size" + Formats},
    {"DiffRemovingOnly", On("basic", "--lines-from -"),
     R"({"SUM": {"added": {"code": 0}, "modified": {"code": 0}, "removed": {"code": 9}, )"
     R"("same": {"code": 1}}})",
     1,
     "cocomo-estimate: standard input counts no code added or modified: the trees compared "
     "differ in nothing but removed lines, or not at all\n"},
    {"DiffWithoutItsRemovedCode", On("basic", "--lines-from -"),
     R"({"SUM": {"added": {"code": 1}, "modified": {"code": 0}, "same": {"code": 1}}})", 2,
     Stdin + "SUM has no removed code" + Formats},
    {"UnknownLanguage", On("basic", "--lines-from @cloc.json --only-lang C,Rust"), "", 2,
     "cocomo-estimate: unknown language 'Rust' in --only-lang Rust; the reports' languages: C, "
     "Python\n"},
    {"LanguageOfAReportWithout", On("basic", "--lines-from - --exclude-lang C"),
     R"({"SUM": {"code": 5}})", 2,
     "cocomo-estimate: unknown language 'C' in --exclude-lang C; the reports name no languages\n"},
    {"EveryLanguageLeftOut", On("basic", "--lines-from @cloc.json --exclude-lang c,python"), "", 1,
     "cocomo-estimate: the languages kept count no code in the reports\n"},
    {"ProjectWithoutTheLanguageKept",
     On("basic", "--lines-from @cloc.json --lines-from - --multiproject --only-lang go"),
     R"([{"Name": "Go", "Code": 5}])", 1,
     "cocomo-estimate: '@cloc.json' counts no code in the languages kept\n"},
    {"LanguagesWithoutReports", On("basic", "--lines 5 --only-lang C"), "", 2,
     "cocomo-estimate: --only-lang requires --lines-from\n"},
    {"OnlyAndExcludedLanguages", On("basic", "--lines-from - --only-lang C --exclude-lang Go"), "",
     2, "cocomo-estimate: --only-lang excludes --exclude-lang\n"},
    {"MultiprojectOfLines", On("basic", "--lines 5 --multiproject"), "", 2,
     "cocomo-estimate: --multiproject requires --lines-from\n"},
    {"MultiprojectWithAValue", On("basic", "--lines-from - --multiproject=yes"), "", 2,
     "cocomo-estimate: --multiproject takes no value\n"},
    {"CoefficientsThree", "--lines 5 --coefficients 2.4,1.05,2.5", "", 2,
     "cocomo-estimate: --coefficients: At least 4 required but received 3; four positive numbers "
     "A,B,C,D, for example 2.4,1.05,2.5,0.38\n"},
    {"CoefficientsWithAMode", On("basic", "--lines 5 --coefficients 1,1,1,1"), "", 2,
     "cocomo-estimate: --mode excludes --coefficients\n"},
    // Histories that cannot be read, and the new options out of place or range.
    {"HistoryWithoutEffort", "--history -", "mode,kloc\norganic,3\n", 2,
     Stdin + "no effort column; it needs one named actual, act_effort or effort\n"},
    {"HistoryValueNotANumber", "--history -", "mode,kloc,actual\norganic,3,abc\n", 2,
     StdinLine + "2, column actual: 'abc' is not a number\n"},
    {"HistorySizeZero", "--history -", "mode,kloc,actual\norganic,0,4\n", 2,
     StdinLine + "2, column kloc: '0' is not above zero\n"},
    {"HistoryEffortNotFinite", "--history -", "mode,kloc,actual\norganic,3,inf\n", 2,
     StdinLine + "2, column actual: 'inf' is not finite\n"},
    {"HistoryRatingTheDriverLacks", "--history -", "mode,kloc,actual,ACAP\norganic,3,4,xh\n", 2,
     Stdin.substr(0, Stdin.size() - 2) +
         " line 2, column ACAP: rating 'xh' is not defined for ACAP; ACAP ratings: VL, L, N, H, "
         "VH\n"},
    {"HistoryEmpty", "--history -", "mode,kloc,actual\n", 2, Stdin + "no projects\n"},
    {"HistoryNeitherShape", "--history -", std::string("\0\1", 2), 2,
     Stdin.substr(0, Stdin.size() - 2) +
         " line 1: neither CSV with a header row nor ARFF: a NUL byte, which text never holds\n"},
    {"HistoryArffWithoutData", "--history -", "@relation x\n@attribute mode string\n", 2,
     Stdin + "neither CSV with a header row nor ARFF: ARFF whose rows no @data line begins\n"},
    {"CalibrateWithoutHistory", "--lines 5 --calibrate both", "", 2,
     "cocomo-estimate: --calibrate requires --history\n"},
    {"CalibrateAdvanced", "--model advanced --history @history.csv --calibrate both", "", 2,
     "cocomo-estimate: --calibrate applies to --model basic and intermediate only, not "
     "advanced\n"},
    {"DesignModifiedWithoutAdapted", "--lines 5 --dm 30", "", 2,
     "cocomo-estimate: --dm requires --adapted\n"},
    {"DesignModifiedBeyondAHundred", "--lines 5 --adapted 9 --dm 500 --cm 1 --im 1", "", 2,
     "cocomo-estimate: --dm: takes a percentage from 0 to 100, for example 30, not '500'\n"},
    {"UnderstandingBelowTen", "--model cocomo2 --lines 5 --adapted 9 --dm 5 --cm 1 --im 1 --su 5",
     "", 2, "cocomo-estimate: --su: takes a number from 10 to 50, for example 30, not '5'\n"},
    {"AssessmentFor1981", "--lines 5 --adapted 9 --dm 5 --cm 1 --im 1 --aa 2", "", 2,
     "cocomo-estimate: --aa applies to --model cocomo2 and cocomo2-early only, not basic\n"},
    {"AdaptedOfSeveralProjects",
     "--lines-from @cloc.json --multiproject --adapted 9 --dm 5 --cm 1 --im 1", "", 2,
     "cocomo-estimate: --multiproject excludes --adapted\n"},
    {"AdaptedWithoutSize", "--history @history.csv --adapted 9 --dm 5 --cm 1 --im 1", "", 2,
     "cocomo-estimate: --adapted applies to an estimate only, of --lines or --lines-from\n"},
    {"LocaleWithSlocCount", On("basic", "--lines 5 --locale --format sloccount"), "", 2,
     "cocomo-estimate: --locale applies to --format text and markdown only, not sloccount, whose "
     "numbers are written as SLOCCount writes them\n"},
};

class Refusal : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refusal, ExitStatusOneMessageAndNoOutput) {
    const RefusalRow &row = GetParam();
    const Outcome outcome = RunProgram(Words(row.command), row.input);
    EXPECT_EQ(outcome.status, row.status);
    std::string err = outcome.err;
    const std::size_t report = err.find(Reports() + "/");
    EXPECT_EQ(report == std::string::npos ? err : err.replace(report, Reports().size() + 1, "@"),
              row.message);
    EXPECT_EQ(outcome.out, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, Refusal, testing::ValuesIn(RefusalRows), NamedRow);

TEST(Refusal, OutputThatCannotBeWrittenIsAFailureOfItsOwnWithTheReason) {
    std::FILE *full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    std::ostringstream err;
    const std::vector<std::string_view> args(Basic32000.begin(), Basic32000.end());
    EXPECT_EQ(cli::Run(args, {stdin, full, err, Comma}), 3);
    EXPECT_EQ(err.str(), "cocomo-estimate: cannot write the output: No space left on device\n");
    std::fclose(full);
}

TEST(HelpAndVersion, GoToStandardOutputWithStatusZero) {
    for (const char *help : {"--help --bogus", "-h --bogus"}) {
        const Outcome outcome = RunProgram(Words(help));
        EXPECT_EQ(outcome.status, 0);
        EXPECT_TRUE(outcome.out.starts_with("Usage: cocomo-estimate [--model MODEL]"));
        EXPECT_EQ(outcome.err, "");
    }
    const Outcome version = RunProgram(Words("--version"));
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "cocomo-estimate " COCOMO_VERSION "\n");
}

// Blanks and line breaks as one blank and roff's \- as -, so that wrapped lists match.
std::string Flattened(const std::string &text) {
    std::string flat;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::isspace(static_cast<unsigned char>(text[i])) != 0) {
            flat += flat.ends_with(' ') ? "" : " ";
        } else if (text.compare(i, 2, "\\-") != 0) {
            flat += text[i];
        }
    }
    return flat;
}

std::string FileText(const std::string &path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(HelpAndVersion, TheManualTheReadmeNamesIsBuiltAndItAndTheHelpListTheParsersNames) {
    const std::string readme = FileText(COCOMO_SOURCE_DIR "/README.md");
    const std::size_t named = readme.find("man -l build/");
    ASSERT_NE(named, std::string::npos) << "the README names no manual page in the build";
    const std::size_t path = named + std::string_view("man -l build/").size();
    const std::string manual = Flattened(FileText(
        COCOMO_BINARY_DIR "/" + readme.substr(path, readme.find_first_of("` \n", path) - path)));
    EXPECT_NE(manual.find("cocomo-wizard " COCOMO_VERSION), std::string::npos);
    const std::string help = Flattened(RunProgram(Words("--help")).out);
    using engine::WordsOf, cli::Joined;
    for (const std::string &list :
         {Joined(WordsOf(engine::ModelNames)), Joined(WordsOf(engine::ModeNames)),
          Joined(engine::DriverNames), Joined(engine::StepNames), Joined(engine::StepLongNames),
          Joined(engine::PhaseNames), Joined(engine::ColumnNames), Joined(engine::ColumnKdsi),
          Joined(cli::FormatNames), std::string(WordsOf(engine::ModeNames, true)[1]),
          Joined(engine::cocomo2::RatingNames), Joined(engine::cocomo2::RatingLongNames)}) {
        EXPECT_NE(manual.find(list), std::string::npos) << list;
        EXPECT_NE(help.find(list), std::string::npos) << list;
    }
    // What the command line adds to the wizard's figures, in all three.
    const std::string readmeFlat = Flattened(readme);
    const std::array<std::string_view, 12> items{"person-years",
                                                 "sloccount",
                                                 "--coefficients",
                                                 "--only-lang",
                                                 "--exclude-lang",
                                                 "--multiproject",
                                                 "--diff",
                                                 engine::ModeMeanings[0],
                                                 engine::ModeMeanings[1],
                                                 engine::ModeMeanings[2],
                                                 "--scale",
                                                 "cocomo2-early"};
    for (const std::string_view item : items) {
        for (const std::string *text : {&manual, &help, &readmeFlat}) {
            EXPECT_NE(text->find(item), std::string::npos) << item;
        }
    }
    using Table = std::span<const engine::cocomo2::Factor>;
    for (const Table table :
         {Table(engine::cocomo2::ScaleFactors), Table(engine::cocomo2::PostArchitecture),
          Table(engine::cocomo2::EarlyDesign)}) {
        for (const engine::cocomo2::Factor &factor : table) {
            const std::string entry = std::string(factor.name) + " " + std::string(factor.meaning);
            EXPECT_NE(manual.find(entry), std::string::npos) << entry;
            EXPECT_NE(help.find(entry), std::string::npos) << entry;
        }
    }
}

} // namespace
