#include "runtime/forms/OptionGrid.h"

#include "runtime/forms/ScreenText.h"

namespace forms {

void AddOptionGrid(std::vector<ControlSpec> &controls, const std::vector<OptionRow> &rows,
                   const std::vector<OptionColumn> &columns, Twips button,
                   const std::function<bool(std::size_t, std::size_t)> &offered) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const OptionRow &row = rows[r];
        const QString strip =
            row.strip.index < 0 ? row.strip.name
                                : QStringLiteral("%1(%2)").arg(row.strip.name).arg(row.strip.index);
        controls.push_back(row.strip);
        ControlSpec label = row.label;
        label.container = strip;
        controls.push_back(label);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            controls.push_back(
                {.name = row.array,
                 .kind = Kind::OptionButton,
                 .geometry = {columns[k].left, button.top, button.width, button.height},
                 .caption = "Option1",
                 .enabled = offered(r, k),
                 .container = strip,
                 .index = static_cast<std::int16_t>(k),
                 .accessibleName = QStringLiteral("%1: %2").arg(SpokenName(row.label.caption),
                                                                Spoken(columns[k].caption))});
        }
    }
}

} // namespace forms
