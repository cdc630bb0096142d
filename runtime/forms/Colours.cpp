#include "runtime/forms/Colours.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace forms {
namespace {

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &c) {
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

} // namespace

QColor ReadableOn(const QColor &colour, const QColor &background, double contrast) {
    // Black or white reach at least 4.58:1 on any background. Mixing in the one that reads
    // better, no more of it than needed, keeps the colour's own hue.
    const QColor end = ContrastRatio(Qt::black, background) > ContrastRatio(Qt::white, background)
                           ? QColor(Qt::black)
                           : QColor(Qt::white);
    constexpr int Steps = 256;
    QColor mixed = colour;
    for (int step = 1; step <= Steps && ContrastRatio(mixed, background) < contrast; ++step) {
        const auto toward = [step](int from, int to) {
            return from + (to - from) * step / Steps;
        };
        mixed = QColor(toward(colour.red(), end.red()), toward(colour.green(), end.green()),
                       toward(colour.blue(), end.blue()));
    }
    return mixed;
}

QColor ColourOf(SystemColour colour) {
    const QPalette palette = QApplication::palette();
    switch (colour) {
    case SystemColour::Highlight:
        return ReadableOn(palette.color(QPalette::Highlight), palette.color(QPalette::Window),
                          TextAim);
    case SystemColour::HighlightText:
        return ReadableOn(palette.color(QPalette::HighlightedText), DesktopBackground, TextAim);
    case SystemColour::DesktopBackground:
        return DesktopBackground;
    case SystemColour::Default:
        break;
    }
    return {};
}

QColor GreyedText() {
    const QPalette palette = QApplication::palette("QLabel");
    return ReadableOn(palette.color(QPalette::Disabled, QPalette::WindowText),
                      palette.color(QPalette::Window), TextAim);
}

double ContrastRatio(const QColor &a, const QColor &b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace forms
