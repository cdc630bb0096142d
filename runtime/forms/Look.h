#pragma once

#include "Layout.h"

#include <QColor>
#include <QFont>

namespace forms {

// Registers the substitutes for the Windows fonts the layouts name. Call once, after the
// application object exists and before the first form loads.
void RegisterFontSubstitutions();

QFont ToQFont(const Font &font);

// The colour a layout's system colour stands for, from the application palette. The
// highlight colour used for text is darkened where needed to stay readable on the
// window background.
QColor ColourOf(SystemColour colour);

// Qt has no desktop-background role: one fixed dark blue, readable under light text.
inline const QColor DesktopBackground{0x00, 0x4E, 0x98};

// WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b);

} // namespace forms
