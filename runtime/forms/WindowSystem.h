#pragma once

#include <functional>

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

// Runs then once the window manager has given the front window the keyboard, or at once where
// there is nothing to wait for. An X11 window manager that is asked to activate one window
// while another is unmapped may handle the unmap first and pass the focus down its own focus
// chain, to a window left beneath: KWin does. Windows leaving the screen therefore go only
// when the keyboard is where it was asked to be; a window manager that refuses is waited for
// no longer than a person would notice.
void AfterKeyboardArrives(const QWidget *front, std::function<void()> then);

} // namespace forms
