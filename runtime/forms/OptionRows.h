#pragma once

class QWidget;

namespace forms {

// Gives every row of option buttons in a freshly built window (the buttons that share one
// container) the keyboard behaviour of a Windows option group:
// - the row is one Tab stop: its selected button, or its first enabled one while none is;
// - the arrow keys move to the next enabled button of the row, wrapping at its ends, and
//   select it (Left and Up go back, Right and Down go on);
// - a disabled button can never become selected, not even by code.
// Selections made this way go through the buttons' own toggled signal, like mouse clicks.
void AttachOptionRows(QWidget *window);

} // namespace forms
