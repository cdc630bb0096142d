#pragma once

class QString;
class QWidget;

namespace forms {

// What a window shows in words besides what its controls say of themselves: its labels and
// frame captions as speech should say them, line by line from the top and from the left
// within a line, the lines ending in a full stop. A label beside option buttons in their
// container names the row, which its buttons' names say already; it is left out.
QString ScreenText(const QWidget *window);

// A caption as a screen reader should say it: blanks that place words on the screen
// collapsed, and a bracketed abbreviation set off by a comma ("Very Low (VL)" becomes
// "Very Low, VL"), since speech reads brackets out.
QString Spoken(const QString &caption);
// The same for a control's name, which holds no sentences: the periods of abbreviations go
// too ("Exec. Time" becomes "Exec Time"), since speech pauses at them as at a full stop.
QString SpokenName(const QString &caption);

} // namespace forms
