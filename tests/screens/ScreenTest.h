#pragma once

#include "engine/Module1.h"
#include "runtime/forms/Form.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>

#include <gtest/gtest.h>

#include <concepts>
#include <stdexcept>
#include <string>
#include <vector>

// The forms by the names the user and the route tables know them by.
forms::Form &FormNamed(const std::string &name);
std::string NameOf(const forms::Form *form);

// By Model and Mode, counted from 1.
inline const char *const ModelButton[] = {nullptr, "cmdBasic", "cmdIntermediate", "cmdAdvanced"};
inline const char *const ModeButton[] = {nullptr, "cmdOrganic", "cmdSemidetached", "cmdEmbedded"};
inline const char *const PhaseScreen[] = {nullptr, "frmPhaseOrg", "frmPhaseSemi", "frmPhaseEmb"};

// Ends a test that needs a screen which is not open, once the failure is recorded: going on
// would reach through the screen's missing window and crash the test program, losing every
// later result.
struct ScreenNotOpen : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The line a helper was called from, for its failures to point there. The builtins stand in
// for std::source_location, which the standard library clang 14 builds against lacks.
struct CallSite {
    const char *file = __builtin_FILE();
    int line = __builtin_LINE();
};

// Unless the form is open, fails the current test at `where`, naming the form and the open
// ones, and ends it.
void RequireOpen(const forms::Form &form, CallSite where = {});
// The form, once RequireOpen has let it pass.
template <std::derived_from<forms::Form> F> F &Loaded(F &form, CallSite where = {}) {
    RequireOpen(form, where);
    return form;
}
template <std::derived_from<forms::Form> F> F &Loaded(CallSite where = {}) {
    return Loaded(forms::Get<F>(), where);
}
inline forms::Form &Loaded(const std::string &name, CallSite where = {}) {
    return Loaded(FormNamed(name), where);
}

// Each screen test starts with no form loaded, Module1 at zero and End not called, and
// works the real widgets on the offscreen platform.
class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // No form loaded and Module1 at zero, as before the program starts.
    static void BeforeStart();
    // The program's start: the main menu loads.
    static void Start();

    // A mouse click on a control of a loaded form, then the queued work it caused.
    static void Click(forms::Form &form, const QString &name, std::int16_t index = -1,
                      CallSite where = {});
    // Keys typed into a form's focused control or into the named control.
    static void Type(forms::Form &form, const QString &name, const QString &text,
                     CallSite where = {});
    static void PressEnter(forms::Form &form, const QString &name, CallSite where = {});
    // Closes a form's window as the window manager does.
    static void CloseByWindowManager(forms::Form &form, CallSite where = {});
    // Lets queued events (deferred deletes, the last-window check) run.
    static void Settle();

    // The loaded forms, back to front.
    static std::vector<forms::Form *> Open() { return forms::LoadedForms(); }

    // The run-time error box on screen, if any; DismissError clicks its OK.
    static QMessageBox *ErrorBox();
    static void DismissError();
};
