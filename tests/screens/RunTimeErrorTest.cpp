#include "WizardTest.h"

#include "frmBasicResults.h"
#include "frmKLOC.h"
#include "frmMode.h"

#include <QApplication>
#include <QLineEdit>

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
    EXPECT_TRUE(Get<frmKLOC>().Window()->isVisible());
    EXPECT_TRUE(Get<frmMode>().Window()->isVisible());
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
    EXPECT_EQ(Get<frmKLOC>().Control<QLineEdit>("txtKLOC")->text(), " ");
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
    EXPECT_TRUE(Get<frmMode>().Window()->isVisible());
    EXPECT_TRUE(Get<frmKLOC>().Window()->isVisible());
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

} // namespace
