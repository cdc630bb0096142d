#pragma once

#include "runtime/forms/Controls.h"
#include "runtime/forms/FormWindow.h"
#include "runtime/forms/Layout.h"
#include "runtime/forms/Registry.h"
#include "runtime/numeric/RuntimeError.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace forms {

// One screen. The object exists once per run, created on first reference; loading builds
// its window from its layout and runs Form_Load, unloading discards the window, its
// controls and the form's working values.
class Form : public Registered, private WindowOwner {
public:
    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    ~Form() override = default;

    // Loads the form if needed, else brings its window to the front and activates it.
    void Show();
    // Discards the window, its controls and the working values at once. Inside a handler,
    // which goes on running after it, the window disappears as the handler ends, after the
    // form the handler shows next is up; elsewhere at once.
    void Unload();

    // Does ahead of time what the form's first load would otherwise do first: deciding the
    // faces its captions need, loading them, and whatever else drawing its kinds of control
    // costs the first time. The window itself is still built when the form is shown.
    void Prepare() const;

    bool IsLoaded() const override { return window_ != nullptr; }
    QWidget *Window() const override { return window_; }

    QString Caption() const;
    void SetCaption(const QString &caption);

    // The form's layout as loading builds it; the desktop benchmark reads it too.
    virtual Layout LayoutOf() const = 0;

    // A control of the loaded form by its name, and its Index for control-array elements.
    template <class W = QWidget> W *Control(const QString &name, std::int16_t index = -1) const {
        return qobject_cast<W *>(controls_.value(ControlKey(name, index)));
    }

protected:
    // Connects the freshly built controls to the form's handlers.
    virtual void Wire() = 0;
    virtual void Form_Load() = 0;
    // Drops the working values that live only while the form is loaded.
    virtual void DiscardWorkingValues() {}

    // A control of the freshly built form, for the form to keep as a typed member while it
    // wires its controls. A name the layout lacks is an internal error at the first load.
    template <class W> W *Bind(const QString &name) const {
        W *control = Control<W>(name);
        if (control == nullptr) {
            rt::Raise(rt::ErrorCode::Internal);
        }
        return control;
    }

    template <class F> void OnClick(const QString &button, void (F::*handler)()) {
        ConnectClick(Control<QWidget>(button),
                     [this, handler] { (static_cast<F *>(this)->*handler)(); });
    }
    // For a handler that reads what the user typed: its run-time errors come with the advice.
    template <class F>
    void OnClick(const QString &button, void (F::*handler)(), InputAdvice advice) {
        ConnectClick(
            Control<QWidget>(button), [this, handler] { (static_cast<F *>(this)->*handler)(); },
            std::move(advice));
    }

    // handler(Index) runs whenever an element of the array becomes selected, by mouse,
    // keyboard or code.
    template <class F> void OnOptionClick(const QString &array, void (F::*handler)(std::int16_t)) {
        for (std::int16_t i = 0; QWidget *element = Control<QWidget>(array, i); ++i) {
            ConnectSelected(element, [this, handler, i] { (static_cast<F *>(this)->*handler)(i); });
        }
    }

private:
    void Load();
    void ConnectClick(QWidget *button, std::function<void()> handler,
                      std::optional<InputAdvice> advice = std::nullopt);
    void ConnectSelected(QWidget *option, std::function<void()> handler);
    void WindowClosed(const QWidget *window) override;
    void WindowActivated(const QWidget *window) override;
    void PaletteChanged(const QWidget *window) override;
    Form *AsForm() override;
    QWidget *ControlNamed(const QString &name) const override;
    void Forget() override;

    QPointer<QWidget> window_;
    QHash<QString, QWidget *> controls_;
};

// The single instance of a form type, created on first reference.
template <class F> F &Get() {
    static F instance;
    return instance;
}

template <class F> void Show() {
    Get<F>().Show();
}

} // namespace forms
