#pragma once

#include "runtime/forms/Placement.h"

#include <QElapsedTimer>
#include <QWidget>

namespace forms {

// What a form's window tells the form it was built for. A window that the form has
// discarded may still be closing: each call says which window it comes from.
class WindowOwner {
public:
    // Closed through the window manager.
    virtual void WindowClosed(const QWidget *window) = 0;
    virtual void WindowActivated(const QWidget *window) = 0;
    // The application's palette changed: a new theme or colour scheme.
    virtual void PaletteChanged(const QWidget *window) = 0;

protected:
    virtual ~WindowOwner() = default;
};

// The top-level window of a loaded form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(WindowOwner *owner);

    ScreenFit &Fit() { return fit_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    WindowOwner *owner_;
    ScreenFit fit_;
    QElapsedTimer undone_;
    bool yielded_ = false;
};

} // namespace forms
