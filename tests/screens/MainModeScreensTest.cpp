#include "tests/screens/WizardTest.h"

#include "runtime/forms/Layout.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"

#include <QLabel>

using forms::FooterNotice;
using forms::Get;
using Names = std::vector<std::string>;

namespace {

constexpr auto Centred = Qt::AlignHCenter;
constexpr auto Left = Qt::AlignLeft;
const char *const Sans = "MS Sans Serif";

// In tab order, as the main menu's layout gives them.
const ControlRow MainMenu[] = {
    {"lblCocomo", "QLabel", {1200, 240, 5055, 735}, "COCOMO Model", Sans, 24, true, Centred, true},
    {"cmdBasic", "QPushButton", {2280, 1800, 3015, 495}, "Basic Model", Sans, 8.25, true},
    {"cmdIntermediate",
     "QPushButton",
     {2280, 2520, 3015, 495},
     "Intermediate Model",
     Sans,
     8.25,
     true},
    {"cmdAdvanced", "QPushButton", {2280, 3240, 3015, 495}, "Advanced Model", Sans, 8.25, true},
    {"cmdExit", "QPushButton", {2280, 3960, 3015, 495}, "Exit", Sans, 8.25, true},
    {"lblInfo", "QLabel", {1560, 4680, 4575, 255}, FooterNotice, Sans, 8.25, false, Centred, true},
};

const ControlRow DevelopmentMode[] = {
    {"lblMode",
     "QLabel",
     {480, 960, 2895, 375},
     "The Development Mode ",
     "Arial",
     12,
     true,
     Left,
     false,
     false},
    {"cmdOrganic", "QPushButton", {2280, 2400, 2175, 495}, "Organic Mode", Sans, 8.25, true},
    {"cmdSemidetached",
     "QPushButton",
     {2280, 3000, 2175, 495},
     "Semidetached Mode",
     Sans,
     8.25,
     true},
    {"cmdEmbedded", "QPushButton", {2280, 3600, 2175, 495}, "Embedded Mode", Sans, 8.25, true},
    {"cmdBack", "QPushButton", {360, 4080, 1575, 495}, "Back", Sans, 8.25, true},
    {"Label1", "QLabel", {1200, 240, 5055, 615}, "COCOMO Model", Sans, 24, true, Centred, true},
    {"Label2", "QLabel", {2160, 4680, 3735, 255}, FooterNotice, Sans, 8.25, false, Centred, true},
    {"Label3",
     "QLabel",
     {480, 1320, 6135, 735},
     "In the COCOMO model, one of the most important factors contributing to a project's "
     "duration and cost is the Development Mode. Every project is considered to be developed in "
     "one of the three modes:",
     "Tahoma",
     9.75,
     false,
     Left,
     false,
     true,
     true},
};

using MainModeScreens = WizardTest;

TEST_F(MainModeScreens, StartShowsOnlyTheMainMenuFocusedOnBasicModel) {
    Start();
    EXPECT_EQ(OpenNames(), Names{"frmMain"});
    ExpectWindow(Get<frmMain>(), "Main Menu");
    EXPECT_EQ(FocusedName(Get<frmMain>()), "cmdBasic");
}

TEST_F(MainModeScreens, MainMenuControlsMatchTheLayout) {
    Start();
    for (const ControlRow &row : MainMenu) {
        ExpectControl(Get<frmMain>(), row);
    }
    EXPECT_EQ(Loaded<frmMain>().Window()->findChildren<QWidget *>().size(), std::size(MainMenu));
}

TEST_F(MainModeScreens, TabRunsDownTheMainMenuColumn) {
    Start();
    EXPECT_EQ(TabStops(Get<frmMain>(), "cmdBasic"),
              (Names{"cmdBasic", "cmdIntermediate", "cmdAdvanced", "cmdExit"}));
}

TEST_F(MainModeScreens, ModeScreenFocusesOrganicMode) {
    Start();
    Do({"frmMain", "cmdBasic"});
    ExpectWindow(Get<frmMode>(), "Development Mode");
    EXPECT_EQ(FocusedName(Get<frmMode>()), "cmdOrganic");
}

TEST_F(MainModeScreens, ModeScreenControlsMatchTheLayout) {
    Start();
    Do({"frmMain", "cmdAdvanced"});
    for (const ControlRow &row : DevelopmentMode) {
        ExpectControl(Get<frmMode>(), row);
    }
    EXPECT_EQ(Loaded<frmMode>().Window()->findChildren<QWidget *>().size(),
              std::size(DevelopmentMode));
}

TEST_F(MainModeScreens, ModeHeadingIsDrawnGreyed) {
    Start();
    Do({"frmMain", "cmdBasic"});
    auto *heading = Get<frmMode>().Control<QLabel>("lblMode");
    ASSERT_NE(heading, nullptr);
    EXPECT_FALSE(heading->isEnabled());
    EXPECT_NE(heading->palette().color(QPalette::Disabled, QPalette::WindowText),
              heading->palette().color(QPalette::Active, QPalette::WindowText));
}

TEST_F(MainModeScreens, TabRunsThroughModesThenBack) {
    Start();
    Do({"frmMain", "cmdIntermediate"});
    EXPECT_EQ(TabStops(Get<frmMode>(), "cmdOrganic"),
              (Names{"cmdOrganic", "cmdSemidetached", "cmdEmbedded", "cmdBack"}));
}

TEST_F(MainModeScreens, NoCaptionCarriesAnAccessKey) {
    Start();
    for (const ControlRow &row : MainMenu) {
        EXPECT_FALSE(row.caption->contains(QLatin1Char('&'))) << row.name;
    }
    Do({"frmMain", "cmdBasic"});
    for (QAbstractButton *button : Loaded<frmMode>().Window()->findChildren<QAbstractButton *>()) {
        EXPECT_FALSE(button->text().contains(QLatin1Char('&')));
    }
}

} // namespace
