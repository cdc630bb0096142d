#pragma once

#include "engine/Module1.h"
#include "runtime/forms/Form.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

// Each screen test starts with no form loaded, Module1 at zero and End not called, and
// works the real widgets on the offscreen platform.
class ScreenTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program's start: the main menu loads.
    static void Start();

    // A mouse click on a control of a loaded form, then the queued work it caused.
    static void Click(forms::Form &form, const QString &name, std::int16_t index = -1);
    // Keys typed into a form's focused control or into the named control.
    static void Type(forms::Form &form, const QString &name, const QString &text);
    static void PressEnter(forms::Form &form, const QString &name);
    // Closes a form's window as the window manager does.
    static void CloseByWindowManager(forms::Form &form);
    // Lets queued events (deferred deletes, the last-window check) run.
    static void Settle();

    // The loaded forms, back to front.
    static std::vector<forms::Form *> Open() { return forms::LoadedForms(); }

    // The run-time error box on screen, if any; DismissError clicks its OK.
    static QMessageBox *ErrorBox();
    static void DismissError();
};
