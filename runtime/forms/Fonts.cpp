#include "runtime/forms/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace forms {
namespace {

// Narrower than Liberation Sans, tried in this order. Liberation Sans Narrow keeps Arial
// Narrow's widths; DejaVu Sans Condensed's shallower descenders fit two lines into boxes
// drawn for exactly two lines of the Windows font.
const char *const NarrowerFamilies[] = {"Liberation Sans Narrow", "DejaVu Sans Condensed"};

struct Substitution {
    const char *family;
    const char *face;
};

// "MS Sans Serif" and "Tahoma" have no Linux font and no fontconfig alias; Liberation Sans
// has Arial's metrics, which keeps the captions within the boxes drawn for them.
constexpr Substitution Substitutions[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
};

int measured = 0;

int FlagsOf(const ControlSpec &c) {
    return static_cast<int>(AlignmentOf(c.align)) | (c.wordWrap ? Qt::TextWordWrap : 0);
}

// The smallest q for which q * ratio is a whole number; 0 when there is none up to 16.
int PixelGridPeriod(qreal ratio) {
    for (int q = 1; q <= 16; ++q) {
        const qreal device = q * ratio;
        if (std::abs(device - std::round(device)) < 1e-9) {
            return q;
        }
    }
    return 0;
}

// Whether the caption, drawn in the font as a label of that size and flags draws it, stays
// whole inside the label. The answer depends on nothing the user does, so it is worked out
// once per run.
bool Fits(const QFont &font, const QSize &box, int flags, const QString &text, qreal ratio) {
    static QHash<QString, bool> decided;
    const QString key = QStringLiteral("%1|%2|%3x%4|%5|%6|")
                            .arg(font.key())
                            .arg(font.hintingPreference())
                            .arg(box.width())
                            .arg(box.height())
                            .arg(flags)
                            .arg(ratio) +
                        text;
    if (const auto known = decided.constFind(key); known != decided.cend()) {
        return *known;
    }
    ++measured;
    const QRect rect(QPoint(0, 0), box);
    const bool fits = QFontMetrics(font).boundingRect(rect, flags, text).width() <= box.width() &&
                      InkOutside(font, rect, flags, text, ratio) == 0;
    decided.insert(key, fits);
    return fits;
}

} // namespace

void PrepareFontRendering() {
    if (!qEnvironmentVariableIsSet("FREETYPE_PROPERTIES")) {
        qputenv("FREETYPE_PROPERTIES", "truetype:interpreter-version=35");
    }
}

void RegisterFontSubstitutions() {
    for (const Substitution &s : Substitutions) {
        QFont::insertSubstitution(QString::fromLatin1(s.family), QString::fromLatin1(s.face));
    }
}

bool LayoutFacesInstalled() {
    return std::any_of(std::begin(Substitutions), std::end(Substitutions),
                       [](const Substitution &s) {
                           return QFontInfo(ToQFont({s.family, Regular.points, false})).family() ==
                                  QLatin1String(s.face);
                       });
}

QFont ToQFont(const Font &font) {
    QFont f(QString::fromLatin1(font.family));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

int InkOutside(const QFont &font, const QRect &box, int flags, const QString &text, qreal ratio) {
    const QFontMetrics metrics(font);
    // Room for the whole text on one line beside the box, or one line per word below it:
    // where the text stands in the canvas fixes where its glyphs fall on the pixel grid.
    const int room = metrics.horizontalAdvance(text) +
                     metrics.lineSpacing() * (static_cast<int>(text.count(u' ')) + 2);
    // Ink reaches beyond the laid-out lines by less than a line and the widest glyph. Only
    // that much room is kept, less whole device pixels, so the glyphs fall on the same grid.
    const QRect local(QPoint(0, 0), box.size());
    const QRect laid = metrics.boundingRect(local, flags, text);
    const int reach = metrics.height() + metrics.maxWidth() +
                      std::max({0, -laid.left(), -laid.top(), laid.right() - local.right(),
                                laid.bottom() - local.bottom()});
    int margin = room;
    if (const int period = PixelGridPeriod(ratio); period > 0 && room > reach) {
        margin -= period * ((room - reach) / period);
    }
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

Qt::Alignment AlignmentOf(Align align) {
    switch (align) {
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

std::vector<QFont> FittedFonts(const Layout &layout, qreal ratio) {
    std::vector<QFont> fonts;
    fonts.reserve(layout.controls.size());
    QHash<QString, std::vector<std::size_t>> columns;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlSpec &c = layout.controls[i];
        fonts.push_back(ToQFont(c.font));
        if (c.kind == Kind::Label && !c.caption.isEmpty()) {
            const QSize box = ToPixels(c.geometry).size();
            columns[QStringLiteral("%1 %2x%3 %4")
                        .arg(fonts.back().key())
                        .arg(box.width())
                        .arg(box.height())
                        .arg(FlagsOf(c))]
                .push_back(i);
        }
    }
    for (const std::vector<std::size_t> &column : std::as_const(columns)) {
        const auto fitsIn = [&](const QFont &font) {
            return std::all_of(column.begin(), column.end(), [&](std::size_t i) {
                const ControlSpec &c = layout.controls[i];
                return Fits(font, ToPixels(c.geometry).size(), FlagsOf(c), c.caption, ratio);
            });
        };
        const QFont font = fonts[column.front()];
        if (fitsIn(font)) {
            continue;
        }
        for (const char *family : NarrowerFamilies) {
            QFont narrower = font;
            narrower.setFamily(QString::fromLatin1(family));
            // Where it still fits, fully hinted: the thin stems of "ili" stay apart.
            narrower.setHintingPreference(QFont::PreferFullHinting);
            if (!fitsIn(narrower)) {
                narrower.setHintingPreference(font.hintingPreference());
            }
            if (fitsIn(narrower)) {
                for (const std::size_t i : column) {
                    fonts[i] = narrower;
                }
                break;
            }
        }
    }
    return fonts;
}

int CaptionsMeasured() {
    return measured;
}

} // namespace forms
