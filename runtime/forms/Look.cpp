#include "Look.h"

#include <QApplication>
#include <QPalette>

#include <cmath>

namespace forms {
namespace {

double Linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &c) {
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

// The minimum contrast for normal-size text.
constexpr double ReadableContrast = 4.5;

QColor ReadableOn(QColor text, const QColor &background) {
    while (ContrastRatio(text, background) < ReadableContrast && text.lightness() > 0) {
        text = text.darker(110);
    }
    return text;
}

} // namespace

void RegisterFontSubstitutions() {
    // "MS Sans Serif" and "Tahoma" have no Linux font and no fontconfig alias; Liberation
    // Sans has Arial's metrics, which keeps the captions within the boxes drawn for them.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

QFont ToQFont(const Font &font) {
    QFont f(QString::fromLatin1(font.family));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

QColor ColourOf(SystemColour colour) {
    const QPalette palette = QApplication::palette();
    switch (colour) {
    case SystemColour::Highlight:
        return ReadableOn(palette.color(QPalette::Highlight), palette.color(QPalette::Window));
    case SystemColour::HighlightText:
        return palette.color(QPalette::HighlightedText);
    case SystemColour::DesktopBackground:
        return DesktopBackground;
    case SystemColour::Default:
        break;
    }
    return {};
}

double ContrastRatio(const QColor &a, const QColor &b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace forms
