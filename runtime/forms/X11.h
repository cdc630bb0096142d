#pragma once

#include <QMargins>

#include <optional>

class QWidget;
class QWindow;

// What only the X server itself can tell, where Qt does not: the one place that speaks to it.
namespace forms::x11 {

// Whether the program is an X client (on X11 or under Xwayland).
bool Connected();

// The frame an X11 window manager will give the window, which is not mapped yet; none where
// no window manager says.
std::optional<QMargins> FrameFromWindowManager(const QWindow &window);

// Whether the X keyboard focus is on the window.
bool HasKeyboard(const QWidget &window);

} // namespace forms::x11
