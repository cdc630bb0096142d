#include "runtime/forms/ScreenText.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace forms {
namespace {

struct Piece {
    QRect place; // in the window
    QString text;
};

bool NamesARow(const QLabel *label) {
    const QWidget *container = label->parentWidget();
    return container != nullptr &&
           !container->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly).isEmpty();
}

std::vector<Piece> Pieces(const QWidget *window) {
    std::vector<Piece> pieces;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window)) {
            continue;
        }
        const QPoint at = widget->mapTo(window, QPoint(0, 0));
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            if (!NamesARow(label)) {
                pieces.push_back({QRect(at, label->size()), Spoken(label->text())});
            }
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(widget)) {
            // The caption stands on the frame's top edge, one line high.
            pieces.push_back({QRect(at, QSize(frame->width(), frame->fontMetrics().height())),
                              Spoken(frame->title())});
        }
    }
    pieces.erase(std::remove_if(pieces.begin(), pieces.end(),
                                [](const Piece &piece) { return piece.text.isEmpty(); }),
                 pieces.end());
    return pieces;
}

} // namespace

QString ScreenText(const QWidget *window) {
    std::vector<Piece> pieces = Pieces(window);
    std::sort(pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) {
        return a.place.center().y() < b.place.center().y();
    });
    // Pieces whose middles lie within half a piece's height of the line's first share its
    // line, whatever the heights of their boxes.
    QStringList lines;
    for (auto first = pieces.begin(); first != pieces.end();) {
        const auto end = std::find_if(first, pieces.end(), [&first](const Piece &piece) {
            return piece.place.center().y() - first->place.center().y() >
                   std::min(first->place.height(), piece.place.height()) / 2;
        });
        std::sort(first, end,
                  [](const Piece &a, const Piece &b) { return a.place.left() < b.place.left(); });
        QStringList words;
        for (auto piece = first; piece != end; ++piece) {
            words.append(piece->text);
        }
        QString line = words.join(QLatin1Char(' '));
        if (!line.endsWith(QLatin1Char('.')) && !line.endsWith(QLatin1Char(':'))) {
            line += QLatin1Char('.');
        }
        lines.append(line);
        first = end;
    }
    return lines.join(QLatin1Char(' '));
}

QString Spoken(const QString &caption) {
    static const QRegularExpression bracketed(QStringLiteral("\\s*\\(([^()]*)\\)"));
    return caption.simplified().replace(bracketed, QStringLiteral(", \\1"));
}

QString SpokenName(const QString &caption) {
    static const QRegularExpression abbreviated(QStringLiteral("(\\p{L})\\.(?:\\s+|$)"));
    static const QRegularExpression joined(QStringLiteral("(\\p{L})\\.(\\p{L})"));
    return Spoken(caption)
        .replace(joined, QStringLiteral("\\1 \\2"))
        .replace(abbreviated, QStringLiteral("\\1 "))
        .trimmed();
}

} // namespace forms
