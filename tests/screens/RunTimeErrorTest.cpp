#include "tests/screens/WizardTest.h"

#include "engine/Estimate.h"
#include "runtime/numeric/RuntimeError.h"
#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"

#include <QApplication>
#include <QLineEdit>

#include <QScreen>

#include <cmath>

using forms::Get;
using Names = std::vector<std::string>;

namespace {

class RunTimeError : public WizardTest {
protected:
    // The Basic model's lines-of-code screen with the given size, then Calculate.
    static void CalculateWith(const char *typed) {
        Start();
        Do({"frmMain", "cmdBasic"});
        Do({"frmMode", "cmdEmbedded"});
        if (*typed != '\0') {
            Do({"frmKLOC", "txtKLOC", typed});
        }
        Do({"frmKLOC", "cmdCalculate"});
    }
};

TEST_F(RunTimeError, BoxBelongsToTheFailingForm) {
    CalculateWith("");
    QMessageBox *box = ErrorBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), "RuntimeErrorBox");
    ASSERT_NE(box->parentWidget(), nullptr);
    EXPECT_EQ(box->parentWidget()->window(), Get<frmKLOC>().Window());
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(box->isModal());
}

TEST_F(RunTimeError, BoxNamesTheErrorNumberAndDescription) {
    CalculateWith("3E9");
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_TRUE(ErrorBox()->text().startsWith("Run-time error '6':"));
    EXPECT_TRUE(ErrorBox()->text().endsWith("Overflow"));
    EXPECT_NE(ErrorBox()->button(QMessageBox::Ok), nullptr);
}

TEST_F(RunTimeError, ProgramGoesOnWithEverythingAsTheHandlerLeftIt) {
    CalculateWith("");
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_FALSE(forms::Ended());
    EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC"}));
    EXPECT_TRUE(Loaded<frmKLOC>().Window()->isVisible());
    EXPECT_TRUE(Loaded<frmMode>().Window()->isVisible());
    EXPECT_EQ(Module1::Model, 1);
    EXPECT_EQ(Module1::Mode, 3);
    EXPECT_EQ(Module1::Effort, 0.0);
    EXPECT_EQ(Module1::TDEV, 0.0);
    EXPECT_TRUE(std::isnan(Module1::AvgStaffing));

    DismissError();
    Settle();
    EXPECT_FALSE(forms::Ended());
    EXPECT_EQ(OpenNames(), (Names{"frmMode", "frmKLOC"}));
    EXPECT_TRUE(std::isnan(Module1::AvgStaffing));
    EXPECT_EQ(Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC")->text(), " ");
    Do({"frmKLOC", "cmdBack"});
    EXPECT_EQ(FrontName(), "frmMode");
}

TEST_F(RunTimeError, DismissedBoxLeavesOnlyTheFormsOnScreen) {
    CalculateWith("abc");
    DismissError();
    std::vector<const QWidget *> visible;
    for (const QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            visible.push_back(widget);
        }
    }
    EXPECT_EQ(visible.size(), 2U);
    EXPECT_TRUE(Loaded<frmMode>().Window()->isVisible());
    EXPECT_TRUE(Loaded<frmKLOC>().Window()->isVisible());
}

TEST_F(RunTimeError, LastFormClosedUnderTheBoxStillEndsTheProgram) {
    CalculateWith("");
    ASSERT_NE(ErrorBox(), nullptr);
    CloseByWindowManager(Get<frmMode>());
    CloseByWindowManager(Get<frmKLOC>());
    Settle();
    EXPECT_TRUE(forms::Ended());
    EXPECT_FALSE(AnyWindowVisible());
}

TEST_F(RunTimeError, EachFailureGetsItsOwnReport) {
    CalculateWith("-5");
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(ErrorBox()->text(), "Run-time error '5':\n\nInvalid procedure call or argument");
    DismissError();
    Do({"frmKLOC", "cmdClear"});
    Do({"frmKLOC", "cmdCalculate"});
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(ErrorBox()->text(), "Run-time error '6':\n\nOverflow");
    DismissError();
    EXPECT_FALSE(Get<frmBasicResults>().IsLoaded());
}

// Below the error's own two lines, what the size box takes; the box leaves the size box, and
// the text typed into it, in view.
struct RefusedRow {
    const char *name;
    const char *typed;
    const char *error;
};

void PrintTo(const RefusedRow &row, std::ostream *os) {
    *os << row.name;
}

const RefusedRow Refused[] = {
    {"Empty", "", "Run-time error '6':\n\nOverflow"},
    {"Letters", "abc", "Run-time error '6':\n\nOverflow"},
    {"ArabicIndicDigits", "\u0663\u0662\u0660\u0660\u0660", "Run-time error '6':\n\nOverflow"},
    {"Negative", "-5", "Run-time error '5':\n\nInvalid procedure call or argument"},
    {"BeyondTheRange", "3E9", "Run-time error '6':\n\nOverflow"},
};

class RefusedSize : public RunTimeError, public testing::WithParamInterface<RefusedRow> {};

TEST_P(RefusedSize, BoxSaysWhatTheSizeBoxTakesAndLeavesItInView) {
    Start();
    Do({"frmMain", "cmdBasic"});
    Do({"frmMode", "cmdEmbedded"});
    // Entered as a paste or an input method enters it: the test keyboard knows ASCII only.
    Loaded<frmKLOC>().Control<QLineEdit>("txtKLOC")->insert(QString::fromUtf8(GetParam().typed));
    Do({"frmKLOC", "cmdCalculate"});
    QMessageBox *box = ErrorBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), GetParam().error);
    EXPECT_EQ(box->informativeText().toStdString(), engine::SizeRequirement);
    const QLineEdit *input = Get<frmKLOC>().Control<QLineEdit>("txtKLOC");
    const QRect typed(input->mapToGlobal(QPoint(0, 0)), input->size());
    EXPECT_FALSE(box->frameGeometry().intersects(typed));
    EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry()));
}

INSTANTIATE_TEST_SUITE_P(Typed, RefusedSize, testing::ValuesIn(Refused),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(RunTimeError, EnterInTheSizeBoxGivesTheSameAdvice) {
    Start();
    Do({"frmMain", "cmdBasic"});
    Do({"frmMode", "cmdOrganic"});
    PressEnter(Get<frmKLOC>(), "txtKLOC");
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(ErrorBox()->informativeText().toStdString(), engine::SizeRequirement);
}

// Only the handlers that read what the user typed say what it must be.
TEST_F(RunTimeError, ErrorsOfOtherHandlersComeWithoutAdvice) {
    Start();
    forms::Dispatch(&Get<frmMain>(), [] { rt::Raise(rt::ErrorCode::DivisionByZero); });
    ASSERT_NE(ErrorBox(), nullptr);
    EXPECT_EQ(ErrorBox()->text(), "Run-time error '11':\n\nDivision by zero");
    EXPECT_TRUE(ErrorBox()->informativeText().isEmpty());
}

} // namespace
