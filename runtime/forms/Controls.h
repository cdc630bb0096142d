#pragma once

#include "runtime/forms/Layout.h"

#include <QHash>
#include <QString>

#include <cstdint>

class QWidget;

namespace forms {

// How a form keeps its controls: by name, and an element of a control array by its name
// and Index.
inline QString ControlKey(const QString &name, std::int16_t index) {
    return index < 0 ? name : name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// Creates the layout's controls in the window, as the layout gives them: kind, caption,
// geometry, font, colours, enabled state and tab order, the first control that takes the
// focus focused. Returns them by ControlKey.
QHash<QString, QWidget *> BuildControls(QWidget *window, const Layout &layout);

// Gives the control the colours its layout names, from the application's palette as it is
// now; again whenever the palette changes.
void ApplyColours(QWidget *widget, const ControlSpec &c);

} // namespace forms
