#pragma once

#include "tests/screens/ScreenTest.h"

#include <QFont>
#include <QString>

#include <optional>
#include <string>
#include <vector>

// One user action on a screen: a click on a control, or keys typed into it.
struct Step {
    const char *form;
    const char *control;
    const char *typed = nullptr;
};

// What a screen's control must look like, row by row as the layouts give it.
struct ControlRow {
    const char *name;
    const char *kind; // the widget class
    forms::Twips geometry;
    std::optional<QString> caption; // nullopt: a text the screen sets when it loads
    const char *family;
    double points;
    bool bold;
    Qt::Alignment align = Qt::AlignLeft;
    bool highlight = false;
    bool enabled = true;
    bool wraps = false;
    const char *container = nullptr; // nullptr: directly on the form
};

class WizardTest : public ScreenTest {
protected:
    static void Do(const Step &step, CallSite where = {});
    static void DoAll(const std::vector<Step> &steps, CallSite where = {});

    // The loaded forms back to front, and the one in front, by name.
    static std::vector<std::string> OpenNames();
    static std::string FrontName();
    static bool AnyWindowVisible();

    // A whole pass from the start to the results screen.
    static void Estimate(int model, int mode, const char *size);

    // A label's text on the results screen.
    static QString Shown(const char *label);

    // The family a font actually renders in, and the one an unknown family falls back to.
    static QString ResolvedFamily(const QFont &font);
    static QString FallbackFamily();

    static void ExpectControl(const forms::Form &form, const ControlRow &row);
    // The window: its caption, a fixed 500 x 333 pixel client area, centred on the screen.
    static void ExpectWindow(const forms::Form &form, const QString &caption);
    // The controls that Tab stops on, in the order it visits them, from the first.
    static std::vector<std::string> TabStops(const forms::Form &form, const char *first);
    // Waits for the form's window to become active and returns the focused control's name.
    static std::string FocusedName(const forms::Form &form);
};
