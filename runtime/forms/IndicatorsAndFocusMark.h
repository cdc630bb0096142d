#pragma once

namespace forms {

// Makes the desktop's own style, once, the forms' style, with two things drawn its own way
// and readable on whatever the theme puts behind them:
// - an option button's circle, whole within the button: the layouts make the buttons no
//   bigger than a circle, which cuts off the larger circles of some styles;
// - a mark on the control that has the focus: the option buttons' captions are hidden, and
//   styles that mark the focus on the caption, or draw the default button as if it had the
//   focus, would otherwise show none.
void InstallFormsStyle();

} // namespace forms
