#pragma once

#include "runtime/forms/Layout.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace forms {

// One row of a grid of option buttons: the picture box that holds it (and makes its buttons
// one exclusive group), the row's caption label inside it, and its option-button array.
struct OptionRow {
    ControlSpec strip;
    ControlSpec label; // its container is the strip's
    QString array;
};

// One column: what its heading says, and where its button stands in each strip.
struct OptionColumn {
    const char *caption;
    int left;
};

// Adds each row's strip, label and option buttons, row by row, the buttons in column order
// with the array Index of their column. Each button's caption "Option1" is hidden by its
// width; a screen reader gets the row's and the column's captions instead. A button is
// enabled where offered(row, column) says so.
void AddOptionGrid(std::vector<ControlSpec> &controls, const std::vector<OptionRow> &rows,
                   const std::vector<OptionColumn> &columns, Twips button,
                   const std::function<bool(std::size_t, std::size_t)> &offered);

} // namespace forms
