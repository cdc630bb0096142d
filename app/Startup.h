#pragma once

#include <QString>

#include <optional>
#include <vector>

// Qt ends a start-up that finds no windowing platform it can use with a fatal message, which
// aborts the program (and writes a core file), after warnings from each platform it tried.
// Held from before the application object is created, Qt's start-up messages become one line
// of the program's own instead: which display or platform could not be opened and what to do.
namespace startup {

// Holds Qt's messages from now on; a fatal one ends the program with that line and status 1.
void HoldQtMessages();
// Passes the messages held so far on to Qt's own output, and every later one straight there.
void ReleaseQtMessages();

// The line for a start-up that failed after these messages, in the order Qt gave them; the
// displays named are those of DISPLAY and WAYLAND_DISPLAY.
QString FailureLine(const std::vector<QString> &warnings);

// A Wayland display named by a relative WAYLAND_DISPLAY has its socket in XDG_RUNTIME_DIR;
// without one, libwayland would say so in a line of its own and Qt would go on to X11 with
// warnings, or fail without naming the cause. Where Qt would only have tried Wayland first and
// an X display is set, the start goes to X11 at once; where Wayland cannot be reached and
// nothing else would be tried, this is the line for the failed start.
std::optional<QString> AvoidUnreachableWayland();

} // namespace startup
