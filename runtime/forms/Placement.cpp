#include "runtime/forms/Placement.h"

#include "runtime/forms/WindowSystem.h"
#include "runtime/forms/X11.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace forms {
namespace {

// Room on every side that no window manager's frame takes: with this much to spare, a window
// fits whatever frame it gets, and placing it needs nothing but the screen's area.
constexpr int FrameBound = 64;

// Assumed when neither the platform nor the window manager tells: a thick title bar.
constexpr QMargins FrameAllowance{8, 40, 8, 8};

// A Wayland compositor tells its clients nothing of the panels on its outputs (GNOME's top
// bar, KDE's panel, weston's) and places windows clear of them: room for one is left.
constexpr int PanelAllowance = 48;

// The part of the screen a window can be given.
QRect AvailableArea(const QScreen *screen) {
    QRect available = screen->availableGeometry();
    if (CurrentWindowSystem() == WindowSystem::Wayland && available == screen->geometry()) {
        available.setTop(available.top() + PanelAllowance);
    }
    return available;
}

// The frame the window manager gives a form window, found out once for the run: every form
// window has the same decoration. Kept with the device pixel ratio it was found at.
std::optional<std::pair<qreal, QMargins>> &LearnedFrame() {
    static std::optional<std::pair<qreal, QMargins>> frame;
    return frame;
}

// Where Qt draws the frame itself (on Wayland), only a window on screen has it: the same on
// every form window shown at the same scale.
std::optional<QMargins> DrawnFrame(const QWidget *window) {
    for (const QWidget *shown : QApplication::topLevelWidgets()) {
        if (shown != window && shown->isVisible() &&
            shown->windowFlags() == window->windowFlags() &&
            shown->devicePixelRatioF() == window->devicePixelRatioF()) {
            if (const QMargins frame = shown->windowHandle()->frameMargins(); !frame.isNull()) {
                return frame;
            }
        }
    }
    return std::nullopt;
}

// The frame a window of this kind gets on its screen, found out on a window of the same kind
// that is never shown: the form's own window, once created, would be placed by its client
// area rather than by its frame.
QMargins FrameOf(const QWidget *window) {
    auto &learned = LearnedFrame();
    const qreal ratio = window->devicePixelRatioF();
    if (learned && learned->first == ratio) {
        return learned->second;
    }
    QWindow probe(window->screen());
    probe.setFlags(window->windowFlags());
    // Fixed in size like the forms, which some window managers frame without a resize grip.
    probe.setMinimumSize(window->size());
    probe.setMaximumSize(window->size());
    probe.create();
    // Platforms that draw the frame themselves know it before the window is shown.
    QMargins frame = probe.frameMargins();
    if (frame.isNull()) {
        const std::optional<QMargins> told = x11::FrameFromWindowManager(probe);
        if (told) {
            frame = *told;
        } else if (const std::optional<QMargins> drawn = DrawnFrame(window); drawn) {
            frame = *drawn;
        } else {
            return FrameAllowance;
        }
    }
    learned.emplace(ratio, frame);
    return frame;
}

// Scrolls the whole control into view with a little room around it, or its middle where
// that does not fit. (The scroll area's own ensureWidgetVisible shows only the text cursor of
// a text box.)
void Reveal(QScrollArea *area, const QWidget *control) {
    constexpr int margin = 8;
    const auto scroll = [](QScrollBar *bar, int start, int length, int view) {
        if (length + 2 * margin >= view) {
            bar->setValue(start + length / 2 - view / 2);
        } else if (start - margin < bar->value()) {
            bar->setValue(start - margin);
        } else if (start + length + margin > bar->value() + view) {
            bar->setValue(start + length + margin - view);
        }
    };
    const QRect r(control->mapTo(area->widget(), QPoint(0, 0)), control->size());
    scroll(area->horizontalScrollBar(), r.x(), r.width(), area->viewport()->width());
    scroll(area->verticalScrollBar(), r.y(), r.height(), area->viewport()->height());
}

} // namespace

Placement PlaceOnScreen(const QRect &available, const QSize &client, const QMargins &frame,
                        int scrollBar) {
    const int across = frame.left() + frame.right();
    const int down = frame.top() + frame.bottom();
    const int widest = std::max(1, available.width() - across);
    const int highest = std::max(1, available.height() - down);
    bool scrollsAcross = client.width() > widest;
    bool scrollsDown = client.height() > highest;
    // A scroll bar in one direction takes room in the other.
    scrollsDown = scrollsDown || (scrollsAcross && client.height() + scrollBar > highest);
    scrollsAcross = scrollsAcross || (scrollsDown && client.width() + scrollBar > widest);
    const QSize shown(scrollsAcross ? widest : client.width() + (scrollsDown ? scrollBar : 0),
                      scrollsDown ? highest : client.height() + (scrollsAcross ? scrollBar : 0));
    // The frame's top-left goes where it centres the client area, then as far back towards
    // the area's top-left as the frame's far edge needs, never beyond that top-left.
    const auto origin = [](int start, int length, int size, int frameExtra) {
        const int centred = start + (length - size) / 2;
        return std::max(start, std::min(centred, start + length - size - frameExtra));
    };
    return {{origin(available.x(), available.width(), shown.width(), across),
             origin(available.y(), available.height(), shown.height(), down)},
            shown};
}

QPoint ClearOf(const QRect &frame, const QRect &keep, const QRect &available) {
    // Far enough that the two do not read as one.
    constexpr int gap = 8;
    if (!frame.intersects(keep)) {
        return frame.topLeft();
    }
    const QRect below = frame.translated(0, keep.bottom() + 1 + gap - frame.top());
    if (available.contains(below)) {
        return below.topLeft();
    }
    const QRect above = frame.translated(0, keep.top() - gap - 1 - frame.bottom());
    if (available.contains(above)) {
        return above.topLeft();
    }
    return frame.topLeft();
}

void ScreenFit::Place() {
    const bool first = !layout_.isValid();
    QScreen *screen = first ? QGuiApplication::primaryScreen() : window_->screen();
    const QRect available = AvailableArea(screen);
    const qreal ratio = screen->devicePixelRatio();
    if (!first && screen == screen_ && available == available_ && ratio == ratio_) {
        return;
    }
    if (first) {
        layout_ = window_->size();
    }
    screen_ = screen;
    available_ = available;
    ratio_ = ratio;
    const QRect before = window_->frameGeometry();
    const QSize decoration = before.size() - window_->size();
    const QSize slack = (available.size() - layout_) / 2;
    const bool roomy = slack.width() >= FrameBound && slack.height() >= FrameBound;
    const QMargins frame = roomy ? QMargins() : FrameOf(window_);
    const Placement placement = PlaceOnScreen(
        available, layout_, frame, window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    if (placement.client == layout_) {
        Unscroll();
    } else {
        Scroll(placement.client);
    }
    // A window that has been on screen keeps its place while it still lies inside the area.
    const bool keeps = !first && window_->isVisible() &&
                       available.contains(QRect(before.topLeft(), placement.client + decoration));
    if (!keeps) {
        window_->move(placement.frameOrigin);
    }
}

void ScreenFit::Scroll(const QSize &viewport) {
    if (area_ == nullptr) {
        QWidget *focus = window_->focusWidget();
        auto *content = new QWidget;
        content->setFixedSize(layout_);
        area_ = new QScrollArea(window_);
        area_->setFrameShape(QFrame::NoFrame);
        area_->setFocusPolicy(Qt::NoFocus);
        // Put into the window first, so that the controls stay in the window's focus chain.
        area_->setWidget(content);
        const QObjectList children = window_->children();
        for (QObject *child : children) {
            auto *control = qobject_cast<QWidget *>(child);
            if (control != nullptr && control != area_ && !control->isWindow()) {
                control->setParent(content);
                control->show();
            }
        }
        if (focus != nullptr) {
            focus->setFocus();
        }
        QObject::connect(qApp, &QApplication::focusChanged, area_,
                         [area = area_.data()](QWidget *, QWidget *now) {
                             if (now != nullptr && area->widget()->isAncestorOf(now)) {
                                 // Deferred, to scroll by the viewport's size once laid out.
                                 QTimer::singleShot(0, area, [area, control = QPointer(now)] {
                                     if (control != nullptr) {
                                         Reveal(area, control);
                                     }
                                 });
                             }
                         });
        area_->show();
    }
    window_->setFixedSize(viewport);
    area_->setGeometry(QRect(QPoint(0, 0), viewport));
}

void ScreenFit::Unscroll() {
    if (area_ == nullptr) {
        return;
    }
    QWidget *focus = window_->focusWidget();
    const QObjectList children = area_->widget()->children();
    for (QObject *child : children) {
        if (auto *control = qobject_cast<QWidget *>(child); control != nullptr) {
            control->setParent(window_);
            control->show();
        }
    }
    delete area_;
    if (focus != nullptr) {
        focus->setFocus();
    }
    window_->setFixedSize(layout_);
}

} // namespace forms
