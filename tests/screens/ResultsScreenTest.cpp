#include "tests/screens/WizardTest.h"

#include "runtime/forms/Layout.h"
#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPointer>

using forms::FooterNotice;
using forms::Get;
using Names = std::vector<std::string>;

namespace {

const char *const Sans = "MS Sans Serif";
constexpr auto Left = Qt::AlignLeft;
constexpr auto Right = Qt::AlignRight;
const std::nullopt_t SetAtLoad = std::nullopt;

// Directly on the form, then inside Frame1 with positions relative to the frame, row by row.
const ControlRow Results[] = {
    {"Label1",
     "QLabel",
     {1200, 240, 5055, 495},
     "COCOMO Model",
     Sans,
     24,
     true,
     Qt::AlignHCenter,
     true},
    {"Frame1", "QGroupBox", {840, 1200, 5655, 2655}, SetAtLoad, Sans, 9.75, true},
    {"Label15",
     "QLabel",
     {1080, 4680, 5175, 255},
     FooterNotice,
     Sans,
     8.25,
     false,
     Qt::AlignHCenter,
     true},
    {"cmdMainMenu", "QPushButton", {2040, 4080, 1455, 375}, "Main Menu", Sans, 8.25, true},
    {"cmdExit", "QPushButton", {3840, 4080, 1455, 375}, "Exit", Sans, 8.25, true},
    {"Label2",
     "QLabel",
     {240, 480, 1455, 255},
     "Model :",
     Sans,
     8.25,
     true,
     Right,
     false,
     true,
     false,
     "Frame1"},
    {"Label7",
     "QLabel",
     {1800, 480, 1815, 255},
     SetAtLoad,
     Sans,
     9.75,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label3",
     "QLabel",
     {240, 840, 1455, 255},
     "Mode :",
     Sans,
     8.25,
     true,
     Right,
     false,
     true,
     false,
     "Frame1"},
    {"Label8",
     "QLabel",
     {1800, 840, 1935, 255},
     SetAtLoad,
     Sans,
     9.75,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label4",
     "QLabel",
     {360, 1200, 1335, 255},
     "Effort :",
     Sans,
     8.25,
     true,
     Right,
     false,
     true,
     false,
     "Frame1"},
    {"lblEffort",
     "QLabel",
     {1800, 1200, 1455, 255},
     SetAtLoad,
     Sans,
     8.25,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label12",
     "QLabel",
     {3480, 1200, 1455, 255},
     "Staff-Months",
     Sans,
     9.75,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label5",
     "QLabel",
     {120, 1560, 1575, 255},
     "TDEV :",
     Sans,
     8.25,
     true,
     Right,
     false,
     true,
     false,
     "Frame1"},
    {"lblTDEV",
     "QLabel",
     {1800, 1560, 1455, 255},
     SetAtLoad,
     Sans,
     8.25,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label13",
     "QLabel",
     {3480, 1560, 1215, 255},
     "Months",
     Sans,
     9.75,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label6",
     "QLabel",
     {120, 1920, 1575, 375},
     "Average Staffing :",
     Sans,
     8.25,
     true,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"lblAvg",
     "QLabel",
     {1800, 1920, 1455, 255},
     SetAtLoad,
     Sans,
     8.25,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
    {"Label14",
     "QLabel",
     {3480, 1920, 1095, 255},
     "People",
     Sans,
     9.75,
     false,
     Left,
     false,
     true,
     false,
     "Frame1"},
};

class ResultsScreen : public WizardTest {
protected:
    static QString FrameCaption() {
        auto *frame = Get<frmBasicResults>().Control<QGroupBox>("Frame1");
        return frame == nullptr ? QStringLiteral("(results not open)") : frame->title();
    }
};

TEST_F(ResultsScreen, ControlsMatchTheLayout) {
    Estimate(1, 3, "32000");
    ExpectWindow(Get<frmBasicResults>(), "Basic Effort Results");
    for (const ControlRow &row : Results) {
        ExpectControl(Get<frmBasicResults>(), row);
    }
    EXPECT_EQ(Loaded<frmBasicResults>().Window()->findChildren<QWidget *>().size(),
              std::size(Results));
}

TEST_F(ResultsScreen, OnlyTheTwoButtonsTakeTheFocus) {
    Estimate(1, 1, "32000");
    EXPECT_EQ(TabStops(Get<frmBasicResults>(), "cmdMainMenu"), (Names{"cmdMainMenu", "cmdExit"}));
}

TEST_F(ResultsScreen, BasicEmbeddedThirtyTwoThousandLines) {
    Estimate(1, 3, "32000");
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Basic Effort Results");
    EXPECT_EQ(FrameCaption(), "Results for the Basic Model");
    EXPECT_EQ(Shown("Label7"), "Basic");
    EXPECT_EQ(Shown("Label8"), "Embedded");
    EXPECT_EQ(Shown("lblEffort"), "230.40");
    EXPECT_EQ(Shown("lblTDEV"), "14.25");
    EXPECT_EQ(Shown("lblAvg"), "16.16");
}

struct CaptionRow {
    int model;
    int mode;
    const char *form;
    const char *frame;
    const char *modelName;
    const char *modeName;
    const char *effort; // 32000 lines; EAF 1.0 from an untouched cost-driver screen, 6.0 from an
                        // untouched phase screen
};

void PrintTo(const CaptionRow &row, std::ostream *os) {
    *os << "Model " << row.model << " Mode " << row.mode;
}

const CaptionRow Captions[] = {
    {1, 1, "Basic Effort Results", "Results for the Basic Model", "Basic", "Organic", "91.33"},
    {1, 2, "Basic Effort Results", "Results for the Basic Model", "Basic", "Semi-detached",
     "145.51"},
    {1, 3, "Basic Effort Results", "Results for the Basic Model", "Basic", "Embedded", "230.40"},
    {2, 1, "Intermediate Effort Results", "Results for the Intermediate Model", "Intermediate",
     "Organic", "121.77"},
    {2, 2, "Intermediate Effort Results", "Results for the Intermediate Model", "Intermediate",
     "Semi-detached", "145.51"},
    {2, 3, "Intermediate Effort Results", "Results for the Intermediate Model", "Intermediate",
     "Embedded", "179.20"},
    {3, 1, "Advanced Effort Results", "Results for the Advanced Model", "Advanced", "Organic",
     "730.65"},
    {3, 2, "Advanced Effort Results", "Results for the Advanced Model", "Advanced", "Semi-detached",
     "873.05"},
    {3, 3, "Advanced Effort Results", "Results for the Advanced Model", "Advanced", "Embedded",
     "1075.20"},
};

class ResultsCaptions : public ResultsScreen, public testing::WithParamInterface<CaptionRow> {};

TEST_P(ResultsCaptions, NameTheModelAndMode) {
    const CaptionRow &row = GetParam();
    Estimate(row.model, row.mode, "32000");
    ASSERT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), row.form);
    EXPECT_EQ(FrameCaption(), row.frame);
    EXPECT_EQ(Shown("Label7"), row.modelName);
    EXPECT_EQ(Shown("Label8"), row.modeName);
    EXPECT_EQ(Shown("lblEffort"), row.effort);
}

INSTANTIATE_TEST_SUITE_P(ModelAndMode, ResultsCaptions, testing::ValuesIn(Captions),
                         [](const auto &row) {
                             return "Model" + std::to_string(row.param.model) + "Mode" +
                                    std::to_string(row.param.mode);
                         });

struct FigureRow {
    const char *name;
    const char *locale; // QLocale name
    const char *typed;  // Basic model, Organic mode
    const char *effort;
    const char *tdev;
    const char *avg;
};

void PrintTo(const FigureRow &row, std::ostream *os) {
    *os << row.name;
}

const FigureRow Figures[] = {
    {"Hundredths", "C", "32000", "91.33", "13.90", "6.57"},
    {"BelowHalfAHundredth", "C", "1", "0.00", "0.22", "0.01"},
    {"MillionsWithoutGrouping", "C", "2.1E9", "10436178.56", "1161.41", "8985.78"},
    {"GermanComma", "de_DE", "32000", "91,33", "13,90", "6,57"},
    {"GermanSizeStillTypedWithAPeriod", "de_DE", "3.2E4", "91,33", "13,90", "6,57"},
    {"GermanMillionsWithoutGrouping", "de_DE", "2.1E9", "10436178,56", "1161,41", "8985,78"},
};

class ResultsFigures : public ResultsScreen, public testing::WithParamInterface<FigureRow> {};

TEST_P(ResultsFigures, ShowHundredthsInTheLocale) {
    const FigureRow &row = GetParam();
    QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
    Estimate(1, 1, row.typed);
    EXPECT_EQ(Shown("lblEffort"), row.effort);
    EXPECT_EQ(Shown("lblTDEV"), row.tdev);
    EXPECT_EQ(Shown("lblAvg"), row.avg);
}

INSTANTIATE_TEST_SUITE_P(Pattern, ResultsFigures, testing::ValuesIn(Figures),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(ResultsScreen, GermanLocaleShowsTheBasicEmbeddedFiguresWithCommas) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Estimate(1, 3, "32000");
    EXPECT_EQ(Shown("lblEffort"), "230,40");
    EXPECT_EQ(Shown("lblTDEV"), "14,25");
    EXPECT_EQ(Shown("lblAvg"), "16,16");
}

// Showing the open results screen again would otherwise leave the figures and captions of
// the earlier estimate on screen under the new model's variables.
TEST_F(ResultsScreen, CalculateWhileOpenBringsItForwardWithFreshFigures) {
    Estimate(1, 3, "32000");
    QPointer<QWidget> window = Loaded<frmBasicResults>().Window();
    Do({"frmKLOC", "cmdClear"});
    Do({"frmKLOC", "txtKLOC", "1000"});
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(Get<frmBasicResults>().Window(), window.data());
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Shown("lblEffort"), "3.60");
    EXPECT_EQ(Shown("lblTDEV"), "3.77");
    EXPECT_EQ(Shown("lblAvg"), "0.96");
}

TEST_F(ResultsScreen, CalculateWhileOpenAfterAnotherModelRefreshesTheCaptions) {
    Estimate(1, 3, "32000");
    QPointer<QWidget> window = Loaded<frmBasicResults>().Window();
    // The mode screen underneath is still usable: start an Intermediate pass from it.
    Do({"frmMode", "cmdBack"});
    Do({"frmMain", "cmdIntermediate"});
    Do({"frmMode", "cmdSemidetached"});
    Do({"frmEAF", "cmdContinue"});
    ASSERT_EQ(FrontName(), "frmKLOC");
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(Get<frmBasicResults>().Window(), window.data());
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Intermediate Effort Results");
    EXPECT_EQ(FrameCaption(), "Results for the Intermediate Model");
    EXPECT_EQ(Shown("Label7"), "Intermediate");
    EXPECT_EQ(Shown("Label8"), "Semi-detached");
    EXPECT_EQ(Shown("lblEffort"), "145.51");
}

TEST_F(ResultsScreen, FailedCalculateWhileOpenLeavesTheEarlierFigures) {
    Estimate(1, 3, "32000");
    Do({"frmKLOC", "cmdClear"});
    Do({"frmKLOC", "txtKLOC", "3E9"});
    Do({"frmKLOC", "cmdCalculate"});
    ASSERT_NE(ErrorBox(), nullptr);
    DismissError();
    EXPECT_EQ(Shown("lblEffort"), "230.40");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Basic Effort Results");
}

TEST_F(ResultsScreen, NewPassAfterMainMenuLoadsTheNewModelsCaptions) {
    Estimate(1, 3, "32000");
    QPointer<QWidget> first = Loaded<frmBasicResults>().Window();
    Do({"frmBasicResults", "cmdMainMenu"});
    EXPECT_TRUE(first.isNull());
    Do({"frmMain", "cmdAdvanced"});
    Do({"frmMode", "cmdOrganic"});
    Do({"frmPhaseOrg", "cmdContinue"});
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Advanced Effort Results");
    EXPECT_EQ(Shown("Label8"), "Organic");
    EXPECT_EQ(Shown("lblEffort"), "730.65");
}

TEST_F(ResultsScreen, ChangesNoVariable) {
    Estimate(2, 1, "32000");
    const double effort = Module1::Effort;
    const double tdev = Module1::TDEV;
    const double avg = Module1::AvgStaffing;
    const double eaf = Module1::EAF;
    Do({"frmBasicResults", "cmdMainMenu"});
    EXPECT_EQ(Module1::Model, 2);
    EXPECT_EQ(Module1::Mode, 1);
    EXPECT_EQ(Module1::Effort, effort);
    EXPECT_EQ(Module1::TDEV, tdev);
    EXPECT_EQ(Module1::AvgStaffing, avg);
    EXPECT_EQ(Module1::EAF, eaf);
}

} // namespace
