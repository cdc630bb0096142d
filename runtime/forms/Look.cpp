#include "Look.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <vector>

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

// Narrower than Liberation Sans, tried in this order. Liberation Sans Narrow keeps Arial
// Narrow's widths; DejaVu Sans Condensed's shallower descenders fit two lines into boxes
// drawn for exactly two lines of the Windows font.
const char *const NarrowerFamilies[] = {"Liberation Sans Narrow", "DejaVu Sans Condensed"};

int LabelFlags(const QLabel *label) {
    return static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
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

int InkOutside(const QFont &font, const QRect &box, int flags, const QString &text, qreal ratio) {
    const QFontMetrics metrics(font);
    // Room for the whole text on one line beside the box, or one line per word below it.
    const int margin = metrics.horizontalAdvance(text) +
                       metrics.lineSpacing() * (static_cast<int>(text.count(u' ')) + 2);
    const QRect placed(margin, margin, box.width(), box.height());
    const QSize logical = box.size() + QSize(2 * margin, 2 * margin);
    QImage canvas(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(placed, flags | Qt::TextDontClip, text);
    }
    const QRectF inside(QPointF(placed.topLeft()) * ratio, QSizeF(placed.size()) * ratio);
    int outside = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) > 0 && !inside.contains(x + 0.5, y + 0.5)) {
                ++outside;
            }
        }
    }
    return outside;
}

void FitCaptions(QWidget *window) {
    QHash<QString, std::vector<QLabel *>> columns;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().isEmpty()) {
            const QSize size = label->contentsRect().size();
            columns[QStringLiteral("%1 %2x%3 %4")
                        .arg(label->font().key())
                        .arg(size.width())
                        .arg(size.height())
                        .arg(LabelFlags(label))]
                .push_back(label);
        }
    }
    for (const std::vector<QLabel *> &column : std::as_const(columns)) {
        const auto fitsIn = [&column](const QFont &font) {
            return std::all_of(column.begin(), column.end(), [&font](const QLabel *label) {
                const QRect box = label->contentsRect();
                return QFontMetrics(font)
                               .boundingRect(box, LabelFlags(label), label->text())
                               .width() <= box.width() &&
                       InkOutside(font, box, LabelFlags(label), label->text(),
                                  label->devicePixelRatioF()) == 0;
            });
        };
        const QFont font = column.front()->font();
        if (fitsIn(font)) {
            continue;
        }
        for (const char *family : NarrowerFamilies) {
            QFont narrower = font;
            narrower.setFamily(QString::fromLatin1(family));
            if (fitsIn(narrower)) {
                for (QLabel *label : column) {
                    label->setFont(narrower);
                }
                break;
            }
        }
    }
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
