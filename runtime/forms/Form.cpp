#include "runtime/forms/Form.h"

#include <QAbstractButton>
#include <QImage>

#include <utility>

namespace forms {

void Form::Prepare() const {
    // Drawn once off screen, the controls pay for what a style, a face or a glyph costs the
    // first time it is drawn: the faces to decide and load, the style's images, the glyphs.
    // A one-pixel canvas is enough for that, and takes no memory worth the name.
    QWidget scratch;
    BuildControls(&scratch, LayoutOf());
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.setDevicePixelRatio(scratch.devicePixelRatioF());
    scratch.render(&pixel);
}

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
