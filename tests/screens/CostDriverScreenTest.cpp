#include "tests/screens/ScreenTest.h"

#include "runtime/forms/Colours.h"
#include "runtime/forms/Layout.h"
#include "runtime/forms/ScreenText.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "tests/support/PublishedTables.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <utility>
#include <vector>

using forms::Get;

namespace {

constexpr int Rows = published::DriverCount;
constexpr int Columns = published::RatingCount;

// The rows as the user sees them; their multipliers are the published ones.
const struct {
    const char *array;
    const char *label;
} Drivers[Rows] = {
    {"OptACAP", "ACAP Analyst Capability"},         {"optAEXP", "AEXP Application Experience"},
    {"optCPLX", "CPLX Product Complexity"},         {"optDATA", "DATA Database Size"},
    {"optLEXP", "LEXP Language Experience"},        {"optMODP", "MODP Modern Prog Practices"},
    {"optPCAP", "PCAP Programmer Capability"},      {"optRELY", "RELY Required Soft Reliability"},
    {"optSCED", "SCED Req Development Sch"},        {"optSTOR", "STOR Storage Constraint"},
    {"optTIME", "TIME Exec. Time Constraint"},      {"optTOOL", "TOOL Use of Software Tools"},
    {"optTURN", "TURN Comp.Turnaround Time"},       {"optVEXP", "VEXP Virtual Machine Exp."},
    {"optVIRT", "VIRT Virtual Machine Volatility"},
};
using published::Multipliers;
using published::Offered;

const char *const ColumnNames[Columns] = {"Very Low, VL", "Low, L",        "Nominal, N",
                                          "High, H",      "Very High, VH", "Extra High, EH"};

// Element i of a standard container, counted the way the rows and columns are.
template <class C> decltype(auto) At(C &&c, int i) {
    return c[static_cast<std::size_t>(i)];
}

int RowOf(const char *array) {
    for (int r = 0; r < Rows; ++r) {
        if (QLatin1String(Drivers[r].array) == QLatin1String(array)) {
            return r;
        }
    }
    ADD_FAILURE() << "no row " << array;
    return 0;
}

using Choices = std::vector<std::pair<const char *, int>>;

} // namespace

class CostDriverScreenTest : public ScreenTest {
protected:
    static frmEAF &Eaf(CallSite where = {}) { return Loaded<frmEAF>(where); }

    // Main menu, Intermediate Model, then the given mode.
    static void OpenScreen(const char *modeButton = "cmdOrganic") {
        Start();
        Click(Get<frmMain>(), "cmdIntermediate");
        Click(Get<frmMode>(), modeButton);
    }

    static QRadioButton *Option(int row, int column) {
        return Eaf().Control<QRadioButton>(Drivers[row].array, static_cast<std::int16_t>(column));
    }

    static void Choose(const Choices &choices) {
        for (const auto &[array, column] : choices) {
            Click(Eaf(), array, static_cast<std::int16_t>(column));
        }
    }

    // The selected column of every row, -1 where none is.
    static std::vector<int> Selection() {
        std::vector<int> selected(Rows, -1);
        for (int r = 0; r < Rows; ++r) {
            for (int k = 0; k < Columns; ++k) {
                if (Option(r, k)->isChecked()) {
                    EXPECT_EQ(At(selected, r), -1) << "two buttons selected in row " << r;
                    At(selected, r) = k;
                }
            }
        }
        return selected;
    }

    static double Continue() {
        Click(Eaf(), "cmdContinue");
        return Module1::EAF;
    }

    static QWidget *Focused() { return Eaf().Window()->focusWidget(); }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focused = Focused();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key, modifiers);
        Settle();
    }
};

TEST_F(CostDriverScreenTest, OpensWithNoSelectionAndContinueStoresExactlyOne) {
    OpenScreen();
    EXPECT_EQ(Selection(), std::vector<int>(Rows, -1));
    EXPECT_EQ(Continue(), 1.0);
    EXPECT_EQ(forms::FrontForm(), &Get<frmKLOC>());
    EXPECT_TRUE(Eaf().IsLoaded());
}

TEST_F(CostDriverScreenTest, EveryModeButtonOpensTheSameScreen) {
    for (const char *mode : {"cmdOrganic", "cmdSemidetached", "cmdEmbedded"}) {
        SCOPED_TRACE(mode);
        OpenScreen(mode);
        EXPECT_EQ(forms::FrontForm(), &Eaf());
        EXPECT_EQ(Eaf().Caption(), "Effort Adjustment Factor");
        forms::UnloadAll();
        Settle();
    }
}

TEST_F(CostDriverScreenTest, EveryEnabledButtonStoresItsMultiplier) {
    OpenScreen();
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            if (!Offered[r][k]) {
                continue;
            }
            SCOPED_TRACE(
                QStringLiteral("%1: %2").arg(Drivers[r].label, ColumnNames[k]).toStdString());
            Click(Eaf(), Drivers[r].array, static_cast<std::int16_t>(k));
            EXPECT_TRUE(Option(r, k)->isChecked());
            EXPECT_EQ(At(Eaf().Multipliers()->entries, r), Multipliers[r][k]);
        }
        // Back to Nominal so that the product below shows this row alone.
        Click(Eaf(), Drivers[r].array, 2);
    }
    EXPECT_EQ(Continue(), 1.0);
}

TEST_F(CostDriverScreenTest, OneRatingAloneIsTheFactor) {
    const struct {
        const char *array;
        int column;
        double eaf;
    } cases[] = {
        {"OptACAP", 0, 1.46}, {"optAEXP", 4, 0.82}, {"optDATA", 0, 1.00},
        {"optCPLX", 5, 1.65}, {"optTURN", 1, 0.87}, {"optSTOR", 5, 1.56},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.array);
        OpenScreen();
        Click(Eaf(), c.array, static_cast<std::int16_t>(c.column));
        EXPECT_EQ(Continue(), c.eaf);
        forms::UnloadAll();
        Settle();
    }
}

TEST_F(CostDriverScreenTest, ProductsAreBitExact) {
    Choices everyVeryLow;
    for (int r = 0; r < Rows; ++r) {
        if (Offered[r][0]) {
            everyVeryLow.emplace_back(Drivers[r].array, 0);
        }
    }
    const struct {
        const char *name;
        Choices choices;
        double eaf;
    } cases[] = {
        {"ACAP VL, AEXP L, CPLX L",
         {{"OptACAP", 0}, {"optAEXP", 1}, {"optCPLX", 1}},
         1.4023299999999996},
        {"every offered Very Low", everyVeryLow, 3.6629325140703908},
        {"CPLX, STOR, TIME Extra High",
         {{"optCPLX", 5}, {"optSTOR", 5}, {"optTIME", 5}},
         4.2728399999999995},
        {"RELY VH, CPLX EH, TIME EH",
         {{"optRELY", 4}, {"optCPLX", 5}, {"optTIME", 5}},
         3.834599999999999},
        {"ACAP VH, PCAP VH", {{"OptACAP", 4}, {"optPCAP", 4}}, 0.49699999999999994},
        // The order of the clicks does not change the order of the product.
        {"TIME EH, CPLX EH, RELY VH",
         {{"optTIME", 5}, {"optCPLX", 5}, {"optRELY", 4}},
         3.834599999999999},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        OpenScreen();
        Choose(c.choices);
        EXPECT_EQ(Continue(), c.eaf);
        forms::UnloadAll();
        Settle();
    }
}

TEST_F(CostDriverScreenTest, OnlyTheOfferedStepsAreEnabled) {
    OpenScreen();
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            SCOPED_TRACE(
                QStringLiteral("%1: %2").arg(Drivers[r].label, ColumnNames[k]).toStdString());
            EXPECT_EQ(Option(r, k)->isEnabled(), Offered[r][k]);
        }
    }
}

TEST_F(CostDriverScreenTest, DisabledButtonsCannotBeSelectedByMouseOrCode) {
    OpenScreen();
    Choose({{"OptACAP", 3}, {"optSTOR", 4}, {"optVIRT", 2}});
    const std::vector<int> before = Selection();
    const engine::DriverMultiplier multipliers = *Eaf().Multipliers();
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            if (Offered[r][k]) {
                continue;
            }
            SCOPED_TRACE(
                QStringLiteral("%1: %2").arg(Drivers[r].label, ColumnNames[k]).toStdString());
            Click(Eaf(), Drivers[r].array, static_cast<std::int16_t>(k));
            Option(r, k)->setChecked(true);
            Option(r, k)->click();
            Settle();
            EXPECT_FALSE(Option(r, k)->isChecked());
            Option(r, k)->setFocus();
            EXPECT_NE(Focused(), Option(r, k));
        }
    }
    EXPECT_EQ(Selection(), before);
    EXPECT_EQ(Eaf().Multipliers()->entries, multipliers.entries);
}

TEST_F(CostDriverScreenTest, ASelectionLeavesTheOtherRows) {
    OpenScreen();
    Choose({{"OptACAP", 0}, {"optCPLX", 5}, {"optDATA", 0}, {"optVIRT", 4}});
    std::vector<int> expected(Rows, -1);
    At(expected, RowOf("OptACAP")) = 0;
    At(expected, RowOf("optCPLX")) = 5;
    At(expected, RowOf("optDATA")) = 0;
    At(expected, RowOf("optVIRT")) = 4;
    EXPECT_EQ(Selection(), expected);

    Click(Eaf(), "optCPLX", 1);
    At(expected, RowOf("optCPLX")) = 1;
    EXPECT_EQ(Selection(), expected);
    EXPECT_EQ(Continue(), 1.6133);
}

TEST_F(CostDriverScreenTest, ClickingTheSelectedButtonAgainChangesNothing) {
    OpenScreen();
    Choose({{"optRELY", 4}, {"optTOOL", 0}});
    const double first = Continue();
    const std::vector<int> selected = Selection();
    Click(Eaf(), "optRELY", 4);
    Click(Eaf(), "optRELY", 4);
    EXPECT_EQ(Selection(), selected);
    EXPECT_EQ(Continue(), first);
}

TEST_F(CostDriverScreenTest, BackDiscardsTheRatingsForTheNextVisit) {
    OpenScreen();
    Choose({{"OptACAP", 0}, {"optSCED", 0}});
    Click(Eaf(), "cmdBack");
    EXPECT_FALSE(Get<frmEAF>().IsLoaded());
    EXPECT_EQ(forms::FrontForm(), &Get<frmMode>());
    EXPECT_EQ(Module1::EAF, 0.0);

    Click(Get<frmMode>(), "cmdEmbedded");
    EXPECT_EQ(Selection(), std::vector<int>(Rows, -1));
    EXPECT_EQ(Continue(), 1.0);
}

TEST_F(CostDriverScreenTest, BackOnLinesOfCodeShowsTheSameRatings) {
    OpenScreen();
    Choose({{"optAEXP", 4}, {"optLEXP", 0}, {"optTIME", 3}});
    const double eaf = Continue();
    EXPECT_EQ(eaf, 1.037628);
    const QWidget *window = Eaf().Window();
    const std::vector<int> selected = Selection();

    Click(Get<frmKLOC>(), "cmdBack");
    EXPECT_EQ(forms::FrontForm(), &Eaf());
    EXPECT_EQ(Eaf().Window(), window);
    EXPECT_EQ(Selection(), selected);
    Module1::EAF = 0.0;
    EXPECT_EQ(Continue(), eaf);

    // The user may change a rating and continue again.
    Click(Get<frmKLOC>(), "cmdBack");
    Click(Eaf(), "optLEXP", 2);
    EXPECT_EQ(Continue(), 0.9102);
}

TEST_F(CostDriverScreenTest, ALaterEstimateStartsFromTheEarlierRatings) {
    OpenScreen();
    Choose({{"optPCAP", 1}, {"optMODP", 3}});
    const double eaf = Continue();
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Click(Get<frmKLOC>(), "cmdCalculate");
    Click(Get<frmBasicResults>(), "cmdMainMenu");
    Click(Get<frmMain>(), "cmdIntermediate");
    Click(Get<frmMode>(), "cmdSemidetached");

    EXPECT_EQ(forms::FrontForm(), &Eaf());
    std::vector<int> expected(Rows, -1);
    At(expected, RowOf("optPCAP")) = 1;
    At(expected, RowOf("optMODP")) = 3;
    EXPECT_EQ(Selection(), expected);
    Module1::EAF = 0.0;
    EXPECT_EQ(Continue(), eaf);
}

TEST_F(CostDriverScreenTest, ArrowKeysMoveAlongTheRowSelectAndSkipDisabledButtons) {
    const struct {
        const char *array;
        int from;
        Qt::Key key;
        int to;
    } cases[] = {
        {"OptACAP", 0, Qt::Key_Right, 1}, {"OptACAP", 1, Qt::Key_Left, 0},
        {"OptACAP", 2, Qt::Key_Down, 3},  {"OptACAP", 3, Qt::Key_Up, 2},
        {"OptACAP", 4, Qt::Key_Right, 0}, // Extra High is skipped, the row wraps
        {"OptACAP", 0, Qt::Key_Left, 4},  {"optCPLX", 4, Qt::Key_Right, 5},
        {"optCPLX", 5, Qt::Key_Right, 0}, {"optSTOR", 2, Qt::Key_Left, 5},
        {"optSTOR", 5, Qt::Key_Right, 2}, {"optTURN", 1, Qt::Key_Left, 4},
        {"optTURN", 4, Qt::Key_Down, 1},  {"optLEXP", 3, Qt::Key_Right, 0},
        {"optVEXP", 0, Qt::Key_Up, 3},    {"optDATA", 1, Qt::Key_Left, 0},
    };
    OpenScreen();
    for (const auto &c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1(%2) key %3").arg(c.array).arg(c.from).arg(c.key).toStdString());
        const int r = RowOf(c.array);
        Click(Eaf(), c.array, static_cast<std::int16_t>(c.from));
        ASSERT_EQ(Focused(), Option(r, c.from));
        Key(c.key);
        EXPECT_EQ(Focused(), Option(r, c.to));
        EXPECT_TRUE(Option(r, c.to)->isChecked());
        EXPECT_EQ(At(Eaf().Multipliers()->entries, r), Multipliers[r][c.to]);
        EXPECT_EQ(At(Selection(), RowOf("optMODP")), -1);
    }
}

TEST_F(CostDriverScreenTest, KeyboardAloneRatesFromNoSelection) {
    OpenScreen();
    ASSERT_EQ(Focused(), Option(0, 0));
    Key(Qt::Key_Space);
    EXPECT_TRUE(Option(0, 0)->isChecked());
    EXPECT_EQ(At(Eaf().Multipliers()->entries, 0), 1.46);

    // An arrow key on a row with nothing selected selects the button it lands on.
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focused(), Option(1, 0));
    Key(Qt::Key_Right);
    EXPECT_TRUE(Option(1, 1)->isChecked());
    EXPECT_EQ(Continue(), 1.6497999999999997);
}

TEST_F(CostDriverScreenTest, TabStopsOncePerRowThenAtBackAndContinue) {
    OpenScreen();
    Choose({{"optCPLX", 4}, {"optSTOR", 5}});
    Option(0, 0)->setFocus();
    // The selected button of a row, else its first enabled one.
    std::vector<QWidget *> expected;
    for (int r = 0; r < Rows; ++r) {
        const int selected = At(Selection(), r);
        int first = 0;
        while (!Offered[r][first]) {
            ++first;
        }
        expected.push_back(Option(r, selected >= 0 ? selected : first));
    }
    expected.push_back(Eaf().Control("cmdBack"));
    expected.push_back(Eaf().Control("cmdContinue"));

    std::vector<QWidget *> visited{Focused()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        Key(Qt::Key_Tab);
        visited.push_back(Focused());
    }
    EXPECT_EQ(visited, expected);

    std::vector<QWidget *> back{Focused()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        Key(Qt::Key_Tab, Qt::ShiftModifier);
        back.push_back(Focused());
    }
    EXPECT_EQ(back, std::vector<QWidget *>(expected.rbegin(), expected.rend()));
}

// Rows the focus has not been in yet are entered at their first enabled button from either
// side, and a row selected while the focus is elsewhere is entered at its selection.
TEST_F(CostDriverScreenTest, ShiftTabEntersAnUntouchedRowAtItsFirstEnabledButton) {
    OpenScreen();
    Option(RowOf("optVEXP"), 2)->setChecked(true);
    Eaf().Control("cmdBack")->setFocus();
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Option(RowOf("optVIRT"), 1));
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Option(RowOf("optVEXP"), 2));
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Option(RowOf("optTURN"), 1));
}

TEST_F(CostDriverScreenTest, EveryButtonIsNamedByItsRowAndColumn) {
    OpenScreen();
    EXPECT_EQ(Option(0, 0)->accessibleName(), "ACAP Analyst Capability: Very Low, VL");
    EXPECT_EQ(Option(RowOf("optTIME"), 2)->accessibleName(),
              "TIME Exec Time Constraint: Nominal, N");
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            EXPECT_EQ(
                Option(r, k)->accessibleName(),
                QStringLiteral("%1: %2").arg(forms::SpokenName(Drivers[r].label), ColumnNames[k]));
            EXPECT_EQ(Option(r, k)->text(), "Option1");
        }
    }
}

TEST_F(CostDriverScreenTest, LayoutMatchesTheGivenTwips) {
    OpenScreen();
    const struct {
        const char *name;
        int index;
        forms::Twips twips;
        const char *caption;
    } controls[] = {
        {"Picture2", -1, {0, 240, 7335, 495}, nullptr},
        {"Label1", -1, {120, 120, 975, 255}, "Cost Driver"},
        {"Label2", -1, {2160, 0, 735, 495}, " Very Low (VL)"},
        {"Label3", -1, {3000, 0, 735, 495}, "     Low    (L)"},
        {"Label4", -1, {3840, 0, 735, 495}, " Nominal (N)"},
        {"Label5", -1, {4680, 0, 735, 495}, "   High    (H)"},
        {"Label6", -1, {5520, 0, 735, 495}, " Very High (VH)"},
        {"Label7", -1, {6360, 0, 735, 495}, "Extra High (EH)"},
        {"Picture1", 0, {0, 720, 7335, 375}, nullptr},
        {"Picture1", 14, {0, 5760, 7335, 375}, nullptr},
        {"OptACAP", 0, {2460, 60, 255, 255}, nullptr},
        {"optVIRT", 5, {6660, 60, 255, 255}, nullptr},
        {"cmdBack", -1, {2280, 6600, 1575, 375}, "Back"},
        {"cmdContinue", -1, {4200, 6600, 1575, 375}, "Continue"},
        {"Label23", -1, {1200, 7200, 4935, 255}, nullptr},
    };
    for (const auto &c : controls) {
        SCOPED_TRACE(QStringLiteral("%1(%2)").arg(c.name).arg(c.index).toStdString());
        QWidget *widget = Eaf().Control(c.name, static_cast<std::int16_t>(c.index));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), forms::ToPixels(c.twips));
        if (auto *label = qobject_cast<QLabel *>(widget); label != nullptr && c.caption) {
            EXPECT_EQ(label->text(), c.caption);
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            EXPECT_EQ(button->text(), c.caption);
            EXPECT_TRUE(button->font().bold());
        }
    }
    EXPECT_EQ(Eaf().Window()->size(), QSize(500, 495));

    for (int r = 0; r < Rows; ++r) {
        auto *strip = Eaf().Control("Picture1", static_cast<std::int16_t>(r));
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->geometry(), forms::ToPixels(forms::Twips{0, 720 + 360 * r, 7335, 375}));
        auto *label = Eaf().Control<QLabel>(QStringLiteral("Label%1").arg(8 + r));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), strip);
        EXPECT_EQ(label->text(), Drivers[r].label);
        EXPECT_EQ(label->geometry(), forms::ToPixels(forms::Twips{180, 60, 2175, 255}));
        for (int k = 0; k < Columns; ++k) {
            EXPECT_EQ(Option(r, k)->parentWidget(), strip);
            EXPECT_EQ(Option(r, k)->geometry(),
                      forms::ToPixels(forms::Twips{2460 + 840 * k, 60, 255, 255}));
        }
    }
}

TEST_F(CostDriverScreenTest, HeaderIsLightTextOnTheDesktopColourAndWraps) {
    OpenScreen();
    const QColor highlightText = QApplication::palette().color(QPalette::HighlightedText);
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        auto *label = Eaf().Control<QLabel>(QStringLiteral("Label%1").arg(n));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), Eaf().Control("Picture2"));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), highlightText);
        EXPECT_EQ(label->palette().color(QPalette::Window), forms::DesktopBackground);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                  n == 1 ? Qt::AlignLeft : Qt::AlignHCenter);
        if (n > 1) {
            EXPECT_TRUE(label->wordWrap());
        }
    }
    EXPECT_EQ(Eaf().Control("Picture2")->palette().color(QPalette::Window),
              forms::DesktopBackground);
    EXPECT_TRUE(Eaf().Control("Picture2")->autoFillBackground());
}

TEST_F(CostDriverScreenTest, IntermediateOrganicRunsFromEndToEnd) {
    OpenScreen();
    Click(Eaf(), "optPCAP", 1);
    Click(Eaf(), "cmdContinue");
    Type(Get<frmKLOC>(), "txtKLOC", "32000");
    Click(Get<frmKLOC>(), "cmdCalculate");
    frmBasicResults &results = Loaded<frmBasicResults>();
    EXPECT_EQ(results.Control<QLabel>("lblEffort")->text(), "142.48");
    EXPECT_EQ(results.Control<QLabel>("lblTDEV")->text(), "16.46");
    EXPECT_EQ(results.Control<QLabel>("lblAvg")->text(), "8.66");
}
