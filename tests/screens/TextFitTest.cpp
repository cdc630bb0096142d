#include "tests/screens/ScreenTest.h"

#include "engine/Estimate.h"
#include "runtime/forms/Colours.h"
#include "runtime/forms/Fonts.h"
#include "runtime/forms/Preparation.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>

#include <functional>
#include <sstream>

using forms::Get;

namespace {

struct Screen {
    const char *name;
    std::function<forms::Form &()> open;
};

template <class F> forms::Form &Open() {
    forms::Dispatch(nullptr, [] { forms::Show<F>(); });
    return Get<F>();
}

// The results screen with the longest captions its model can have and the widest figures
// any size gives: the largest size the conversion accepts.
template <std::int16_t Model, std::int16_t Mode> forms::Form &OpenResults() {
    Module1::Model = Model;
    Module1::Mode = Mode;
    Module1::EAF = 1.0;
    engine::CalculateEstimate("2147483647");
    return Open<frmBasicResults>();
}

const Screen Screens[] = {
    {"frmMain", Open<frmMain>},
    {"frmMode", Open<frmMode>},
    {"frmEAF", Open<frmEAF>},
    {"frmPhaseOrg", Open<frmPhaseOrg>},
    {"frmPhaseSemi", Open<frmPhaseSemi>},
    {"frmPhaseEmb", Open<frmPhaseEmb>},
    {"frmKLOC", Open<frmKLOC>},
    {"frmBasicResultsBasicOrganic", OpenResults<1, 1>},
    {"frmBasicResultsIntermediateSemidetached", OpenResults<2, 2>},
    {"frmBasicResultsAdvancedEmbedded", OpenResults<3, 3>},
};

void PrintTo(const Screen &screen, std::ostream *out) {
    *out << screen.name;
}

std::string Describe(const QWidget *widget) {
    std::ostringstream out;
    out << widget->objectName().toStdString();
    const QVariant index = widget->property("Index");
    if (index.isValid()) {
        out << '(' << index.toInt() << ')';
    }
    return out.str();
}

void ExpectLabelFits(const QLabel *label) {
    if (label->text().isEmpty()) {
        return;
    }
    const QRect box = label->contentsRect();
    const int flags =
        static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label->fontMetrics().boundingRect(box, flags, label->text());
    EXPECT_LE(needed.width(), box.width())
        << Describe(label) << " \"" << label->text().toStdString() << "\" in "
        << QFontInfo(label->font()).family().toStdString() << " is " << needed.width()
        << " px wide in a " << box.width() << " px box";
    EXPECT_EQ(
        forms::InkOutside(label->font(), box, flags, label->text(), label->devicePixelRatioF()), 0)
        << Describe(label) << " \"" << label->text().toStdString() << "\" in "
        << QFontInfo(label->font()).family().toStdString() << " is drawn beyond its " << box.width()
        << " x " << box.height() << " px box (needs " << needed.width() << " x " << needed.height()
        << ")";
}

void ExpectButtonFits(const QPushButton *button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle *style = button->style();
    const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    EXPECT_LE(text.width() + 2 * margin, contents.width())
        << Describe(button) << " \"" << button->text().toStdString() << "\"";
    EXPECT_LE(text.height(), contents.height())
        << Describe(button) << " \"" << button->text().toStdString() << "\"";
}

void ExpectFrameCaptionFits(const QGroupBox *frame) {
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.textAlignment = frame->alignment();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect caption = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
    // Styles may draw the caption bolder than the frame's own font.
    QFont bold = frame->font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(frame->title());
    EXPECT_TRUE(frame->rect().contains(caption))
        << Describe(frame) << " \"" << frame->title().toStdString() << "\"";
    EXPECT_LE(width, caption.width())
        << Describe(frame) << " \"" << frame->title().toStdString() << "\"";
}

// What a label is painted on: the nearest widget, itself included, that fills its own
// background, else the window.
QColor BackgroundOf(const QWidget *widget) {
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow()) {
            return w->palette().color(QPalette::Active, QPalette::Window);
        }
    }
    return {};
}

template <class Row> std::string NameOf(const testing::TestParamInfo<Row> &row) {
    return row.param.name;
}

class LookTest : public ScreenTest, public testing::WithParamInterface<Screen> {};

TEST_P(LookTest, EveryCaptionFitsItsControl) {
    forms::Form &form = Loaded(GetParam().open());
    Settle();
    const QWidget *window = form.Window();
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        ExpectLabelFits(label);
    }
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        ExpectButtonFits(button);
    }
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        ExpectFrameCaptionFits(frame);
    }
}

// The layouts' Windows families resolve to installed substitutes, never to a fallback face
// of fontconfig's choosing; the row captions of the cost-driver screen, too wide for
// Liberation Sans, are all set in its narrow face.
TEST_P(LookTest, EveryLabelIsSetInAnInstalledSubstitute) {
    forms::Form &form = Loaded(GetParam().open());
    Settle();
    const QStringList substitutes = {"Liberation Sans", "Liberation Sans Narrow",
                                     "DejaVu Sans Condensed"};
    for (const QLabel *label : form.Window()->findChildren<QLabel *>()) {
        const QString family = QFontInfo(label->font()).family();
        EXPECT_TRUE(substitutes.contains(family))
            << Describe(label) << ": " << family.toStdString();
        if (label->parentWidget()->objectName() == "Picture1" &&
            GetParam().name == std::string("frmEAF")) {
            EXPECT_EQ(family.toStdString(), "Liberation Sans Narrow") << Describe(label);
        }
    }
}

// Palettes a theme or colour scheme may change to while the screens are open: window, text,
// greyed text, highlight and highlighted text.
struct Scheme {
    const char *name;
    QRgb colours[5];
};
const Scheme Schemes[] = {
    {"the theme's own", {}},
    {"dark text on the highlight", {0xefefef, 0x000000, 0xbebebe, 0x308cc6, 0x202020}},
    {"dark", {0x353535, 0xeeeeec, 0x7f7f7f, 0x3584e4, 0xffffff}},
    {"high contrast inverse", {0x000000, 0xffffff, 0x5f5f5f, 0x1a5fb4, 0x000000}},
};

// The header strips' light text on the dark strip, the highlight-coloured titles and
// footers on the form, the greyed heading of the development-mode screen and every other
// label stay readable, in each palette.
TEST_P(LookTest, EveryLabelIsReadable) {
    forms::Form &form = Loaded(GetParam().open());
    const QPalette theme = QApplication::palette();
    for (const Scheme &scheme : Schemes) {
        SCOPED_TRACE(scheme.name);
        if (&scheme != Schemes) {
            QPalette palette{QColor(scheme.colours[0]), QColor(scheme.colours[0])};
            palette.setColor(QPalette::WindowText, scheme.colours[1]);
            palette.setColor(QPalette::Disabled, QPalette::WindowText, scheme.colours[2]);
            palette.setColor(QPalette::Highlight, scheme.colours[3]);
            palette.setColor(QPalette::HighlightedText, scheme.colours[4]);
            QApplication::setPalette(palette);
        }
        Settle();
        for (const QLabel *label : form.Window()->findChildren<QLabel *>()) {
            const QColor text = label->palette().color(
                label->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
            const QColor background = BackgroundOf(label);
            EXPECT_TRUE(label->text().isEmpty() || forms::ContrastRatio(text, background) >= 4.5)
                << Describe(label) << " \"" << label->text().toStdString() << "\" "
                << text.name().toStdString() << " on " << background.name().toStdString();
        }
    }
    QApplication::setPalette(theme);
}

INSTANTIATE_TEST_SUITE_P(AllScreens, LookTest, testing::ValuesIn(Screens), NameOf<Screen>);

// Deciding the faces draws captions. The main menu pays for its own at start-up; every other
// screen is prepared once the main menu has painted, so that no load, first or later, waits
// for a caption to be measured. Meaningful in a process of its own (ctest runs it so), where
// nothing was measured before.
TEST_F(ScreenTest, ScreensPreparedAfterTheFirstPaintLoadWithoutMeasuring) {
    forms::Dispatch(nullptr, [] { forms::Show<frmMain>(); });
    const int atStart = forms::CaptionsMeasured();
    const int preparedBefore = forms::FormsPrepared();
    forms::PrepareAfterFirstPaint({&Get<frmMode>(), &Get<frmEAF>(), &Get<frmPhaseOrg>(),
                                   &Get<frmKLOC>(), &Get<frmBasicResults>()});
    // One form a pass of the event loop, however long each takes.
    EXPECT_TRUE(QTest::qWaitFor(
        [preparedBefore] { return forms::FormsPrepared() == preparedBefore + 5; }, 30000));
    const int prepared = forms::CaptionsMeasured();
    EXPECT_GT(prepared, atStart);
    for (int pass = 0; pass < 2; ++pass) {
        forms::UnloadAll();
        for (const Screen &screen : Screens) {
            screen.open();
            Settle();
            EXPECT_EQ(forms::CaptionsMeasured(), prepared) << screen.name << ", pass " << pass;
        }
    }
}

struct Substitution {
    const char *name;
    forms::Font font;
    const char *resolved;
    friend void PrintTo(const Substitution &row, std::ostream *os) { *os << row.name; }
};

class FontTest : public testing::TestWithParam<Substitution> {};

TEST_P(FontTest, ResolvesToAnInstalledFamily) {
    const Substitution &s = GetParam();
    EXPECT_EQ(QFontInfo(forms::ToQFont(s.font)).family().toStdString(), s.resolved);
}

INSTANTIATE_TEST_SUITE_P(
    LayoutFonts, FontTest,
    testing::Values(Substitution{"MsSansSerif", forms::Regular, "Liberation Sans"},
                    Substitution{"MsSansSerifBold", forms::Bold, "Liberation Sans"},
                    Substitution{
                        "MsSansSerifTitle", {"MS Sans Serif", 24, true}, "Liberation Sans"},
                    Substitution{"Tahoma", {"Tahoma", 9.75, false}, "Liberation Sans"},
                    Substitution{"Arial", {"Arial", 12, true}, "Liberation Sans"}),
    NameOf<Substitution>);

} // namespace
