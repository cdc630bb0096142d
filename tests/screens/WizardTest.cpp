#include "tests/screens/WizardTest.h"

#include "runtime/forms/Colours.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <utility>

using forms::Get;

namespace {

QString CaptionOf(QWidget *widget) {
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        return label->text();
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        return button->text();
    }
    if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        return frame->title();
    }
    return {};
}

} // namespace

void WizardTest::Do(const Step &step, CallSite where) {
    forms::Form &form = FormNamed(step.form);
    if (step.typed != nullptr) {
        Type(form, step.control, step.typed, where);
    } else {
        Click(form, step.control, -1, where);
    }
}

void WizardTest::DoAll(const std::vector<Step> &steps, CallSite where) {
    for (const Step &step : steps) {
        Do(step, where);
    }
}

std::vector<std::string> WizardTest::OpenNames() {
    std::vector<std::string> names;
    for (const forms::Form *form : forms::LoadedForms()) {
        names.push_back(NameOf(form));
    }
    return names;
}

std::string WizardTest::FrontName() {
    return NameOf(forms::FrontForm());
}

bool WizardTest::AnyWindowVisible() {
    for (const QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return true;
        }
    }
    return false;
}

void WizardTest::Estimate(int model, int mode, const char *size) {
    Start();
    Do({"frmMain", ModelButton[model]});
    Do({"frmMode", ModeButton[mode]});
    if (model == 2) {
        Do({"frmEAF", "cmdContinue"});
    } else if (model == 3) {
        Do({PhaseScreen[mode], "cmdContinue"});
    }
    Do({"frmKLOC", "txtKLOC", size});
    Do({"frmKLOC", "cmdCalculate"});
}

QString WizardTest::Shown(const char *label) {
    auto *widget = Get<frmBasicResults>().Control<QLabel>(label);
    return widget == nullptr ? QStringLiteral("(results not open)") : widget->text();
}

QString WizardTest::ResolvedFamily(const QFont &font) {
    return QFontInfo(font).family();
}

QString WizardTest::FallbackFamily() {
    return ResolvedFamily(QFont(QStringLiteral("No Such Family Anywhere")));
}

void WizardTest::ExpectControl(const forms::Form &form, const ControlRow &row) {
    SCOPED_TRACE(row.name);
    QWidget *widget = form.Control<QWidget>(row.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), row.name);
    EXPECT_STREQ(widget->metaObject()->className(), row.kind);
    EXPECT_EQ(widget->geometry(), forms::ToPixels(row.geometry));
    EXPECT_EQ(widget->parentWidget(),
              row.container == nullptr ? form.Window() : form.Control<QWidget>(row.container));
    if (row.caption) {
        EXPECT_EQ(CaptionOf(widget), *row.caption);
    }
    const QFont font = widget->font();
    EXPECT_EQ(font.family(), row.family);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), row.points);
    EXPECT_EQ(font.bold(), row.bold);
    const QString resolved = ResolvedFamily(font);
    EXPECT_TRUE(QFontDatabase::families().contains(resolved)) << resolved.toStdString();
    EXPECT_NE(resolved, FallbackFamily()) << row.family << " falls back";
    EXPECT_EQ(widget->isEnabled(), row.enabled);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, row.align);
        if (row.wraps) {
            EXPECT_TRUE(label->wordWrap());
        }
        const QColor text = label->palette().color(QPalette::Active, QPalette::WindowText);
        const QColor plain = QApplication::palette().color(QPalette::Active, QPalette::WindowText);
        if (row.highlight) {
            EXPECT_EQ(text, forms::ColourOf(forms::SystemColour::Highlight));
            EXPECT_NE(text, plain);
        } else {
            EXPECT_EQ(text, plain);
        }
    }
}

void WizardTest::ExpectWindow(const forms::Form &form, const QString &caption) {
    QWidget *window = form.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(window->size(), QSize(500, 333));
    EXPECT_EQ(window->minimumSize(), QSize(500, 333));
    EXPECT_EQ(window->maximumSize(), QSize(500, 333));
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    const QRect available = window->screen()->availableGeometry();
    // Centred up to the window decoration, whose size is only known once the window is shown.
    const QSize decoration = window->frameGeometry().size() - window->size();
    EXPECT_LE((window->geometry().center() - available.center()).manhattanLength(),
              decoration.width() + decoration.height());
}

std::vector<std::string> WizardTest::TabStops(const forms::Form &form, const char *first) {
    std::vector<std::string> stops;
    QWidget *start = form.Control<QWidget>(first);
    if (start == nullptr) {
        ADD_FAILURE() << "no control " << first;
        return stops;
    }
    QWidget *widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled() &&
            widget->window() == form.Window()) {
            stops.push_back(widget->objectName().toStdString());
        }
        widget = widget->nextInFocusChain();
    } while (widget != start && stops.size() < 64);
    return stops;
}

std::string WizardTest::FocusedName(const forms::Form &form) {
    if (!QTest::qWaitForWindowActive(Loaded(form).Window())) {
        return "(window never became active)";
    }
    const QWidget *focused = QApplication::focusWidget();
    return focused == nullptr ? "(no focus)" : focused->objectName().toStdString();
}
