#include "runtime/forms/FormWindow.h"

#include <QCloseEvent>

namespace forms {

FormWindow::FormWindow(WindowOwner *owner)
    : owner_(owner)
    , fit_(this) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
}

// A close through the window manager unloads this form alone and runs no handler.
void FormWindow::closeEvent(QCloseEvent *event) {
    owner_->WindowClosed(this);
    event->accept();
}

bool FormWindow::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        owner_->WindowActivated(this);
    }
    return QWidget::event(event);
}

void FormWindow::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange) {
        owner_->PaletteChanged(this);
    }
    // The screens have a fixed size: a maximized one would only be marked so, and where the
    // title bar offers maximizing anyway (Qt's own on Wayland), it is undone. A compositor
    // that maximizes the window again at once insists (a kiosk's maximizes every window):
    // undoing that would only start an endless exchange of messages, so the window then stays
    // as the compositor wants it.
    if (event->type() == QEvent::WindowStateChange && isMaximized() && !yielded_) {
        constexpr qint64 InsistingWithinMilliseconds = 1000;
        if (undone_.isValid() && undone_.elapsed() < InsistingWithinMilliseconds) {
            yielded_ = true;
        } else {
            undone_.start();
            setWindowState(windowState() & ~Qt::WindowMaximized);
        }
    }
    QWidget::changeEvent(event);
}

} // namespace forms
