#include "tests/screens/ScreenTest.h"

#include "engine/Estimate.h"
#include "runtime/forms/Placement.h"
#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmMain.h"
#include "screens/frmMode.h"
#include "screens/frmPhase.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <algorithm>
#include <functional>
#include <ostream>

using forms::Get;

// Found by argument-dependent lookup, so they belong with Qt's types.
void PrintTo(const QPoint &point, std::ostream *out) {
    *out << '(' << point.x() << ", " << point.y() << ')';
}
void PrintTo(const QSize &size, std::ostream *out) {
    *out << size.width() << 'x' << size.height();
}

namespace {

template <class Row> std::string NameOf(const testing::TestParamInfo<Row> &row) {
    return row.param.name;
}

struct PlaceRow {
    const char *name;
    QRect available;
    QSize client;
    QMargins frame;
    QPoint origin; // of the frame
    QSize shown;   // the client area the window gets
};

void PrintTo(const PlaceRow &row, std::ostream *out) {
    *out << row.name;
}

constexpr int ScrollBar = 14;

const PlaceRow Places[] = {
    // The frame's top-left where the client area is centred, as the forms always were.
    {"RoomyScreenKeepsTheCentredPlace",
     {0, 0, 1280, 1024},
     {500, 333},
     {1, 20, 1, 1},
     {390, 345},
     {500, 333}},
    {"PanelAboveShiftsTheCentre",
     {0, 30, 1280, 994},
     {500, 495},
     {1, 20, 1, 1},
     {390, 279},
     {500, 495}},
    {"SecondScreenToTheRight",
     {1280, 0, 1024, 768},
     {500, 333},
     {1, 20, 1, 1},
     {1542, 217},
     {500, 333}},
    {"FrameWouldLeaveTheBottomMovesUp",
     {0, 0, 512, 384},
     {500, 360},
     {1, 20, 1, 1},
     {6, 3},
     {500, 360}},
    {"FrameWouldLeaveTheRightMovesLeft",
     {0, 0, 512, 384},
     {502, 300},
     {4, 20, 4, 4},
     {2, 42},
     {502, 300}},
    // Too tall: from the top, the client area as high as the area leaves and a vertical bar.
    {"TallerScrollsDownFromTheTop",
     {0, 0, 640, 480},
     {500, 495},
     {1, 20, 1, 1},
     {63, 0},
     {514, 459}},
    {"WiderScrollsAcrossFromTheLeft",
     {0, 0, 480, 640},
     {500, 333},
     {1, 20, 1, 1},
     {0, 146},
     {478, 347}},
    {"VerticalBarMakesItTooWideToo",
     {0, 0, 512, 384},
     {500, 495},
     {1, 10, 1, 1},
     {0, 0},
     {510, 373}},
    {"HorizontalBarMakesItTooHighToo",
     {0, 0, 426, 341},
     {500, 333},
     {0, 7, 0, 0},
     {0, 0},
     {426, 334}},
    {"SmallOffsetAreaStartsAtItsTopLeft",
     {100, 30, 400, 300},
     {500, 333},
     {1, 20, 1, 1},
     {100, 30},
     {398, 279}},
};

class PlaceOnScreen : public testing::TestWithParam<PlaceRow> {};

TEST_P(PlaceOnScreen, PutsTheFrameInsideTheAvailableArea) {
    const PlaceRow &row = GetParam();
    const forms::Placement placement =
        forms::PlaceOnScreen(row.available, row.client, row.frame, ScrollBar);
    EXPECT_EQ(placement.frameOrigin, row.origin);
    EXPECT_EQ(placement.client, row.shown);
    EXPECT_TRUE(
        row.available.contains(QRect(placement.frameOrigin, placement.client.grownBy(row.frame))));
}

INSTANTIATE_TEST_SUITE_P(Rects, PlaceOnScreen, testing::ValuesIn(Places), NameOf<PlaceRow>);

struct ClearRow {
    const char *name;
    QRect frame;
    QRect keep;
    QRect available;
    QPoint origin;
};

void PrintTo(const ClearRow &row, std::ostream *out) {
    *out << row.name;
}

const ClearRow Clears[] = {
    {"ClearOfItStays", {0, 0, 100, 50}, {200, 200, 10, 10}, {0, 0, 1024, 768}, {0, 0}},
    {"CoveringItGoesBelow",
     {100, 100, 300, 150},
     {150, 120, 100, 30},
     {0, 0, 1024, 768},
     {100, 158}},
    {"NoRoomBelowGoesAbove",
     {100, 100, 300, 150},
     {150, 200, 100, 30},
     {0, 0, 640, 300},
     {100, 42}},
    {"NoRoomEitherWayStays", {0, 20, 300, 150}, {10, 80, 50, 30}, {0, 0, 640, 200}, {0, 20}},
};

class ClearOf : public testing::TestWithParam<ClearRow> {};

TEST_P(ClearOf, LeavesTheRectangleUncovered) {
    const ClearRow &row = GetParam();
    EXPECT_EQ(forms::ClearOf(row.frame, row.keep, row.available), row.origin);
}

INSTANTIATE_TEST_SUITE_P(Rects, ClearOf, testing::ValuesIn(Clears), NameOf<ClearRow>);

// The screens on the screen this process was given (its offscreen configuration and
// QT_SCALE_FACTOR), each with the client area its layout gives it, in pixels.
struct Screen {
    const char *name;
    std::function<forms::Form &()> open;
    QSize layout;
};

void PrintTo(const Screen &screen, std::ostream *out) {
    *out << screen.name;
}

template <class F> forms::Form &Open() {
    forms::Dispatch(nullptr, [] { forms::Show<F>(); });
    return Get<F>();
}

forms::Form &OpenResults() {
    Module1::Model = 2;
    Module1::Mode = 2;
    Module1::EAF = 1.0;
    engine::CalculateEstimate("32000");
    return Open<frmBasicResults>();
}

const Screen Screens[] = {
    {"frmMain", Open<frmMain>, {500, 333}},
    {"frmMode", Open<frmMode>, {500, 333}},
    {"frmEAF", Open<frmEAF>, {500, 495}},
    {"frmPhaseOrg", Open<frmPhaseOrg>, {500, 333}},
    {"frmPhaseSemi", Open<frmPhaseSemi>, {500, 333}},
    {"frmPhaseEmb", Open<frmPhaseEmb>, {500, 333}},
    {"frmKLOC", Open<frmKLOC>, {500, 333}},
    {"frmBasicResults", OpenResults, {500, 333}},
};

// The controls of the layout that hold no other: what the user reads, types into or presses.
std::vector<QWidget *> Leaves(const QWidget *window) {
    std::vector<QWidget *> leaves;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const auto named = [](const QWidget *w) {
            return !w->objectName().isEmpty() && !w->objectName().startsWith("qt_");
        };
        const QList<QWidget *> inside = widget->findChildren<QWidget *>();
        if (named(widget) && std::none_of(inside.begin(), inside.end(), named)) {
            leaves.push_back(widget);
        }
    }
    return leaves;
}

// The part of a control that its containers let it draw (a label may reach beyond its form),
// in the window's coordinates. A scroll area's viewport shows only part of what it holds, so
// the containers inside it clip, not the viewport.
QRect Drawn(const QWidget *control, const QWidget *viewport) {
    const QWidget *window = control->window();
    QRect drawn(control->mapTo(window, QPoint(0, 0)), control->size());
    for (const QWidget *w = control->parentWidget(); w != nullptr && w != viewport;
         w = w->parentWidget()) {
        drawn &= QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    }
    return drawn;
}

// Whether the view shows the rectangle, or as much of it as the view can hold.
bool InView(const QRect &view, const QRect &shown) {
    const auto covers = [](int viewStart, int viewLength, int start, int length) {
        return length <= viewLength
                   ? start >= viewStart && start + length <= viewStart + viewLength
                   : start <= viewStart && start + length >= viewStart + viewLength;
    };
    return covers(view.x(), view.width(), shown.x(), shown.width()) &&
           covers(view.y(), view.height(), shown.y(), shown.height());
}

class OnThisScreen : public ScreenTest, public testing::WithParamInterface<Screen> {
protected:
    // The screen's window, shown and active; nullptr where it never became active.
    static QWidget *Opened() {
        QWidget *window = GetParam().open().Window();
        Settle();
        return window != nullptr && QTest::qWaitForWindowActive(window) ? window : nullptr;
    }
};

TEST_P(OnThisScreen, FrameStartsOnTheScreenAndEveryControlCanBeBroughtIntoView) {
    QWidget *window = Opened();
    ASSERT_NE(window, nullptr);
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    SCOPED_TRACE(QStringLiteral("%1x%2 at %3, frame %4,%5 %6x%7")
                     .arg(available.width())
                     .arg(available.height())
                     .arg(window->devicePixelRatioF())
                     .arg(frame.x())
                     .arg(frame.y())
                     .arg(frame.width())
                     .arg(frame.height())
                     .toStdString());
    EXPECT_TRUE(available.contains(frame.topLeft()));
    EXPECT_TRUE(available.contains(frame));

    auto *area = window->findChild<QScrollArea *>();
    const QWidget *viewport = area != nullptr ? area->viewport() : nullptr;
    const QRect view = viewport != nullptr
                           ? QRect(viewport->mapTo(window, QPoint(0, 0)), viewport->size())
                           : window->rect();
    for (QWidget *control : Leaves(window)) {
        SCOPED_TRACE(control->objectName().toStdString());
        if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus) != 0) {
            // The keyboard brings a control into view by focusing it, from wherever the
            // focus was.
            control->clearFocus();
            control->setFocus(Qt::TabFocusReason);
            Settle();
            EXPECT_EQ(QApplication::focusWidget(), control);
        } else if (area != nullptr) {
            area->ensureWidgetVisible(control, 0, 0);
        }
        const QRect shown = Drawn(control, viewport);
        EXPECT_TRUE(InView(view, shown));
        EXPECT_TRUE(available.contains((view & shown).translated(window->geometry().topLeft())));
    }
}

// Where the frame fits, nothing changes: the layout's client area, centred as it always was
// unless the frame would reach beyond the area's far edges.
TEST_P(OnThisScreen, WindowThatFitsKeepsItsSizeAndCentredPlace) {
    QWidget *window = Opened();
    ASSERT_NE(window, nullptr);
    const QRect available = window->screen()->availableGeometry();
    const QSize decoration = window->frameGeometry().size() - window->size();
    const QSize layout = GetParam().layout;
    if (layout.width() + decoration.width() > available.width() ||
        layout.height() + decoration.height() > available.height()) {
        EXPECT_NE(window->findChild<QScrollArea *>(), nullptr);
        return;
    }
    EXPECT_EQ(window->findChild<QScrollArea *>(), nullptr);
    EXPECT_EQ(window->size(), layout);
    const QPoint centred(available.x() + (available.width() - layout.width()) / 2,
                         available.y() + (available.height() - layout.height()) / 2);
    if (available.contains(QRect(centred, layout + decoration))) {
        EXPECT_EQ(window->frameGeometry().topLeft(), centred);
    }
    // Where the title bar offers maximizing anyway (Qt's own on Wayland), nothing changes.
    window->setWindowState(Qt::WindowMaximized);
    Settle();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), layout);
}

INSTANTIATE_TEST_SUITE_P(AllScreens, OnThisScreen, testing::ValuesIn(Screens), NameOf<Screen>);

// Two screens side by side, the second too small for the cost-driver screen.
TEST_F(ScreenTest, WindowTakenToASmallerScreenIsPlacedAgainAtItsNextShow) {
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "needs the two-screen offscreen configuration";
    forms::Dispatch(nullptr, [] { forms::Show<frmEAF>(); });
    Settle();
    QWidget *window = Loaded<frmEAF>().Window();
    ASSERT_EQ(window->screen(), screens[0]);
    EXPECT_EQ(window->findChild<QScrollArea *>(), nullptr);
    const QRect small = screens[1]->availableGeometry();
    window->move(small.topLeft() + QPoint(10, 10));
    Settle();
    ASSERT_EQ(window->screen(), screens[1]);
    forms::Dispatch(nullptr, [] { forms::Show<frmEAF>(); });
    Settle();
    EXPECT_NE(window->findChild<QScrollArea *>(), nullptr);
    EXPECT_TRUE(small.contains(window->frameGeometry()));

    window->move(screens[0]->availableGeometry().topLeft() + QPoint(10, 10));
    Settle();
    forms::Dispatch(nullptr, [] { forms::Show<frmEAF>(); });
    Settle();
    EXPECT_EQ(window->findChild<QScrollArea *>(), nullptr);
    EXPECT_EQ(window->size(), QSize(500, 495));
    EXPECT_EQ(window->frameGeometry().topLeft(),
              screens[0]->availableGeometry().topLeft() + QPoint(10, 10));
}

} // namespace
