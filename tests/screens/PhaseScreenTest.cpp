#include "tests/screens/ScreenTest.h"

#include "runtime/forms/Colours.h"
#include "runtime/forms/Layout.h"
#include "screens/frmBasicResults.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"
#include "tests/support/PublishedTables.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <utility>
#include <vector>

using forms::Get;

namespace {

constexpr int Rows = published::PhaseCount;
constexpr int Columns = published::SizeColumnCount;

struct Screen {
    const char *name;
    const char *modeButton;
    frmPhase &(*form)();
    const double (*fractions)[Columns]; // the published distribution of the screen's mode
    double requirementsAlone;
};

const Screen Screens[] = {
    {"Organic", "cmdOrganic", []() -> frmPhase & { return Loaded<frmPhaseOrg>(); },
     published::Fractions[0], 5.0600000000000005},
    {"Semidetached", "cmdSemidetached", []() -> frmPhase & { return Loaded<frmPhaseSemi>(); },
     published::Fractions[1], 5.07},
    {"Embedded", "cmdEmbedded", []() -> frmPhase & { return Loaded<frmPhaseEmb>(); },
     published::Fractions[2], 5.08},
};

const Screen &Organic = Screens[0];
const Screen &Semidetached = Screens[1];
const Screen &Embedded = Screens[2];

struct PhaseRow {
    const char *strip;
    const char *label;
    const char *caption;
    forms::Twips labelTwips;
    const char *array;
};

const PhaseRow PhaseRows[Rows] = {
    {"Picture2", "Label6", "Requirements", {0, 60, 1815, 375}, "optRQ"},
    {"Picture3", "Label8", "Product Design", {0, 60, 1695, 255}, "optPD"},
    {"Picture4", "Label9", "Detailed Design", {0, 60, 1455, 375}, "optDD"},
    {"Picture5", "Label10", "Code and Unit Test", {0, 60, 1815, 375}, "optCT"},
    {"Picture6", "Label11", "Integration and Test", {0, 60, 1815, 375}, "optIT"},
    {"Picture7", "Label12", "Maintenance", {0, 60, 1815, 375}, "optMN"},
};

const char *const ColumnNames[Columns] = {"Small, 2 KDSI", "Intermediate, 8 KDSI",
                                          "Medium, 32 KDSI", "Large, 128 KDSI"};
constexpr int OptionLefts[Columns] = {2280, 3360, 4680, 6000};

// Element i of a standard container, counted the way the rows and columns are.
template <class C> decltype(auto) At(C &&c, int i) {
    return c[static_cast<std::size_t>(i)];
}

using Choices = std::vector<std::pair<int, int>>; // row, column

Choices AllIn(int column) {
    Choices choices;
    for (int r = 0; r < Rows; ++r) {
        choices.emplace_back(r, column);
    }
    return choices;
}

} // namespace

class PhaseScreenTest : public ScreenTest {
protected:
    // Main menu, Advanced Model, then the screen's mode.
    static frmPhase &OpenScreen(const Screen &screen) {
        Start();
        Click(Get<frmMain>(), "cmdAdvanced");
        Click(Get<frmMode>(), screen.modeButton);
        return screen.form();
    }

    static QRadioButton *Option(frmPhase &form, int row, int column) {
        return Loaded(form).Control<QRadioButton>(PhaseRows[row].array,
                                                  static_cast<std::int16_t>(column));
    }

    static void Choose(frmPhase &form, const Choices &choices) {
        for (const auto &[row, column] : choices) {
            Click(form, PhaseRows[row].array, static_cast<std::int16_t>(column));
        }
    }

    // The selected column of every row, -1 where none is.
    static std::vector<int> Selection(frmPhase &form) {
        std::vector<int> selected(Rows, -1);
        for (int r = 0; r < Rows; ++r) {
            for (int k = 0; k < Columns; ++k) {
                if (Option(form, r, k)->isChecked()) {
                    EXPECT_EQ(At(selected, r), -1) << "two buttons selected in row " << r;
                    At(selected, r) = k;
                }
            }
        }
        return selected;
    }

    static double Continue(frmPhase &form) {
        Click(form, "cmdContinue");
        return Module1::EAF;
    }

    static QWidget *Focused(frmPhase &form) { return Loaded(form).Window()->focusWidget(); }

    static void Key(frmPhase &form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focused = Focused(form);
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key, modifiers);
        Settle();
    }

    static void Restart() {
        forms::UnloadAll();
        Settle();
    }
};

TEST_F(PhaseScreenTest, UntouchedScreenStoresSixAndOpensLinesOfCode) {
    for (const Screen &screen : Screens) {
        SCOPED_TRACE(screen.name);
        frmPhase &form = OpenScreen(screen);
        EXPECT_EQ(form.Caption(), "Phase Distribution of Effort and Schedule");
        EXPECT_EQ(Selection(form), std::vector<int>(Rows, -1));
        EXPECT_EQ(Continue(form), 6.0);
        EXPECT_FALSE(form.IsLoaded());
        EXPECT_EQ(forms::FrontForm(), &Get<frmKLOC>());
        Restart();
    }
}

TEST_F(PhaseScreenTest, EveryButtonStoresItsColumnFraction) {
    for (const Screen &screen : Screens) {
        frmPhase &form = OpenScreen(screen);
        for (int r = 0; r < Rows; ++r) {
            for (int k = 0; k < Columns; ++k) {
                SCOPED_TRACE(QStringLiteral("%1 %2: %3")
                                 .arg(screen.name, PhaseRows[r].caption, ColumnNames[k])
                                 .toStdString());
                Click(form, PhaseRows[r].array, static_cast<std::int16_t>(k));
                EXPECT_TRUE(Option(form, r, k)->isChecked());
                EXPECT_EQ(At(form.Fractions()->entries, r), screen.fractions[r][k]);
            }
        }
        Restart();
    }
}

// Each pass reopens the screen through Back on the lines-of-code screen, which must load it
// afresh with nothing chosen.
TEST_F(PhaseScreenTest, RequirementsAloneAddsItsShareToFive) {
    for (const Screen &screen : Screens) {
        SCOPED_TRACE(screen.name);
        OpenScreen(screen);
        for (int k = 0; k < Columns; ++k) {
            SCOPED_TRACE(k);
            frmPhase &form = screen.form();
            EXPECT_EQ(Selection(form), std::vector<int>(Rows, -1));
            Click(form, "optRQ", static_cast<std::int16_t>(k));
            EXPECT_EQ(Continue(form), screen.requirementsAlone);
            Click(Get<frmKLOC>(), "cmdBack");
            EXPECT_EQ(forms::FrontForm(), &form);
        }
        EXPECT_EQ(Continue(screen.form()), 6.0);
        Restart();
    }
}

TEST_F(PhaseScreenTest, FactorIsTheSumOfTheChosenFractions) {
    const struct {
        const char *name;
        const Screen &screen;
        Choices choices;
        double eaf;
    } cases[] = {
        {"Organic, all small", Organic, AllIn(0), 2.0599999999999996},
        {"Semidetached, all intermediate", Semidetached, AllIn(1), 2.0700000000000003},
        {"Embedded, all large", Embedded, AllIn(3), 2.08},
        {"Organic, the largest mix",
         Organic,
         {{0, 2}, {1, 1}, {2, 0}, {3, 0}, {4, 3}, {5, 1}},
         2.15},
        {"Embedded, code and unit test small then large", Embedded, {{3, 0}, {3, 3}}, 5.26},
        {"Organic, requirements and product design", Organic, {{0, 3}, {1, 2}}, 4.22},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        frmPhase &form = OpenScreen(c.screen);
        Choose(form, c.choices);
        EXPECT_EQ(Continue(form), c.eaf);
        Restart();
    }
}

TEST_F(PhaseScreenTest, MaintenanceNeverChangesTheFactor) {
    for (const Screen &screen : Screens) {
        SCOPED_TRACE(screen.name);
        frmPhase &form = OpenScreen(screen);
        Click(form, "optRQ", 1);
        for (int k = 0; k < Columns; ++k) {
            Click(form, "optMN", static_cast<std::int16_t>(k));
            EXPECT_TRUE(Option(form, 5, k)->isChecked());
            EXPECT_EQ(At(form.Fractions()->entries, 5), 1.0);
        }
        EXPECT_EQ(Continue(form), screen.requirementsAlone);
        Restart();
    }
}

TEST_F(PhaseScreenTest, ASelectionLeavesTheOtherRowsAndRepeatingItChangesNothing) {
    frmPhase &form = OpenScreen(Semidetached);
    Choose(form, {{0, 3}, {2, 1}, {4, 0}});
    EXPECT_EQ(Selection(form), (std::vector<int>{3, -1, 1, -1, 0, -1}));
    Click(form, "optDD", 2);
    EXPECT_EQ(Selection(form), (std::vector<int>{3, -1, 2, -1, 0, -1}));
    const engine::PhaseEffort before = *form.Fractions();
    Click(form, "optDD", 2);
    EXPECT_EQ(Selection(form), (std::vector<int>{3, -1, 2, -1, 0, -1}));
    EXPECT_EQ(form.Fractions()->entries, before.entries);
}

TEST_F(PhaseScreenTest, BackShowsTheModeScreenAndLeavesTheFactor) {
    for (const Screen &screen : Screens) {
        SCOPED_TRACE(screen.name);
        frmPhase &first = OpenScreen(screen);
        Click(first, "optCT", 0);
        const double eaf = Continue(first);
        Click(Get<frmKLOC>(), "cmdBack");
        frmPhase &again = screen.form();
        Choose(again, AllIn(2));
        Click(again, "cmdBack");
        EXPECT_FALSE(again.IsLoaded());
        EXPECT_EQ(forms::FrontForm(), &Get<frmMode>());
        EXPECT_EQ(Module1::EAF, eaf);

        Click(Get<frmMode>(), screen.modeButton);
        EXPECT_EQ(Selection(screen.form()), std::vector<int>(Rows, -1));
        EXPECT_EQ(Continue(screen.form()), 6.0);
        Restart();
    }
}

TEST_F(PhaseScreenTest, BackWhileAnotherModelIsChosenShowsNothing) {
    frmPhase &form = OpenScreen(Embedded);
    // The mode screen underneath is still usable: back to the main menu, then Basic.
    Click(Get<frmMode>(), "cmdBack");
    Click(Get<frmMain>(), "cmdBasic");
    ASSERT_EQ(Module1::Model, 1);
    ASSERT_TRUE(form.IsLoaded());
    const std::vector<forms::Form *> before = Open();
    Module1::EAF = 1.5;

    Click(form, "cmdBack");
    EXPECT_FALSE(form.IsLoaded());
    std::vector<forms::Form *> expected;
    for (forms::Form *open : before) {
        if (open != &form) {
            expected.push_back(open);
        }
    }
    EXPECT_EQ(Open(), expected);
    EXPECT_EQ(Module1::EAF, 1.5);
}

TEST_F(PhaseScreenTest, LayoutMatchesTheGivenTwipsOnEveryScreen) {
    const struct {
        const char *name;
        forms::Twips twips;
        const char *caption;
    } controls[] = {
        {"Frame1", {120, 600, 7215, 3255}, "Phase Distribution"},
        {"Picture1", {120, 360, 6855, 495}, nullptr},
        {"Label1", {120, 60, 1695, 375}, "Phase"},
        {"Label2", {1920, 0, 975, 375}, "      Small       (2 KDSI)"},
        {"Label3", {3000, 0, 1095, 375}, "  Intermediate   (8 KDSI)"},
        {"Label4", {4200, 0, 1215, 375}, "     Medium     (32 KDSI)"},
        {"Label5", {5520, 0, 1215, 375}, "         Large         (128 KDSI)"},
        {"cmdBack", {2280, 4080, 1335, 375}, "Back"},
        {"cmdContinue", {3840, 4080, 1335, 375}, "Continue"},
        {"Label13", {1200, 4680, 5055, 255}, nullptr},
    };
    const QColor highlightText = QApplication::palette().color(QPalette::HighlightedText);
    for (const Screen &screen : Screens) {
        SCOPED_TRACE(screen.name);
        frmPhase &form = OpenScreen(screen);
        EXPECT_EQ(form.Window()->size(), QSize(500, 333));
        for (const auto &c : controls) {
            SCOPED_TRACE(c.name);
            QWidget *widget = form.Control(c.name);
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
        auto *frame = form.Control<QGroupBox>("Frame1");
        EXPECT_EQ(frame->title(), "Phase Distribution");
        EXPECT_TRUE(frame->font().bold());
        EXPECT_EQ(form.Control("Picture1")->parentWidget(), frame);
        for (int n = 1; n <= 5; ++n) {
            auto *label = form.Control<QLabel>(QStringLiteral("Label%1").arg(n));
            EXPECT_EQ(label->parentWidget(), form.Control("Picture1"));
            EXPECT_EQ(label->palette().color(QPalette::WindowText), highlightText);
            EXPECT_EQ(label->palette().color(QPalette::Window), forms::DesktopBackground);
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                      Qt::Alignment(n == 1 ? Qt::AlignLeft : Qt::AlignHCenter));
            EXPECT_TRUE(n == 1 || label->wordWrap());
        }
        for (int r = 0; r < Rows; ++r) {
            const PhaseRow &row = PhaseRows[r];
            SCOPED_TRACE(row.caption);
            QWidget *strip = form.Control(row.strip);
            ASSERT_NE(strip, nullptr);
            EXPECT_EQ(strip->parentWidget(), frame);
            EXPECT_EQ(strip->geometry(),
                      forms::ToPixels(forms::Twips{120, 840 + 360 * r, 6855, 375}));
            auto *label = form.Control<QLabel>(row.label);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->parentWidget(), strip);
            EXPECT_EQ(label->text(), row.caption);
            EXPECT_TRUE(label->font().bold());
            EXPECT_EQ(label->geometry(), forms::ToPixels(row.labelTwips));
            for (int k = 0; k < Columns; ++k) {
                QRadioButton *option = Option(form, r, k);
                ASSERT_NE(option, nullptr);
                EXPECT_EQ(option->parentWidget(), strip);
                EXPECT_EQ(option->geometry(),
                          forms::ToPixels(forms::Twips{OptionLefts[k], 60, 255, 195}));
                EXPECT_EQ(option->text(), "Option1");
                EXPECT_TRUE(option->isEnabled());
            }
        }
        Restart();
    }
}

TEST_F(PhaseScreenTest, TabOrderRunsRowByRowThenBackAndContinue) {
    frmPhase &form = OpenScreen(Organic);
    std::vector<QWidget *> expected;
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            expected.push_back(Option(form, r, k));
        }
    }
    expected.push_back(form.Control("cmdBack"));
    expected.push_back(form.Control("cmdContinue"));
    std::vector<QWidget *> chain;
    for (QWidget *w = expected.front(); chain.size() < expected.size(); w = w->nextInFocusChain()) {
        if (qobject_cast<QAbstractButton *>(w) != nullptr) {
            chain.push_back(w);
        }
    }
    EXPECT_EQ(chain, expected);

    // Tab itself stops once per row: at the selected button, else at the first.
    Choose(form, {{1, 2}, {4, 3}});
    Option(form, 0, 0)->setFocus();
    const std::vector<QWidget *> stops{Option(form, 0, 0),      Option(form, 1, 2),
                                       Option(form, 2, 0),      Option(form, 3, 0),
                                       Option(form, 4, 3),      Option(form, 5, 0),
                                       form.Control("cmdBack"), form.Control("cmdContinue")};
    std::vector<QWidget *> visited{Focused(form)};
    for (std::size_t i = 1; i < stops.size(); ++i) {
        Key(form, Qt::Key_Tab);
        visited.push_back(Focused(form));
    }
    EXPECT_EQ(visited, stops);
}

TEST_F(PhaseScreenTest, KeyboardSelectionRunsTheHandler) {
    frmPhase &form = OpenScreen(Embedded);
    ASSERT_EQ(Focused(form), Option(form, 0, 0));
    Key(form, Qt::Key_Tab);
    Key(form, Qt::Key_Tab);
    Key(form, Qt::Key_Tab);
    ASSERT_EQ(Focused(form), Option(form, 3, 0));
    Key(form, Qt::Key_Space);
    EXPECT_EQ(At(form.Fractions()->entries, 3), 0.32);
    const struct {
        Qt::Key key;
        int column;
    } steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 2}, {Qt::Key_Right, 3},
                 {Qt::Key_Right, 0}, {Qt::Key_Left, 3}, {Qt::Key_Up, 2}};
    for (const auto &step : steps) {
        SCOPED_TRACE(step.column);
        Key(form, step.key);
        EXPECT_EQ(Focused(form), Option(form, 3, step.column));
        EXPECT_EQ(Selection(form), (std::vector<int>{-1, -1, -1, step.column, -1, -1}));
        EXPECT_EQ(At(form.Fractions()->entries, 3), Embedded.fractions[3][step.column]);
    }
    EXPECT_EQ(Continue(form), 5.28);
}

TEST_F(PhaseScreenTest, EveryButtonIsNamedByItsRowAndColumn) {
    frmPhase &form = OpenScreen(Semidetached);
    EXPECT_EQ(Option(form, 3, 2)->accessibleName(), "Code and Unit Test: Medium, 32 KDSI");
    for (int r = 0; r < Rows; ++r) {
        for (int k = 0; k < Columns; ++k) {
            EXPECT_EQ(Option(form, r, k)->accessibleName(),
                      QStringLiteral("%1: %2").arg(PhaseRows[r].caption, ColumnNames[k]));
        }
    }
}

TEST_F(PhaseScreenTest, AdvancedEstimatesRunFromEndToEnd) {
    const struct {
        const Screen &screen;
        Choices choices;
        const char *lines;
        const char *effort;
        const char *tdev;
        const char *staffing;
    } cases[] = {
        {Organic, {{0, 0}, {2, 1}, {3, 2}, {4, 3}}, "12345", "131.69", "15.97", "8.24"},
        {Semidetached, AllIn(2), "50000", "496.52", "21.95", "22.62"},
        {Embedded, {{3, 0}, {3, 3}, {4, 3}}, "8000", "155.16", "12.56", "12.35"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.screen.name);
        frmPhase &form = OpenScreen(c.screen);
        Choose(form, c.choices);
        Click(form, "cmdContinue");
        Type(Get<frmKLOC>(), "txtKLOC", c.lines);
        Click(Get<frmKLOC>(), "cmdCalculate");
        frmBasicResults &results = Loaded<frmBasicResults>();
        EXPECT_EQ(results.Control<QLabel>("lblEffort")->text(), c.effort);
        EXPECT_EQ(results.Control<QLabel>("lblTDEV")->text(), c.tdev);
        EXPECT_EQ(results.Control<QLabel>("lblAvg")->text(), c.staffing);
        Restart();
    }
}
