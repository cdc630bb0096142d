// The built cocomo-estimate against the wizard's own screens: the same inputs clicked and
// typed on the screens and given on the command line give the same doubles, bit for bit,
// and the same figures as the results screen shows them.
#include "tests/screens/ScreenTest.h"

#include "cli/Arguments.h"
#include "runtime/numeric/Numeric.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>

#include <nlohmann/json.hpp>

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using forms::Get;

namespace {

struct Program {
    int status = -1;
    std::string out;
    std::string err;
};

Program
RunProgram(const QStringList &args, const QByteArray &input = {},
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const QString &outputFile = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty()) {
        process.setStandardOutputFile(outputFile);
    }
    process.start(QStringLiteral(COCOMO_ESTIMATE), args);
    if (!process.waitForStarted()) {
        ADD_FAILURE() << "cocomo-estimate did not start";
        return {};
    }
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// The value after "Label:" in the program's text output.
std::string TextValue(const std::string &text, const std::string &label) {
    const std::size_t line = text.find(label + ":");
    if (line == std::string::npos) {
        return "(no " + label + ")";
    }
    const std::size_t value = text.find_first_not_of(' ', line + label.size() + 1);
    return text.substr(value, text.find('\n', value) - value);
}

QString ResultShown(const char *label) {
    auto *widget = Get<frmBasicResults>().Control<QLabel>(label);
    return widget == nullptr ? QStringLiteral("(results not open)") : widget->text();
}

const char *const PhaseArrays[] = {"optRQ", "optPD", "optDD", "optCT", "optIT", "optMN"};

// One estimate: for the Intermediate model the (driver, step) pairs rated, for the Advanced
// model the (phase, column) pairs chosen, in the order clicked.
struct Case {
    std::string name;
    std::int16_t model;
    std::int16_t mode;
    const char *size; // typed after the box's own space: five characters at most
    std::vector<std::pair<std::size_t, std::size_t>> choices;
};

void PrintTo(const Case &row, std::ostream *os) {
    *os << row.name;
}

std::vector<std::size_t> OfferedSteps(std::size_t driver) {
    std::vector<std::size_t> steps;
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        if (engine::RatingOffered[driver][k]) {
            steps.push_back(k);
        }
    }
    return steps;
}

// Every model and mode, with ratings and columns from none to every row in turns of the
// offered steps and of the columns.
std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (std::int16_t mode = 1; mode <= 3; ++mode) {
        const std::string modeName(engine::ModeNames[static_cast<std::size_t>(mode - 1)].word);
        cases.push_back({"Basic_" + modeName + "_32000", 1, mode, "32000", {}});
        cases.push_back({"Basic_" + modeName + "_1E9", 1, mode, "1E9", {}});
        cases.push_back({"Intermediate_" + modeName + "_Unrated", 2, mode, "32000", {}});
        cases.push_back(
            {"Intermediate_" + modeName + "_ThreeLow", 2, mode, "32000", {{0, 0}, {1, 1}, {2, 1}}});
        cases.push_back({"Intermediate_" + modeName + "_ExtraHighRatedTwice",
                         2,
                         mode,
                         "999.5",
                         {{2, 3}, {2, 5}, {9, 5}, {10, 5}}});
        for (std::size_t turn = 0; turn < 3; ++turn) {
            Case every{"Intermediate_" + modeName + "_EveryDriverTurn" + std::to_string(turn),
                       2,
                       mode,
                       turn == 0 ? "12345" : "999",
                       {}};
            for (std::size_t driver = 0; driver < engine::CostDriverCount; ++driver) {
                const std::vector<std::size_t> steps = OfferedSteps(driver);
                every.choices.emplace_back(driver, steps[(driver + turn) % steps.size()]);
            }
            cases.push_back(every);
        }
        cases.push_back({"Advanced_" + modeName + "_Untouched", 3, mode, "32000", {}});
        cases.push_back({"Advanced_" + modeName + "_RequirementsOnly", 3, mode, "8000", {{0, 2}}});
        for (std::size_t column = 0; column < engine::SizeColumnCount; ++column) {
            Case same{"Advanced_" + modeName + "_AllColumn" + std::to_string(column),
                      3,
                      mode,
                      "64000",
                      {}};
            Case mixed{
                "Advanced_" + modeName + "_MixedTurn" + std::to_string(column), 3, mode, "2E5", {}};
            for (std::size_t phase = 0; phase < engine::PhaseCount; ++phase) {
                same.choices.emplace_back(phase, column);
                mixed.choices.emplace_back(phase, (phase + column) % engine::SizeColumnCount);
            }
            cases.push_back(same);
            cases.push_back(mixed);
        }
    }
    return cases;
}

class WizardAgreement : public ScreenTest, public testing::WithParamInterface<Case> {
protected:
    // Clicks and types the case through the screens to the results; returns the command
    // line for the same estimate.
    static QStringList Walk(const Case &row) {
        Start();
        Click(Get<frmMain>(), ModelButton[row.model]);
        Click(Get<frmMode>(), ModeButton[row.mode]);
        QStringList args{
            "--model",
            QString::fromUtf8(engine::ModelNames[static_cast<std::size_t>(row.model - 1)].word),
            "--mode",
            QString::fromUtf8(engine::ModeNames[static_cast<std::size_t>(row.mode - 1)].word)};
        if (row.model == 2) {
            for (const auto &[driver, step] : row.choices) {
                const QString name = QString::fromUtf8(engine::DriverNames[driver]);
                Click(Get<frmEAF>(), (driver == 0 ? "Opt" : "opt") + name,
                      static_cast<std::int16_t>(step));
                args << "--rating" << name + "=" + QString::fromUtf8(engine::StepLongNames[step]);
            }
            Click(Get<frmEAF>(), "cmdContinue");
        } else if (row.model == 3) {
            forms::Form &screen = FormNamed(PhaseScreen[row.mode]);
            for (const auto &[phase, column] : row.choices) {
                Click(screen, PhaseArrays[phase], static_cast<std::int16_t>(column));
                args << "--phase"
                     << QString::fromUtf8(engine::PhaseNames[phase]) + "=" +
                            QString::fromUtf8(engine::ColumnNames[column]);
            }
            Click(screen, "cmdContinue");
        }
        Type(Get<frmKLOC>(), "txtKLOC", QString::fromUtf8(row.size));
        // The whole number the box's text means; the command line takes digits only.
        args << "--lines" << QString::number(rt::ToInt32(rt::Val(row.size)));
        Click(Get<frmKLOC>(), "cmdCalculate");
        return args;
    }
};

TEST_P(WizardAgreement, SameDoublesAndSameFiguresShown) {
    const Case &row = GetParam();
    const QStringList args = Walk(row);
    ASSERT_TRUE(Get<frmBasicResults>().IsLoaded()) << "the wizard showed no results";

    const Program json = RunProgram(args + QStringList{"--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json figures = nlohmann::json::parse(json.out);
    if (row.model == 1) {
        EXPECT_TRUE(figures["eaf"].is_null());
    } else {
        EXPECT_EQ(Bits(figures["eaf"].get<double>()), Bits(Module1::EAF)) << figures["eaf"];
    }
    EXPECT_EQ(Bits(figures["effort_staff_months"].get<double>()), Bits(Module1::Effort));
    EXPECT_EQ(Bits(figures["tdev_months"].get<double>()), Bits(Module1::TDEV));
    EXPECT_EQ(Bits(figures["average_staffing"].get<double>()), Bits(Module1::AvgStaffing));

    const Program text = RunProgram(args);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(TextValue(text.out, "Effort"), ResultShown("lblEffort").toStdString());
    EXPECT_EQ(TextValue(text.out, "TDEV"), ResultShown("lblTDEV").toStdString());
    EXPECT_EQ(TextValue(text.out, "Average staffing"), ResultShown("lblAvg").toStdString());
}

INSTANTIATE_TEST_SUITE_P(EveryModelAndMode, WizardAgreement, testing::ValuesIn(Cases()),
                         [](const auto &row) { return row.param.name; });

using WizardLocale = ScreenTest;

// A user whose locale writes decimals with a comma sees the same figures in both.
TEST_F(WizardLocale, SeparatorAsTheResultsScreenShowsIt) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Start();
    Click(Get<frmMain>(), "cmdBasic");
    Click(Get<frmMode>(), "cmdEmbedded");
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Click(Get<frmKLOC>(), "cmdCalculate");
    ASSERT_EQ(ResultShown("lblEffort"), "230,40");

    QProcessEnvironment german = QProcessEnvironment::systemEnvironment();
    ASSERT_TRUE(QFile::exists(COCOMO_TEST_LOCPATH "/de_DE.UTF-8/LC_NUMERIC"))
        << "no German locale in " COCOMO_TEST_LOCPATH "; ctest -R cli_german_locale builds it";
    german.insert("LOCPATH", COCOMO_TEST_LOCPATH);
    german.insert("LC_ALL", "de_DE.UTF-8");
    const Program text = RunProgram(
        {"--model", "basic", "--mode", "embedded", "--lines", "32000", "--locale"}, {}, german);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(TextValue(text.out, "Effort"), ResultShown("lblEffort").toStdString());
    EXPECT_EQ(TextValue(text.out, "TDEV"), ResultShown("lblTDEV").toStdString());
    EXPECT_EQ(TextValue(text.out, "Average staffing"), ResultShown("lblAvg").toStdString());
    // Without --locale the numbers stay in the C locale.
    EXPECT_EQ(TextValue(RunProgram({"--model", "basic", "--mode", "embedded", "--lines", "32000"},
                                   {}, german)
                            .out,
                        "Effort"),
              "230.40");
}

// --- The built program's exit statuses and streams ---------------------------------------

TEST(BuiltProgram, UsageErrorAndRefusedSize) {
    const Program usage =
        RunProgram({"--model", "basic", "--mode", "organic", "--lines", "1", "--rating", "ACAP=H"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_EQ(usage.err, "cocomo-estimate: --rating applies to --model intermediate, "
                         "cocomo2 and cocomo2-early "
                         "only, not basic\n");

    const Program refused =
        RunProgram({"--model", "basic", "--mode", "organic", "--lines", "3000000000"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "cocomo-estimate: Run-time error '6': Overflow\nThe size must be a "
                           "whole number of lines from 1 to 2147483647, for example 32000.\n");
}

TEST(BuiltProgram, ReadsAReportFromStandardInput) {
    const Program program = RunProgram(
        {"--model", "basic", "--mode", "organic", "--lines-from", "-", "--format", "csv"},
        R"([{"Name": "C++", "Code": 30000}, {"Name": "Python", "Code": 2000}])");
    EXPECT_EQ(program.status, 0) << program.err;
    EXPECT_NE(program.out.find("\nbasic,organic,32000,,91.33110643220898,"), std::string::npos)
        << program.out;
}

TEST(BuiltProgram, AFullDiskIsAFailure) {
    const Program program =
        RunProgram({"--model", "basic", "--mode", "organic", "--lines", "32000"}, {},
                   QProcessEnvironment::systemEnvironment(), "/dev/full");
    EXPECT_EQ(program.status, 3);
    EXPECT_EQ(program.err, "cocomo-estimate: cannot write the output: No space left on device\n");
}

} // namespace
