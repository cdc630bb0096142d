#pragma once

#include "runtime/forms/Layout.h"

#include <QFont>

#include <vector>

namespace forms {

// Has FreeType hint the stems of fully hinted text across as well as up, as its classic
// TrueType interpreter does: the narrower faces below are drawn so, and without it the thin
// stems of "ili" fall between pixels and blur into one grey stroke. Call before the
// application object exists.
void PrepareFontRendering();

// Registers the substitutes for the Windows fonts the layouts name. Call once, after the
// application object exists and before the first form loads.
void RegisterFontSubstitutions();

// Whether any family the layouts name resolves to the face registered for it; where none
// does, fontconfig draws the texts in whatever it finds, or in boxes.
bool LayoutFacesInstalled();

QFont ToQFont(const Font &font);

// Pixels touched by the text's ink outside the box when drawn as a label draws it (into the
// box, with the label's alignment and wrapping flags, at the device pixel ratio) but
// unclipped: a label cuts off whatever this counts.
int InkOutside(const QFont &font, const QRect &box, int flags, const QString &text, qreal ratio);

// How a label of the layouts aligns its caption.
Qt::Alignment AlignmentOf(Align align);

// The font of each control of the layout, in layout order, at the device pixel ratio. The
// Linux substitutes run wider than the Windows fonts the boxes were drawn for: where a
// caption would be cut off, its label gets the same size and weight in a narrower family,
// fully hinted where that fits too. Labels of one size and font (a column of row captions)
// change together, so that a column keeps one face. Each caption is measured once per font,
// box and ratio for the rest of the run, so the same layout costs only lookups after the
// first time.
std::vector<QFont> FittedFonts(const Layout &layout, qreal ratio);

// How many times a caption has been measured in this run.
int CaptionsMeasured();

} // namespace forms
