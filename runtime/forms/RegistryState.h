#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

namespace forms {

class Registered;

// The registry's own state. Form's members keep it up to date as forms load, come to the
// front and go; Registry.cpp runs the handlers on it and ends the program.
struct Registry {
    std::vector<Registered *> loaded{}; // back to front
    bool ended = false;
    unsigned generation = 0; // tells a stale queued check from a current one
    int handlersRunning = 0;
    std::vector<QPointer<QWidget>> leaving{}; // unloaded by the running handler
    QPointer<QWidget> broughtForward{};       // the window the running handler showed last
};

Registry &State();

void BringToFront(Registered *form);

// The program also ends when no form is left open. Checked once the current handler has
// finished, since a handler may unload its own form and then show another.
void ScheduleLastWindowCheck();

} // namespace forms
