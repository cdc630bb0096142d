#pragma once

class QWidget;

namespace forms {

// Tells screen readers what the forms' widgets are where Qt's own accessibility would say
// otherwise: a form's window is a frame, not a filler; a picture box is a group of controls,
// not a frame; a rating that cannot be chosen is still a radio button, if a disabled one.
// Installs itself once; called as forms load.
void InstallAccessibleRoles();

// Qt describes a widget to screen readers when it is made; one changed in what it is since
// (a radio button made uncheckable) is described afresh at the next question.
void DescribeAfresh(QWidget *widget);

} // namespace forms
