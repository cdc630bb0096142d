#pragma once

#include <QMargins>
#include <QPointer>
#include <QRect>

class QScreen;
class QScrollArea;
class QWidget;

namespace forms {

// Where a window's frame goes and how large a client area it gets.
struct Placement {
    QPoint frameOrigin; // what QWidget::move takes for a top-level
    QSize client;       // the layout's client area, or less where the window must scroll

    bool operator==(const Placement &) const = default;
};

// A client area centred on the available area as the forms always were (the frame's top-left
// at the point that centres the client), then moved so that the frame lies inside the area.
// Where the frame cannot fit whole, its top-left comes first and the client area shrinks to
// what the area leaves, scroll bars included (scrollBar: their thickness).
Placement PlaceOnScreen(const QRect &available, const QSize &client, const QMargins &frame,
                        int scrollBar);

// Where a window whose frame is at frame goes so that it leaves keep uncovered: where it is
// when it covers no part of keep, else just below keep, else just above it, as long as it
// stays inside the available area there; where neither fits, it stays.
QPoint ClearOf(const QRect &frame, const QRect &keep, const QRect &available);

// Keeps a form's window on its screen. Every control of a window larger than the available
// area stays reachable: only such a window gets its controls put into a scroll area, which
// follows the keyboard focus.
class ScreenFit {
public:
    explicit ScreenFit(QWidget *window)
        : window_(window) {}

    // Before each showing. The first places the window on the primary screen; a later one
    // places it again only when its screen, or that screen's area or scale, has changed.
    void Place();

private:
    void Scroll(const QSize &viewport);
    void Unscroll();

    QWidget *window_;
    QSize layout_;
    QPointer<QScreen> screen_;
    QRect available_;
    qreal ratio_ = 0;
    QPointer<QScrollArea> area_;
};

} // namespace forms
