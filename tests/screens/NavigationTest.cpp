#include "tests/screens/WizardTest.h"

#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>

using forms::Get;
using Names = std::vector<std::string>;

namespace {

struct Variables {
    std::int16_t model = Module1::Model;
    std::int16_t mode = Module1::Mode;
    double eaf = Module1::EAF;
    double effort = Module1::Effort;
    double tdev = Module1::TDEV;
    double avg = Module1::AvgStaffing;
};

const auto NamedRow = [](const auto &row) {
    return std::string(row.param.name);
};

const auto ModelModeName = [](const auto &row) {
    static const char *const models[] = {"", "Basic", "Intermediate", "Advanced"};
    return models[row.param.model] + std::string("Mode") + std::to_string(row.param.mode);
};

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// --- Every button that moves between screens -------------------------------------------

struct ButtonRow {
    const char *name;
    std::vector<Step> before; // from the start
    Step press;
    // What the press writes: -1 or NaN where it writes nothing.
    int model;
    int mode;
    double eaf;
    bool results;
    const char *unloads; // nullptr: none
    const char *shows;   // nullptr: End
    const char *leftOpen;
    Names open; // afterwards, back to front; End leaves no window on screen
};

void PrintTo(const ButtonRow &row, std::ostream *os) {
    *os << row.name;
}

constexpr double None = std::numeric_limits<double>::quiet_NaN();

const Step Basic{"frmMain", "cmdBasic"};
const Step Intermediate{"frmMain", "cmdIntermediate"};
const Step Advanced{"frmMain", "cmdAdvanced"};
const Step Organic{"frmMode", "cmdOrganic"};
const Step Size{"frmKLOC", "txtKLOC", "32000"};
const Step Calculate{"frmKLOC", "cmdCalculate"};

const ButtonRow ButtonRows[] = {
    {"MainBasic", {}, Basic, 1, -1, None, false, "frmMain", "frmMode", nullptr, {"frmMode"}},
    {"MainIntermediate",
     {},
     Intermediate,
     2,
     -1,
     None,
     false,
     "frmMain",
     "frmMode",
     nullptr,
     {"frmMode"}},
    {"MainAdvanced", {}, Advanced, 3, -1, None, false, "frmMain", "frmMode", nullptr, {"frmMode"}},
    {"MainExit", {}, {"frmMain", "cmdExit"}, -1, -1, None, false, "frmMain", nullptr, nullptr, {}},
    {"ModeOrganic",
     {Basic},
     Organic,
     -1,
     1,
     None,
     false,
     nullptr,
     "frmKLOC",
     "frmMode",
     {"frmMode", "frmKLOC"}},
    {"ModeSemidetached",
     {Basic},
     {"frmMode", "cmdSemidetached"},
     -1,
     2,
     None,
     false,
     nullptr,
     "frmKLOC",
     "frmMode",
     {"frmMode", "frmKLOC"}},
    {"ModeEmbedded",
     {Basic},
     {"frmMode", "cmdEmbedded"},
     -1,
     3,
     None,
     false,
     nullptr,
     "frmKLOC",
     "frmMode",
     {"frmMode", "frmKLOC"}},
    {"ModeBack",
     {Basic},
     {"frmMode", "cmdBack"},
     -1,
     -1,
     None,
     false,
     nullptr,
     "frmMain",
     "frmMode",
     {"frmMode", "frmMain"}},
    {"EafBack",
     {Intermediate, Organic},
     {"frmEAF", "cmdBack"},
     -1,
     -1,
     None,
     false,
     "frmEAF",
     "frmMode",
     nullptr,
     {"frmMode"}},
    {"EafContinue",
     {Intermediate, Organic},
     {"frmEAF", "cmdContinue"},
     -1,
     -1,
     1.0,
     false,
     nullptr,
     "frmKLOC",
     "frmEAF",
     {"frmMode", "frmEAF", "frmKLOC"}},
    {"PhaseOrgBack",
     {Advanced, Organic},
     {"frmPhaseOrg", "cmdBack"},
     -1,
     -1,
     None,
     false,
     "frmPhaseOrg",
     "frmMode",
     nullptr,
     {"frmMode"}},
    {"PhaseSemiBack",
     {Advanced, {"frmMode", "cmdSemidetached"}},
     {"frmPhaseSemi", "cmdBack"},
     -1,
     -1,
     None,
     false,
     "frmPhaseSemi",
     "frmMode",
     nullptr,
     {"frmMode"}},
    {"PhaseEmbBack",
     {Advanced, {"frmMode", "cmdEmbedded"}},
     {"frmPhaseEmb", "cmdBack"},
     -1,
     -1,
     None,
     false,
     "frmPhaseEmb",
     "frmMode",
     nullptr,
     {"frmMode"}},
    {"PhaseOrgContinue",
     {Advanced, Organic},
     {"frmPhaseOrg", "cmdContinue"},
     -1,
     -1,
     6.0,
     false,
     "frmPhaseOrg",
     "frmKLOC",
     nullptr,
     {"frmMode", "frmKLOC"}},
    {"PhaseSemiContinue",
     {Advanced, {"frmMode", "cmdSemidetached"}},
     {"frmPhaseSemi", "cmdContinue"},
     -1,
     -1,
     6.0,
     false,
     "frmPhaseSemi",
     "frmKLOC",
     nullptr,
     {"frmMode", "frmKLOC"}},
    {"PhaseEmbContinue",
     {Advanced, {"frmMode", "cmdEmbedded"}},
     {"frmPhaseEmb", "cmdContinue"},
     -1,
     -1,
     6.0,
     false,
     "frmPhaseEmb",
     "frmKLOC",
     nullptr,
     {"frmMode", "frmKLOC"}},
    {"KlocBack",
     {Basic, Organic},
     {"frmKLOC", "cmdBack"},
     -1,
     -1,
     None,
     false,
     nullptr,
     "frmMode",
     "frmKLOC",
     {"frmKLOC", "frmMode"}},
    {"KlocCalculate",
     {Basic, Organic, Size},
     Calculate,
     -1,
     -1,
     None,
     true,
     nullptr,
     "frmBasicResults",
     "frmKLOC",
     {"frmMode", "frmKLOC", "frmBasicResults"}},
    {"ResultsMainMenu",
     {Basic, Organic, Size, Calculate},
     {"frmBasicResults", "cmdMainMenu"},
     -1,
     -1,
     None,
     false,
     "frmBasicResults",
     "frmMain",
     nullptr,
     {"frmMode", "frmKLOC", "frmMain"}},
    {"ResultsExit",
     {Basic, Organic, Size, Calculate},
     {"frmBasicResults", "cmdExit"},
     -1,
     -1,
     None,
     false,
     "frmBasicResults",
     nullptr,
     nullptr,
     {}},
};

class NavigationButton : public WizardTest, public testing::WithParamInterface<ButtonRow> {};

TEST_P(NavigationButton, WritesUnloadsShowsAndLeavesOpen) {
    const ButtonRow &row = GetParam();
    Start();
    DoAll(row.before);
    const Variables before;
    Do(row.press);

    EXPECT_EQ(Module1::Model, row.model >= 0 ? row.model : before.model);
    EXPECT_EQ(Module1::Mode, row.mode >= 0 ? row.mode : before.mode);
    EXPECT_TRUE(SameBits(Module1::EAF, std::isnan(row.eaf) ? before.eaf : row.eaf)) << Module1::EAF;
    if (row.results) {
        EXPECT_NE(Module1::Effort, before.effort);
        EXPECT_NE(Module1::TDEV, before.tdev);
        EXPECT_NE(Module1::AvgStaffing, before.avg);
    } else {
        EXPECT_TRUE(SameBits(Module1::Effort, before.effort));
        EXPECT_TRUE(SameBits(Module1::TDEV, before.tdev));
        EXPECT_TRUE(SameBits(Module1::AvgStaffing, before.avg));
    }
    if (row.unloads != nullptr) {
        EXPECT_FALSE(FormNamed(row.unloads).IsLoaded());
    }
    if (row.shows != nullptr) {
        EXPECT_FALSE(forms::Ended());
        EXPECT_EQ(FrontName(), row.shows);
        EXPECT_TRUE(Loaded(row.shows).Window()->isVisible());
    } else {
        EXPECT_TRUE(forms::Ended());
        EXPECT_FALSE(AnyWindowVisible());
    }
    if (row.leftOpen != nullptr) {
        EXPECT_TRUE(Loaded(row.leftOpen).Window()->isVisible());
    }
    if (row.shows != nullptr) {
        EXPECT_EQ(OpenNames(), row.open);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryButton, NavigationButton, testing::ValuesIn(ButtonRows), NamedRow);

// --- The mode buttons route by Model -------------------------------------------------

struct ModeRouteRow {
    int model;
    int mode;
    const char *next;
    friend void PrintTo(const ModeRouteRow &row, std::ostream *os) {
        *os << "model " << row.model << ", mode " << row.mode;
    }
};

const ModeRouteRow ModeRoutes[] = {
    {1, 1, "frmKLOC"},     {1, 2, "frmKLOC"},      {1, 3, "frmKLOC"},
    {2, 1, "frmEAF"},      {2, 2, "frmEAF"},       {2, 3, "frmEAF"},
    {3, 1, "frmPhaseOrg"}, {3, 2, "frmPhaseSemi"}, {3, 3, "frmPhaseEmb"},
};

class ModeRoute : public WizardTest, public testing::WithParamInterface<ModeRouteRow> {};

TEST_P(ModeRoute, ModeButtonShowsTheScreenOfTheModel) {
    const ModeRouteRow &row = GetParam();
    Start();
    Do({"frmMain", ModelButton[row.model]});
    Do({"frmMode", ModeButton[row.mode]});
    EXPECT_EQ(Module1::Model, row.model);
    EXPECT_EQ(Module1::Mode, row.mode);
    EXPECT_EQ(OpenNames(), (Names{"frmMode", row.next}));
}

INSTANTIATE_TEST_SUITE_P(ModelByMode, ModeRoute, testing::ValuesIn(ModeRoutes), ModelModeName);

// --- Back on the lines-of-code screen routes by Model and Mode ---------------------------

struct KlocBackRow {
    const char *name;
    std::int16_t model;
    std::int16_t mode;
    const char *shows; // nullptr: nothing
};

void PrintTo(const KlocBackRow &row, std::ostream *os) {
    *os << row.name;
}

const KlocBackRow KlocBackRows[] = {
    {"BasicOrganic", 1, 1, "frmMode"},
    {"BasicEmbedded", 1, 3, "frmMode"},
    {"BasicNoMode", 1, 0, "frmMode"},
    {"IntermediateOrganic", 2, 1, "frmEAF"},
    {"IntermediateSemidetached", 2, 2, "frmEAF"},
    {"IntermediateStrayMode", 2, 9, "frmEAF"},
    {"AdvancedOrganic", 3, 1, "frmPhaseOrg"},
    {"AdvancedSemidetached", 3, 2, "frmPhaseSemi"},
    {"AdvancedEmbedded", 3, 3, "frmPhaseEmb"},
    {"AdvancedNoMode", 3, 0, nullptr},
    {"AdvancedModeFour", 3, 4, nullptr},
    {"AdvancedNegativeMode", 3, -1, nullptr},
    {"NoModel", 0, 1, nullptr},
    {"ModelFour", 4, 2, nullptr},
    {"NegativeModel", -3, 3, nullptr},
};

class KlocBack : public WizardTest, public testing::WithParamInterface<KlocBackRow> {};

TEST_P(KlocBack, ShowsThePrecedingScreen) {
    const KlocBackRow &row = GetParam();
    Start();
    DoAll({Basic, Organic});
    Module1::Model = row.model;
    Module1::Mode = row.mode;
    Do({"frmKLOC", "cmdBack"});

    EXPECT_FALSE(ErrorBox());
    EXPECT_TRUE(Get<frmKLOC>().IsLoaded());
    if (row.shows == nullptr) {
        EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC"}));
    } else if (std::string(row.shows) == "frmMode") {
        EXPECT_EQ(OpenNames(), (Names{"frmKLOC", "frmMode"}));
    } else {
        EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC", row.shows}));
    }
    EXPECT_EQ(Module1::Model, row.model);
    EXPECT_EQ(Module1::Mode, row.mode);
}

INSTANTIATE_TEST_SUITE_P(ModelAndMode, KlocBack, testing::ValuesIn(KlocBackRows), NamedRow);

// --- Back on a phase screen shows frmMode only for the Advanced model ---------------------

struct PhaseBackRow {
    const char *name;
    int mode;        // which phase screen
    int laterModel;  // chosen on the main menu while the phase screen stays open; 0: none
    Names afterBack; // back to front
};

void PrintTo(const PhaseBackRow &row, std::ostream *os) {
    *os << row.name;
}

const PhaseBackRow PhaseBackRows[] = {
    {"OrgAdvanced", 1, 0, {"frmMode"}},
    {"SemiAdvanced", 2, 0, {"frmMode"}},
    {"EmbAdvanced", 3, 0, {"frmMode"}},
    {"OrgThenBasic", 1, 1, {"frmMode", "frmKLOC"}},
    {"SemiThenBasic", 2, 1, {"frmMode", "frmKLOC"}},
    {"EmbThenIntermediate", 3, 2, {"frmMode", "frmEAF"}},
    {"OrgThenIntermediate", 1, 2, {"frmMode", "frmEAF"}},
};

class PhaseBack : public WizardTest, public testing::WithParamInterface<PhaseBackRow> {};

TEST_P(PhaseBack, ShowsModeScreenOnlyWhenModelIsAdvanced) {
    const PhaseBackRow &row = GetParam();
    Start();
    Do(Advanced);
    Do({"frmMode", ModeButton[row.mode]});
    if (row.laterModel != 0) {
        // The phase screen stays open underneath while the user starts again from the mode
        // screen's Back, picks another model and goes on to its next screen.
        Do({"frmMode", "cmdBack"});
        Do({"frmMain", ModelButton[row.laterModel]});
        Do({"frmMode", "cmdOrganic"});
        ASSERT_TRUE(FormNamed(PhaseScreen[row.mode]).IsLoaded());
    }
    Do({PhaseScreen[row.mode], "cmdBack"});
    EXPECT_FALSE(FormNamed(PhaseScreen[row.mode]).IsLoaded());
    EXPECT_EQ(OpenNames(), row.afterBack);
}

INSTANTIATE_TEST_SUITE_P(ByModel, PhaseBack, testing::ValuesIn(PhaseBackRows), NamedRow);

// --- The screens open after each step of the three paths --------------------------------

struct PathParam {
    int model;
    int mode;
    friend void PrintTo(const PathParam &row, std::ostream *os) {
        *os << "model " << row.model << ", mode " << row.mode;
    }
};

class NormalPath : public WizardTest, public testing::WithParamInterface<PathParam> {};

TEST_P(NormalPath, OpenScreensAfterEachStep) {
    const auto [model, mode] = GetParam();
    const std::string phase = PhaseScreen[mode];
    struct StepRow {
        const char *step;
        std::vector<Step> actions;
        Names open;
    };
    std::vector<StepRow> steps;
    steps.push_back({"start", {}, {"frmMain"}});
    steps.push_back({"model button", {{"frmMain", ModelButton[model]}}, {"frmMode"}});
    const Step modeButton{"frmMode", ModeButton[mode]};
    const Step mainMenu{"frmBasicResults", "cmdMainMenu"};
    switch (model) {
    case 1:
        steps.push_back({"mode button", {modeButton}, {"frmMode", "frmKLOC"}});
        steps.push_back(
            {"Calculate", {Size, Calculate}, {"frmMode", "frmKLOC", "frmBasicResults"}});
        steps.push_back({"Main Menu", {mainMenu}, {"frmMode", "frmKLOC", "frmMain"}});
        break;
    case 2:
        steps.push_back({"mode button", {modeButton}, {"frmMode", "frmEAF"}});
        steps.push_back(
            {"Continue", {{"frmEAF", "cmdContinue"}}, {"frmMode", "frmEAF", "frmKLOC"}});
        steps.push_back(
            {"Calculate", {Size, Calculate}, {"frmMode", "frmEAF", "frmKLOC", "frmBasicResults"}});
        steps.push_back({"Main Menu", {mainMenu}, {"frmMode", "frmEAF", "frmKLOC", "frmMain"}});
        break;
    default:
        steps.push_back({"mode button", {modeButton}, {"frmMode", phase}});
        steps.push_back({"Continue", {{phase.c_str(), "cmdContinue"}}, {"frmMode", "frmKLOC"}});
        steps.push_back(
            {"Calculate", {Size, Calculate}, {"frmMode", "frmKLOC", "frmBasicResults"}});
        steps.push_back({"Main Menu", {mainMenu}, {"frmMode", "frmKLOC", "frmMain"}});
        break;
    }
    for (const StepRow &row : steps) {
        SCOPED_TRACE(row.step);
        if (std::strcmp(row.step, "start") == 0) {
            Start();
        }
        DoAll(row.actions);
        EXPECT_EQ(OpenNames(), row.open);
        EXPECT_EQ(FrontName(), row.open.back());
        for (const std::string &name : row.open) {
            EXPECT_TRUE(Loaded(name).Window()->isVisible()) << name;
        }
    }
    EXPECT_FALSE(forms::Ended());
}

INSTANTIATE_TEST_SUITE_P(ModelAndMode, NormalPath,
                         testing::Values(PathParam{1, 1}, PathParam{1, 2}, PathParam{1, 3},
                                         PathParam{2, 1}, PathParam{2, 2}, PathParam{2, 3},
                                         PathParam{3, 1}, PathParam{3, 2}, PathParam{3, 3}),
                         ModelModeName);

// --- What survives a return, and how the program ends ------------------------------------

using Survival = WizardTest;

TEST_F(Survival, ModelButtonAfterBackBringsTheSameModeWindowForward) {
    Start();
    Do(Basic);
    QWidget *window = Loaded<frmMode>().Window();
    QWidget *embedded = Get<frmMode>().Control<QWidget>("cmdEmbedded");
    window->setProperty("marker", 7);
    Do({"frmMode", "cmdBack"});
    Do(Intermediate);
    EXPECT_EQ(Get<frmMode>().Window(), window);
    EXPECT_EQ(Get<frmMode>().Control<QWidget>("cmdEmbedded"), embedded);
    EXPECT_EQ(window->property("marker").toInt(), 7);
    EXPECT_EQ(FrontName(), "frmMode");
    EXPECT_EQ(Module1::Model, 2);
}

TEST_F(Survival, EveryReturnToTheMainMenuLoadsItAfresh) {
    Start();
    QPointer<QWidget> first = Get<frmMain>().Window();
    Do(Basic);
    Do({"frmMode", "cmdBack"});
    EXPECT_TRUE(first.isNull());
    QPointer<QWidget> second = Get<frmMain>().Window();
    ASSERT_FALSE(second.isNull());
    DoAll({Advanced,
           Organic,
           {"frmPhaseOrg", "cmdContinue"},
           Size,
           Calculate,
           {"frmBasicResults", "cmdMainMenu"}});
    EXPECT_TRUE(second.isNull());
    ASSERT_TRUE(Get<frmMain>().IsLoaded());
    EXPECT_EQ(FrontName(), "frmMain");
    EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC", "frmMain"}));
}

TEST_F(Survival, SecondBasicEstimateFindsTheSizeTypedBefore) {
    Start();
    DoAll({Basic,
           Organic,
           Size,
           Calculate,
           {"frmBasicResults", "cmdMainMenu"},
           Basic,
           {"frmMode", "cmdEmbedded"}});
    EXPECT_EQ(FrontName(), "frmKLOC");
    EXPECT_EQ(Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC")->text(), " 32000");
    Do(Calculate);
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Basic Effort Results");
}

struct ExitRow {
    const char *name;
    std::vector<Step> before;
    Step exit;
};

void PrintTo(const ExitRow &row, std::ostream *os) {
    *os << row.name;
}

const ExitRow ExitRows[] = {
    {"MainMenu",
     {Intermediate,
      Organic,
      {"frmEAF", "cmdContinue"},
      Size,
      Calculate,
      {"frmBasicResults", "cmdMainMenu"}},
     {"frmMain", "cmdExit"}},
    {"Results",
     {Intermediate, Organic, {"frmEAF", "cmdContinue"}, Size, Calculate},
     {"frmBasicResults", "cmdExit"}},
};

class ExitWithFourOpen : public WizardTest, public testing::WithParamInterface<ExitRow> {};

TEST_P(ExitWithFourOpen, EndsTheProgram) {
    Start();
    DoAll(GetParam().before);
    ASSERT_EQ(OpenNames().size(), 4U);
    Do(GetParam().exit);
    EXPECT_TRUE(forms::Ended());
    EXPECT_FALSE(AnyWindowVisible());
    Settle();
    EXPECT_FALSE(AnyWindowVisible());
}

INSTANTIATE_TEST_SUITE_P(ExitButton, ExitWithFourOpen, testing::ValuesIn(ExitRows), NamedRow);

class WindowManagerClose : public WizardTest, public testing::WithParamInterface<const char *> {};

TEST_P(WindowManagerClose, UnloadsThatScreenAlone) {
    Start();
    DoAll({Intermediate, Organic, {"frmEAF", "cmdContinue"}, Size, Calculate});
    const double effort = Module1::Effort;
    Names expected = OpenNames();
    std::erase(expected, std::string(GetParam()));
    CloseByWindowManager(FormNamed(GetParam()));

    EXPECT_FALSE(FormNamed(GetParam()).IsLoaded());
    EXPECT_EQ(OpenNames(), expected);
    for (const std::string &name : expected) {
        EXPECT_TRUE(Loaded(name).Window()->isVisible()) << name;
    }
    EXPECT_FALSE(forms::Ended());
    EXPECT_EQ(Module1::Effort, effort);
}

INSTANTIATE_TEST_SUITE_P(EachOfFour, WindowManagerClose,
                         testing::Values("frmMode", "frmEAF", "frmKLOC", "frmBasicResults"));

TEST_F(Survival, ClosedLinesOfCodeScreenLoadsAfreshOnItsNextShow) {
    Start();
    DoAll({Basic, Organic, Size});
    CloseByWindowManager(Get<frmKLOC>());
    Do({"frmMode", "cmdSemidetached"});
    EXPECT_EQ(Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC")->text(), " ");
}

TEST_F(Survival, ClosingTheLastOpenWindowEndsTheProgram) {
    Start();
    DoAll({Basic, Organic});
    CloseByWindowManager(Get<frmMode>());
    EXPECT_FALSE(forms::Ended());
    CloseByWindowManager(Get<frmKLOC>());
    Settle();
    EXPECT_TRUE(forms::Ended());
    EXPECT_TRUE(forms::LoadedForms().empty());
    EXPECT_FALSE(AnyWindowVisible());
}

TEST_F(Survival, ClosingTheMainMenuAtStartEndsTheProgram) {
    Start();
    CloseByWindowManager(Get<frmMain>());
    Settle();
    EXPECT_TRUE(forms::Ended());
}

TEST_F(Survival, MainMenuOpensFreshOverTheScreensStillOpen) {
    Start();
    DoAll({Advanced,
           {"frmMode", "cmdEmbedded"},
           {"frmPhaseEmb", "cmdContinue"},
           Size,
           Calculate,
           {"frmBasicResults", "cmdMainMenu"}});
    EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC", "frmMain"}));
    EXPECT_EQ(FocusedName(Get<frmMain>()), "cmdBasic");
    EXPECT_EQ(Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC")->text(), " 32000");
    // The screens underneath stay usable.
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Get<frmBasicResults>().Caption(), "Advanced Effort Results");
}

TEST_F(Survival, ScreenTheUserActivatesComesToTheFront) {
    Start();
    DoAll({Basic, Organic});
    ASSERT_EQ(FrontName(), "frmKLOC");
    QWidget *mode = Loaded<frmMode>().Window();
    mode->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mode));
    EXPECT_EQ(FrontName(), "frmMode");
    EXPECT_EQ(OpenNames(), (Names{"frmKLOC", "frmMode"}));
    // Its buttons act as always, with Model as it stands.
    Do({"frmMode", "cmdSemidetached"});
    EXPECT_EQ(FrontName(), "frmKLOC");
    EXPECT_EQ(Module1::Mode, 2);
}

// --- A screen that a button unloads goes once the next is up ---------------------------

// Were the unloaded screen's window hidden before the next screen is shown, the window
// manager would uncover the screens beneath for a moment.
struct HandOverRow {
    const char *name;
    std::vector<Step> before;
    Step press;
    const char *next;
};

const HandOverRow HandOverRows[] = {
    {"MainMenuToMode", {}, Basic, "frmMode"},
    {"PhaseContinueToLinesOfCode", {Advanced, Organic}, {"frmPhaseOrg", "cmdContinue"}, "frmKLOC"},
    {"ResultsToMainMenu",
     {Basic, Organic, Size, Calculate},
     {"frmBasicResults", "cmdMainMenu"},
     "frmMain"},
};

void PrintTo(const HandOverRow &row, std::ostream *os) {
    *os << row.name;
}

class HandOver : public WizardTest, public testing::WithParamInterface<HandOverRow> {};

TEST_P(HandOver, TheUnloadedScreenGoesOnceTheNextIsUp) {
    const HandOverRow &row = GetParam();
    Start();
    DoAll(row.before);
    QWidget *leaving = FormNamed(row.press.form).Window();
    ASSERT_NE(leaving, nullptr);
    std::optional<bool> nextWasUp;
    struct Watch : QObject {
        std::function<void()> onHide;
        bool eventFilter(QObject *, QEvent *event) override {
            if (event->type() == QEvent::Hide) {
                onHide();
            }
            return false;
        }
    } watch;
    watch.onHide = [&] {
        const forms::Form &next = FormNamed(row.next);
        nextWasUp = next.IsLoaded() && next.Window()->isVisible();
    };
    leaving->installEventFilter(&watch);
    Do(row.press);
    ASSERT_TRUE(nextWasUp.has_value()) << row.press.form << " was not hidden";
    EXPECT_TRUE(*nextWasUp) << row.next << " was not up when " << row.press.form << " went";
    EXPECT_FALSE(FormNamed(row.press.form).IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(UnloadingButtons, HandOver, testing::ValuesIn(HandOverRows), NamedRow);

} // namespace
