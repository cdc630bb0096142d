#include "runtime/forms/OptionRows.h"

#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace forms {
namespace {

// Lives as a child of the row's container, so it goes when the window is discarded.
class OptionRow : public QObject {
public:
    OptionRow(QWidget *container, std::vector<QRadioButton *> buttons)
        : QObject(container)
        , buttons_(std::move(buttons)) {
        std::sort(buttons_.begin(), buttons_.end(),
                  [](const QRadioButton *a, const QRadioButton *b) { return a->x() < b->x(); });
        for (QRadioButton *button : buttons_) {
            // Qt lets code check a disabled radio button; one that cannot be checked at all
            // stays clear whatever calls it.
            button->setCheckable(button->isEnabled());
            button->installEventFilter(this);
            connect(button, &QAbstractButton::toggled, this, [this] { UpdateTabStop(); });
        }
        UpdateTabStop();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            Step(watched, false);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            Step(watched, true);
            return true;
        default:
            return false;
        }
    }

private:
    void Step(QObject *from, bool forward) {
        const auto at = std::find(buttons_.begin(), buttons_.end(), from);
        if (at == buttons_.end()) {
            return;
        }
        const std::size_t count = buttons_.size();
        const auto start = static_cast<std::size_t>(at - buttons_.begin());
        for (std::size_t step = 1; step <= count; ++step) {
            QRadioButton *next =
                buttons_[forward ? (start + step) % count : (start + count - step) % count];
            if (next->isEnabled()) {
                next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                if (!next->isChecked()) {
                    next->click();
                }
                return;
            }
        }
    }

    // Tab and Shift+Tab stop once per row; the other buttons still take focus on a click.
    // Qt narrows a row to one stop only once the focus has been inside it, so Shift+Tab
    // would otherwise enter an untouched row at its last button.
    void UpdateTabStop() {
        const auto checked = std::find_if(buttons_.begin(), buttons_.end(),
                                          [](const QRadioButton *b) { return b->isChecked(); });
        const auto stop = checked != buttons_.end()
                              ? checked
                              : std::find_if(buttons_.begin(), buttons_.end(),
                                             [](const QRadioButton *b) { return b->isEnabled(); });
        for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
            (*it)->setFocusPolicy(it == stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }

    std::vector<QRadioButton *> buttons_;
};

} // namespace

void AttachOptionRows(QWidget *window) {
    QHash<QWidget *, std::vector<QRadioButton *>> rows;
    for (QRadioButton *button : window->findChildren<QRadioButton *>()) {
        rows[button->parentWidget()].push_back(button);
    }
    for (auto row = rows.begin(); row != rows.end(); ++row) {
        new OptionRow(row.key(), std::move(row.value()));
    }
}

} // namespace forms
