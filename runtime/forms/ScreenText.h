#pragma once

class QString;
class QWidget;

namespace forms {

// What a window shows in words besides what its controls say of themselves: its labels and
// frame captions as speech should say them, line by line from the top and from the left
// within a line, the lines ending in a full stop. A label beside option buttons in their
// container names the row, which its buttons' names say already; it is left out.
QString ScreenText(const QWidget *window);

} // namespace forms
