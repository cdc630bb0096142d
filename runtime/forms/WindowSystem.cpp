#include "runtime/forms/WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

} // namespace forms
