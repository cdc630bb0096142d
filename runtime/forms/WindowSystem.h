#pragma once

class QWidget;

namespace forms {

// What the desktop lets a program do with its own windows. An X11 window manager raises and
// activates a window when asked; a Wayland compositor does neither, and Xwayland's window
// managers (weston's, mutter's) pass the keyboard to a window they were asked to activate
// without raising it. Every one of them puts a window that is newly mapped in front of the
// others and gives it the keyboard.
enum class WindowSystem { X11, Xwayland, Wayland };
WindowSystem CurrentWindowSystem();

// Shows a window that is not on screen yet, in front and active.
void ShowInFront(QWidget *window);

// Brings a window that is on screen to the front, active and with the keyboard focus. Where
// the window system does not raise on request, the window is mapped afresh: its controls,
// their state and its focus widget stay as they are.
void BringForward(QWidget *window);

} // namespace forms
