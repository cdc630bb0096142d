#include "tests/screens/WizardTest.h"

#include "runtime/forms/Layout.h"
#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cmath>

using forms::FooterNotice;
using forms::Get;
using Names = std::vector<std::string>;

namespace {

const char *const Sans = "MS Sans Serif";

// In tab order, as the lines-of-code screen's layout gives them.
const ControlRow LinesOfCode[] = {
    {"lblCocomo",
     "QLabel",
     {1200, 240, 5055, 615},
     "COCOMO Model",
     Sans,
     24,
     true,
     Qt::AlignHCenter,
     true},
    {"Label2",
     "QLabel",
     {1080, 1560, 2775, 615},
     "Estimated number of delivered lines of code for the project (express in thousands):",
     Sans,
     8.25,
     true,
     Qt::AlignLeft,
     false,
     true,
     true},
    {"txtKLOC", "QLineEdit", {3960, 1680, 1575, 405}, std::nullopt, Sans, 9.75, false},
    {"cmdBack", "QPushButton", {1080, 2880, 1695, 495}, "Back", Sans, 8.25, true},
    {"cmdClear", "QPushButton", {3000, 2880, 1695, 495}, "Clear", Sans, 8.25, true},
    {"cmdCalculate", "QPushButton", {4920, 2880, 1695, 495}, "Calculate", Sans, 8.25, true},
    {"Label1",
     "QLabel",
     {1680, 4680, 4335, 255},
     FooterNotice,
     Sans,
     8.25,
     false,
     Qt::AlignHCenter,
     true},
};

class KlocScreen : public WizardTest {
protected:
    // The Basic model, Organic mode: the lines-of-code screen in front.
    void SetUp() override {
        WizardTest::SetUp();
        Start();
        Do({"frmMain", "cmdBasic"});
        Do({"frmMode", "cmdOrganic"});
        ASSERT_EQ(FrontName(), "frmKLOC");
    }

    static QLineEdit *Box() { return Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC"); }

    // Selects the whole text from the keyboard, so what is typed next replaces it.
    static void SelectAll() {
        QTest::keyClick(Box(), Qt::Key_A, Qt::ControlModifier);
        Settle();
    }
};

TEST_F(KlocScreen, ControlsMatchTheLayout) {
    ExpectWindow(Get<frmKLOC>(), "Lines of Code");
    for (const ControlRow &row : LinesOfCode) {
        ExpectControl(Get<frmKLOC>(), row);
    }
    EXPECT_EQ(Loaded<frmKLOC>().Window()->findChildren<QWidget *>().size(), std::size(LinesOfCode));
}

TEST_F(KlocScreen, OpensWithASingleSpaceAndTheFocusInTheBox) {
    EXPECT_EQ(Box()->text(), " ");
    EXPECT_EQ(FocusedName(Get<frmKLOC>()), "txtKLOC");
}

TEST_F(KlocScreen, TabRunsFromTheBoxToTheButtons) {
    EXPECT_EQ(TabStops(Get<frmKLOC>(), "txtKLOC"),
              (Names{"txtKLOC", "cmdBack", "cmdClear", "cmdCalculate"}));
    ASSERT_EQ(FocusedName(Get<frmKLOC>()), "txtKLOC");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdBack");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdClear");
}

TEST_F(KlocScreen, SixthCharacterCannotFollowTheLeadingSpace) {
    Type(Get<frmKLOC>(), "txtKLOC", "123456");
    EXPECT_EQ(Box()->text(), " 12345");
}

TEST_F(KlocScreen, SixDigitsFitWhenTheSpaceIsSelectedOver) {
    SelectAll();
    Type(Get<frmKLOC>(), "txtKLOC", "9999999");
    EXPECT_EQ(Box()->text(), "999999");
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(Shown("lblEffort"), "3390.09");
}

TEST_F(KlocScreen, PasteIsHeldToSixCharactersToo) {
    QApplication::clipboard()->setText(QStringLiteral("12345678"));
    QTest::keyClick(Box(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Box()->text(), " 12345");
}

// Sizes typed after the leading space, Basic model, Organic mode.
struct SizeRow {
    const char *name;
    const char *typed;
    const char *effort; // nullptr: a run-time error
    const char *tdev;
    const char *avg;
    const char *error;
};

void PrintTo(const SizeRow &row, std::ostream *os) {
    *os << row.name;
}

const SizeRow Sizes[] = {
    {"ThirtyTwoThousandLines", "32000", "91.33", "13.90", "6.57", nullptr},
    {"ThirtyTwoLinesNotThousands", "32", "0.06", "0.88", "0.07", nullptr},
    {"ExponentOneE9", "1E9", "4788629.56", "863.81", "5543.59", nullptr},
    {"ExponentThreeE9Overflows", "3E9", nullptr, nullptr, nullptr,
     "Run-time error '6':\n\nOverflow"},
    {"NegativeSizeIsInvalid", "-1000", nullptr, nullptr, nullptr,
     "Run-time error '5':\n\nInvalid procedure call or argument"},
};

class KlocSize : public KlocScreen, public testing::WithParamInterface<SizeRow> {};

TEST_P(KlocSize, CalculateComputesOrReportsTheError) {
    const SizeRow &row = GetParam();
    Type(Get<frmKLOC>(), "txtKLOC", row.typed);
    Module1::Effort = 1.5;
    Do({"frmKLOC", "cmdCalculate"});
    if (row.effort != nullptr) {
        EXPECT_EQ(ErrorBox(), nullptr);
        EXPECT_EQ(FrontName(), "frmBasicResults");
        EXPECT_EQ(Shown("lblEffort"), row.effort);
        EXPECT_EQ(Shown("lblTDEV"), row.tdev);
        EXPECT_EQ(Shown("lblAvg"), row.avg);
    } else {
        QMessageBox *box = ErrorBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), row.error);
        EXPECT_FALSE(Get<frmBasicResults>().IsLoaded());
        DismissError();
        EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC"}));
        EXPECT_EQ(Box()->text(), QStringLiteral(" ") + row.typed);
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, KlocSize, testing::ValuesIn(Sizes),
                         [](const auto &size) { return std::string(size.param.name); });

TEST_F(KlocScreen, OverflowStoresNothing) {
    Type(Get<frmKLOC>(), "txtKLOC", "3E9");
    Module1::Effort = 1.5;
    Module1::TDEV = 2.5;
    Module1::AvgStaffing = 3.5;
    Do({"frmKLOC", "cmdCalculate"});
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(Module1::Effort, 1.5);
    EXPECT_EQ(Module1::TDEV, 2.5);
    EXPECT_EQ(Module1::AvgStaffing, 3.5);
}

TEST_F(KlocScreen, ClearThenCalculateTakesTheZeroLinesPath) {
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Do({"frmKLOC", "cmdClear"});
    Do({"frmKLOC", "cmdCalculate"});
    QMessageBox *box = ErrorBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Run-time error '6':\n\nOverflow");
    EXPECT_EQ(Module1::Effort, 0.0);
    EXPECT_EQ(Module1::TDEV, 0.0);
    EXPECT_TRUE(std::isnan(Module1::AvgStaffing));
    EXPECT_FALSE(Get<frmBasicResults>().IsLoaded());
}

TEST_F(KlocScreen, TextThatIsNoNumberReportsAnErrorAndLeavesEverythingAsItWas) {
    Type(Get<frmKLOC>(), "txtKLOC", "abc");
    const Names open = OpenNames();
    Do({"frmKLOC", "cmdCalculate"});
    ASSERT_NE(ErrorBox(), nullptr);
    DismissError();
    EXPECT_EQ(ErrorBox(), nullptr);
    EXPECT_EQ(OpenNames(), open);
    EXPECT_EQ(Box()->text(), " abc");
    EXPECT_FALSE(forms::Ended());

    Do({"frmKLOC", "cmdClear"});
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Do({"frmKLOC", "cmdCalculate"});
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Shown("lblEffort"), "91.33");
}

TEST_F(KlocScreen, EnterInTheBoxCalculates) {
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    PressEnter(Get<frmKLOC>(), "txtKLOC");
    EXPECT_EQ(FrontName(), "frmBasicResults");
    EXPECT_EQ(Shown("lblEffort"), "91.33");
    EXPECT_EQ(Shown("lblTDEV"), "13.90");
    EXPECT_EQ(Shown("lblAvg"), "6.57");
}

TEST_F(KlocScreen, EnterOnAnEmptySizeReportsTheSameErrorAsCalculate) {
    PressEnter(Get<frmKLOC>(), "txtKLOC");
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(ErrorBox()->text(), "Run-time error '6':\n\nOverflow");
}

TEST_F(KlocScreen, ClearPutsTheSpaceBackAndFocusesTheBox) {
    Type(Get<frmKLOC>(), "txtKLOC", "123");
    Do({"frmKLOC", "cmdClear"});
    EXPECT_EQ(Box()->text(), " ");
    EXPECT_EQ(FocusedName(Get<frmKLOC>()), "txtKLOC");
    Type(Get<frmKLOC>(), "txtKLOC", "45");
    EXPECT_EQ(Box()->text(), " 45");
}

TEST_F(KlocScreen, BoxSaysTheSizeIsInLinesOfCode) {
    EXPECT_TRUE(Box()->toolTip().contains("lines of code", Qt::CaseInsensitive))
        << Box()->toolTip().toStdString();
    EXPECT_TRUE(Box()->accessibleDescription().contains("lines of code", Qt::CaseInsensitive))
        << Box()->accessibleDescription().toStdString();
    EXPECT_FALSE(Box()->accessibleName().isEmpty());
}

} // namespace
