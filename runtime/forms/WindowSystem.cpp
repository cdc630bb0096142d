#include "runtime/forms/WindowSystem.h"

#include "runtime/forms/X11.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace forms {

WindowSystem CurrentWindowSystem() {
    static const WindowSystem system = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform.startsWith(QLatin1String("wayland"))) {
            return WindowSystem::Wayland;
        }
        // Xwayland names its outputs after itself.
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (platform == QLatin1String("xcb") && screen != nullptr &&
            screen->name().startsWith(QLatin1String("XWAYLAND"))) {
            return WindowSystem::Xwayland;
        }
        return WindowSystem::X11;
    }();
    return system;
}

void ShowInFront(QWidget *window) {
    window->show();
    // Asking a Wayland compositor to activate a window takes a token from the user's last
    // input: Qt 6.4 asks with the serial of the button's or key's release, which mutter
    // refuses, weston offers no such request, and a screen reader's action is no input at
    // all. A window newly mapped needs none.
    if (CurrentWindowSystem() != WindowSystem::Wayland) {
        window->raise();
        window->activateWindow();
    }
}

void BringForward(QWidget *window) {
    if (CurrentWindowSystem() == WindowSystem::X11) {
        window->raise();
        window->activateWindow();
        return;
    }
    if (window->isActiveWindow()) {
        return;
    }
    window->hide();
    ShowInFront(window);
}

void AfterKeyboardArrives(const QWidget *front, std::function<void()> then) {
    // Qt counts its own request to activate a window as the window's focus-in, so only the X
    // server can tell where the keyboard is.
    if (!x11::Connected() || front == nullptr || !front->isVisible() || x11::HasKeyboard(*front)) {
        then();
        return;
    }
    constexpr int PollMilliseconds = 5;
    constexpr qint64 PatienceMilliseconds = 500;
    auto *poll = new QTimer(qApp);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, waited, window = QPointer(front), then = std::move(then)] {
                         if (window == nullptr || x11::HasKeyboard(*window) ||
                             waited.elapsed() >= PatienceMilliseconds) {
                             poll->deleteLater();
                             poll->stop();
                             then();
                         }
                     });
    poll->start(PollMilliseconds);
}

} // namespace forms
