#pragma once

#include "runtime/forms/Layout.h"

#include <QColor>

namespace forms {

// The contrast the forms' own colours aim at against what they are drawn on: a little above
// WCAG's least (4.5:1 for text, 3:1 for circles and focus marks), since smoothed text never
// quite reaches its colour on the screen and some styles paint a shade off their palette.
inline constexpr double TextAim = 5.0;
inline constexpr double GraphicAim = 3.5;

// The colour taken toward black or white, whichever the background needs, just as far as it
// must go to reach the contrast.
QColor ReadableOn(const QColor &colour, const QColor &background, double contrast);

// The colour a layout's system colour stands for, from the application palette. The
// colours of text stay readable on what the layouts draw them on: the highlight on the
// window, the highlight text on the desktop background.
QColor ColourOf(SystemColour colour);

// A disabled label's text: the theme's grey, readable on the window all the same.
QColor GreyedText();

// Qt has no desktop-background role: one fixed dark blue, readable under light text.
inline const QColor DesktopBackground{0x00, 0x4E, 0x98};

// WCAG contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b);

} // namespace forms
