#include "tests/screens/WizardTest.h"

#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"

#include <QAccessible>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>

#include <algorithm>

using forms::Get;

namespace {

// What a screen reader is told about a widget: Qt's accessible interface for it.
QAccessibleInterface *Accessible(QWidget *widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

class Accessibility : public WizardTest {
protected:
    static void ExpectFrame(const char *form, const char *caption) {
        SCOPED_TRACE(form);
        QAccessibleInterface *window = Accessible(Loaded(form).Window());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->role(), QAccessible::Window);
        EXPECT_EQ(window->text(QAccessible::Name), caption);
    }
};

TEST_F(Accessibility, EveryWindowIsAFrameNamedByItsCaption) {
    Start();
    ExpectFrame("frmMain", "Main Menu");
    Do({"frmMain", "cmdIntermediate"});
    ExpectFrame("frmMode", "Development Mode");
    Do({"frmMode", "cmdOrganic"});
    ExpectFrame("frmEAF", "Effort Adjustment Factor");
    Do({"frmEAF", "cmdContinue"});
    ExpectFrame("frmKLOC", "Lines of Code");
    Do({"frmKLOC", "txtKLOC", "32000"});
    Do({"frmKLOC", "cmdCalculate"});
    ExpectFrame("frmBasicResults", "Intermediate Effort Results");
    Do({"frmKLOC", "cmdBack"});
    Do({"frmEAF", "cmdBack"});
    Do({"frmMode", "cmdBack"});
    Do({"frmMain", "cmdAdvanced"});
    for (int mode = 1; mode <= 3; ++mode) {
        Do({"frmMode", ModeButton[mode]});
        ExpectFrame(PhaseScreen[mode], "Phase Distribution of Effort and Schedule");
        Do({PhaseScreen[mode], "cmdBack"});
    }
}

// A rating a driver does not offer is a radio button that cannot be chosen, not a push
// button; the ones offered stay ordinary radio buttons.
TEST_F(Accessibility, RatingsThatCannotBeChosenAreDisabledRadioButtons) {
    Start();
    Do({"frmMain", "cmdIntermediate"});
    Do({"frmMode", "cmdOrganic"});
    int disabled = 0;
    for (QRadioButton *radio : Loaded<frmEAF>().Window()->findChildren<QRadioButton *>()) {
        SCOPED_TRACE(radio->accessibleName().toStdString());
        QAccessibleInterface *rating = Accessible(radio);
        ASSERT_NE(rating, nullptr);
        EXPECT_EQ(rating->role(), QAccessible::RadioButton);
        EXPECT_EQ(rating->text(QAccessible::Name), radio->accessibleName());
        EXPECT_EQ(rating->state().disabled, !radio->isEnabled());
        EXPECT_TRUE(rating->state().checkable);
        EXPECT_FALSE(rating->state().checked);
        disabled += radio->isEnabled() ? 0 : 1;
    }
    EXPECT_EQ(disabled, 20);
    // Each row's strip groups its buttons; it is no window of its own.
    for (QFrame *strip : Loaded<frmEAF>().Window()->findChildren<QFrame *>("Picture1")) {
        EXPECT_EQ(Accessible(strip)->role(), QAccessible::Grouping);
    }
}

TEST_F(Accessibility, PhaseScreensKeepTheirCaptionAndNameTheirMode) {
    const char *const modes[] = {nullptr, "Organic", "Semidetached", "Embedded"};
    Start();
    Do({"frmMain", "cmdAdvanced"});
    for (int mode = 1; mode <= 3; ++mode) {
        Do({"frmMode", ModeButton[mode]});
        QAccessibleInterface *window = Accessible(Loaded(PhaseScreen[mode]).Window());
        EXPECT_EQ(window->text(QAccessible::Name), "Phase Distribution of Effort and Schedule");
        EXPECT_EQ(window->text(QAccessible::Description),
                  QStringLiteral("Phase distribution of the %1 mode. Phase Distribution. Phase "
                                 "Small, 2 KDSI Intermediate, 8 KDSI Medium, 32 KDSI Large, 128 "
                                 "KDSI. COCOMO 81 cost estimation.")
                      .arg(modes[mode]));
        Do({PhaseScreen[mode], "cmdBack"});
    }
}

struct FigureRow {
    const char *name;
    const char *locale;
    int model;
    int mode;
    const char *rating; // a cost-driver button chosen on the way, if any
    const char *typed;
    const char *effort; // accessible name, then tooltip and description
    const char *effortHow;
    const char *tdev;
    const char *tdevHow;
    const char *avg;
    const char *avgHow;
};

void PrintTo(const FigureRow &row, std::ostream *os) {
    *os << row.name;
}

const FigureRow Figures[] = {
    {"BasicEmbedded", "C", 1, 3, nullptr, "32000", "230.40",
     "Effort = 3.6 x 32^1.20 = 230.40 staff-months (the work of one person for that many months)",
     "14.25", "TDEV = 2.5 x Effort^0.32 = 14.25 months (calendar time)", "16.16",
     "Average staffing = Effort / TDEV = 16.16 people"},
    {"BasicEmbeddedGerman", "de_DE", 1, 3, nullptr, "32000", "230,40",
     "Effort = 3,6 x 32^1,20 = 230,40 staff-months (the work of one person for that many months)",
     "14,25", "TDEV = 2,5 x Effort^0,32 = 14,25 months (calendar time)", "16,16",
     "Average staffing = Effort / TDEV = 16,16 people"},
    {"BasicOrganicPartThousands", "C", 1, 1, nullptr, "32500", "92.83",
     "Effort = 2.4 x 32.5^1.05 = 92.83 staff-months (the work of one person for that many months)",
     "13.98", "TDEV = 2.5 x Effort^0.38 = 13.98 months (calendar time)", "6.64",
     "Average staffing = Effort / TDEV = 6.64 people"},
    {"IntermediateEmbeddedAnalystsVeryLow", "C", 2, 3, "OptACAP", "32000", "261.63",
     "Effort = 2.8 x 32^1.20 x EAF 1.46 = 261.63 staff-months (the work of one person for that "
     "many months)",
     "14.85", "TDEV = 2.5 x Effort^0.32 = 14.85 months (calendar time)", "17.62",
     "Average staffing = Effort / TDEV = 17.62 people"},
    {"AdvancedSemidetachedUntouchedPhases", "C", 3, 2, nullptr, "8000", "184.81",
     "Effort = 3.0 x 8^1.12 x EAF 6.00 = 184.81 staff-months (the work of one person for that "
     "many months)",
     "15.53", "TDEV = 2.5 x Effort^0.35 = 15.53 months (calendar time)", "11.90",
     "Average staffing = Effort / TDEV = 11.90 people"},
};

class ExplainedFigures : public Accessibility, public testing::WithParamInterface<FigureRow> {
protected:
    // Named by what it shows, labelled by its caption, read as text nobody can change.
    static void ExpectFigure(const char *label, const char *caption, const char *name,
                             const char *how) {
        SCOPED_TRACE(label);
        auto *figure = Get<frmBasicResults>().Control<QLabel>(label);
        ASSERT_NE(figure, nullptr);
        EXPECT_EQ(Accessible(figure)->text(QAccessible::Name), name);
        const auto labels = Accessible(figure)->relations(QAccessible::Label);
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [caption](const auto &relation) {
            return relation.first->text(QAccessible::Name) == caption;
        }));
        EXPECT_TRUE(Accessible(figure)->state().readOnly);
        EXPECT_EQ(Accessible(figure)->text(QAccessible::Description), how);
        EXPECT_EQ(figure->toolTip(), how);
    }
};

TEST_P(ExplainedFigures, AreLabelledByTheirCaptionsAndSayHowTheyWereObtained) {
    const FigureRow &row = GetParam();
    QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
    Start();
    Do({"frmMain", ModelButton[row.model]});
    Do({"frmMode", ModeButton[row.mode]});
    if (row.model == 2) {
        if (row.rating != nullptr) {
            Click(Get<frmEAF>(), row.rating, 0);
        }
        Do({"frmEAF", "cmdContinue"});
    } else if (row.model == 3) {
        Do({PhaseScreen[row.mode], "cmdContinue"});
    }
    Do({"frmKLOC", "txtKLOC", row.typed});
    Do({"frmKLOC", "cmdCalculate"});
    ASSERT_EQ(FrontName(), "frmBasicResults");
    ExpectFigure("lblEffort", "Effort :", row.effort, row.effortHow);
    ExpectFigure("lblTDEV", "TDEV :", row.tdev, row.tdevHow);
    ExpectFigure("lblAvg", "Average Staffing :", row.avg, row.avgHow);
}

INSTANTIATE_TEST_SUITE_P(Estimates, ExplainedFigures, testing::ValuesIn(Figures),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(Accessibility, CalculateWhileTheResultsAreOpenRenewsWhatTheFiguresSay) {
    Estimate(1, 3, "32000");
    Do({"frmKLOC", "cmdClear"});
    Do({"frmKLOC", "txtKLOC", "1000"});
    Do({"frmKLOC", "cmdCalculate"});
    auto *effort = Loaded<frmBasicResults>().Control<QLabel>("lblEffort");
    EXPECT_EQ(Accessible(effort)->text(QAccessible::Name), "3.60");
    EXPECT_EQ(effort->toolTip(), "Effort = 3.6 x 1^1.20 = 3.60 staff-months (the work of one "
                                 "person for that many months)");
    EXPECT_EQ(Accessible(Get<frmBasicResults>().Control<QLabel>("lblAvg"))->text(QAccessible::Name),
              "0.96");
}

} // namespace
