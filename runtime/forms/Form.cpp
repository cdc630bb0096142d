#include "runtime/forms/Form.h"

#include <QAbstractButton>

#include <utility>

namespace forms {

QString Form::Caption() const {
    return window_ != nullptr ? window_->windowTitle() : QString();
}

void Form::SetCaption(const QString &caption) {
    if (window_ != nullptr) {
        window_->setWindowTitle(caption);
    }
}

void Form::ConnectClick(QWidget *button, std::function<void()> handler,
                        std::optional<InputAdvice> advice) {
    auto *clickable = qobject_cast<QAbstractButton *>(button);
    QWidget *window = window_;
    QObject::connect(clickable, &QAbstractButton::clicked, clickable,
                     [this, window, handler = std::move(handler), advice = std::move(advice)] {
                         // A click queued for a window already unloaded runs nothing.
                         if (window_ == window) {
                             Dispatch(this, handler, advice ? &*advice : nullptr);
                         }
                     });
}

void Form::ConnectSelected(QWidget *option, std::function<void()> handler) {
    auto *button = qobject_cast<QAbstractButton *>(option);
    QWidget *window = window_;
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [this, window, handler = std::move(handler)](bool checked) {
                         if (checked && window_ == window) {
                             Dispatch(this, handler);
                         }
                     });
}

// The colours taken from the palette follow a new theme or colour scheme.
void Form::PaletteChanged(const QWidget *window) {
    if (window != window_) {
        return;
    }
    for (const ControlSpec &c : LayoutOf().controls) {
        if (QWidget *control = Control(c.name, c.index); control != nullptr) {
            ApplyColours(control, c);
        }
    }
}

} // namespace forms
