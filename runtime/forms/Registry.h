#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace forms {

class Form;

// What the report of a handler's run-time errors adds for a user whose input the handler
// refused: what that input must be, and the control holding it, which the report leaves in
// view.
struct InputAdvice {
    QString text;
    QString control;
};

// A form as the registry holds it. Form is the one kind; the registry reaches the forms
// through this alone, so that Form's members keep the registry up to date without the two
// depending on each other.
class Registered {
public:
    virtual Form *AsForm() = 0;
    virtual bool IsLoaded() const = 0;
    virtual QWidget *Window() const = 0;
    // The loaded form's control of that name, the one the report of a run-time error leaves
    // in view.
    virtual QWidget *ControlNamed(const QString &name) const = 0;
    // Drops the window, its controls and the working values, and leaves the loaded forms.
    virtual void Forget() = 0;

protected:
    virtual ~Registered() = default;
};

// Runs one event handler of a form. A run-time error it raises is reported in a message
// box parented to the form's window, with the advice, if any, below the error; the program
// then goes on with every form and variable as the handler left them. After End no handler
// runs.
void Dispatch(Registered *owner, const std::function<void()> &handler,
              const InputAdvice *advice = nullptr);

// Ends the program at once: every window closes and no further handler runs.
void End();
bool Ended();

// The loaded forms, the one in front last.
std::vector<Form *> LoadedForms();
Form *FrontForm();

// Deletes every form's window at once and forgets that End ran. For the end of main, where
// the event loop no longer runs, and for tests that start each case afresh.
void UnloadAll();

} // namespace forms
