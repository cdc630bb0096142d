#include "runtime/forms/Form.h"

#include "runtime/forms/Accessibility.h"
#include "runtime/forms/FormWindow.h"
#include "runtime/forms/IndicatorsAndFocusMark.h"
#include "runtime/forms/OptionRows.h"
#include "runtime/forms/RegistryState.h"
#include "runtime/forms/WindowSystem.h"

#include <QAbstractButton>
#include <QImage>

#include <algorithm>
#include <utility>

namespace forms {

void Form::Show() {
    if (window_ == nullptr) {
        Load();
        return;
    }
    if (window_->isMinimized()) {
        window_->showNormal();
    }
    static_cast<FormWindow *>(window_.data())->Fit().Place();
    if (!window_->isVisible()) {
        ShowInFront(window_);
    } else {
        BringForward(window_);
    }
    BringToFront(this);
    State().broughtForward = window_;
}

void Form::Unload() {
    QWidget *window = window_;
    if (window == nullptr) {
        return;
    }
    Forget();
    if (State().handlersRunning > 0) {
        State().leaving.emplace_back(window);
    } else {
        window->hide();
        window->deleteLater();
    }
    ScheduleLastWindowCheck();
}

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

void Form::Load() {
    InstallAccessibleRoles();
    InstallFormsStyle();
    window_ = new FormWindow(this);
    controls_ = BuildControls(window_, LayoutOf());
    AttachOptionRows(window_);
    LabelPictureBoxes(window_);
    Wire();
    BringToFront(this);
    Form_Load();
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

void Form::WindowClosed(const QWidget *window) {
    if (window == window_) {
        Forget();
        ScheduleLastWindowCheck();
    }
}

void Form::WindowActivated(const QWidget *window) {
    if (window == window_) {
        BringToFront(this);
    }
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

Form *Form::AsForm() {
    return this;
}

QWidget *Form::ControlNamed(const QString &name) const {
    return Control<QWidget>(name);
}

void Form::Forget() {
    window_ = nullptr;
    controls_.clear();
    DiscardWorkingValues();
    auto &loaded = State().loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), this), loaded.end());
}

} // namespace forms
