#include "runtime/forms/Registry.h"

#include "runtime/forms/ErrorReport.h"
#include "runtime/forms/RegistryState.h"
#include "runtime/forms/WindowSystem.h"
#include "runtime/numeric/RuntimeError.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <new>
#include <utility>

// The forms that are loaded, the one in front, and the handlers that run on them: ending,
// and what a handler leaves to be done once it has run.
namespace forms {

Registry &State() {
    static Registry registry;
    return registry;
}

void BringToFront(Registered *form) {
    auto &loaded = State().loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), form), loaded.end());
    loaded.push_back(form);
}

void ScheduleLastWindowCheck() {
    const unsigned generation = State().generation;
    QTimer::singleShot(0, qApp, [generation] {
        if (State().generation == generation && !State().ended && State().loaded.empty()) {
            End();
        }
    });
}

namespace {

// On the form's window, or on the front form's where the handler unloaded its own.
void Report(Registered *owner, const rt::RuntimeError &error, const InputAdvice *advice = nullptr) {
    const bool loaded = owner != nullptr && owner->IsLoaded();
    QWidget *parent = loaded ? owner->Window() : nullptr;
    if (parent == nullptr && !State().loaded.empty()) {
        parent = State().loaded.back()->Window();
    }
    ReportRuntimeError(error, parent, advice != nullptr ? advice->text : QString(),
                       advice != nullptr && loaded ? owner->ControlNamed(advice->control)
                                                   : nullptr);
}

} // namespace

void Dispatch(Registered *owner, const std::function<void()> &handler, const InputAdvice *advice) {
    if (State().ended) {
        return;
    }
    if (State().handlersRunning++ == 0) {
        State().broughtForward = nullptr;
    }
    try {
        handler();
    } catch (const rt::RuntimeError &error) {
        Report(owner, error, advice);
    } catch (const std::bad_alloc &) {
        Report(owner, rt::RuntimeError(rt::ErrorCode::OutOfMemory));
    } catch (const std::exception &) {
        Report(owner, rt::RuntimeError(rt::ErrorCode::Internal));
    }
    if (--State().handlersRunning == 0) {
        // The windows the handler unloaded go once the screen it showed is up and has the
        // keyboard, so that the window manager never uncovers the screens beneath for a moment
        // nor hands one of them the keyboard.
        AfterKeyboardArrives(State().broughtForward,
                             [leaving = std::exchange(State().leaving, {})] {
                                 for (const QPointer<QWidget> &window : leaving) {
                                     if (window != nullptr) {
                                         window->hide();
                                         window->deleteLater();
                                     }
                                 }
                             });
    }
}

void End() {
    State().ended = true;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        widget->hide();
    }
    QCoreApplication::exit(0);
}

bool Ended() {
    return State().ended;
}

std::vector<Form *> LoadedForms() {
    std::vector<Form *> forms;
    forms.reserve(State().loaded.size());
    for (Registered *form : State().loaded) {
        forms.push_back(form->AsForm());
    }
    return forms;
}

Form *FrontForm() {
    return State().loaded.empty() ? nullptr : State().loaded.back()->AsForm();
}

void UnloadAll() {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(widget) != nullptr) {
            delete widget;
        }
    }
    const std::vector<Registered *> loaded = State().loaded;
    for (Registered *form : loaded) {
        QWidget *window = form->Window();
        form->Forget();
        delete window;
    }
    State() = Registry{.generation = State().generation + 1};
}

} // namespace forms
