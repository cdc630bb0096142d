#pragma once

#include "runtime/numeric/RuntimeError.h"

#include <QString>

class QWidget;

namespace forms {

// Reports a run-time error in a message box parented to the window: its number and
// description, and below them the advice, if any, on what the input must be, with the box
// placed clear of the control that holds the input.
void ReportRuntimeError(const rt::RuntimeError &error, QWidget *parent, const QString &advice = {},
                        QWidget *input = nullptr);

} // namespace forms
