#pragma once

class QString;
class QWidget;

namespace forms {

// Tells screen readers what the forms' widgets are where Qt's own accessibility would say
// otherwise: a form's window is a frame that describes itself by the texts it shows; a
// picture box is a group of controls, named by nothing but its own name; a rating that
// cannot be chosen is still a radio button, if a disabled one; a text box reports its text
// as one run. Installs itself once; called as forms load.
void InstallAccessibleRoles();

// The labels in a picture box label that box, as Qt says of a label and its buddy. A screen
// reader then takes them for what they are, the captions of a row or of a table's columns,
// and does not read them out as loose text whenever the focus enters the frame around them.
void LabelPictureBoxes(QWidget *window);

} // namespace forms
