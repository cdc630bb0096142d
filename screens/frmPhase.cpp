#include "screens/frmPhase.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "runtime/forms/OptionGrid.h"
#include "screens/Screens.h"

using namespace forms;
using engine::Phase;

namespace {

struct Row {
    const char *strip;
    const char *label;
    const char *caption;
    int labelWidth;
    int labelHeight;
    const char *array;
    void (frmPhase::*handler)(std::int16_t);
};

// The rows from top to bottom, in the order of the phases and of the sum.
constexpr Row Rows[engine::PhaseCount] = {
    {"Picture2", "Label6", "Requirements", 1815, 375, "optRQ", &frmPhase::optRQ_Click},
    {"Picture3", "Label8", "Product Design", 1695, 255, "optPD", &frmPhase::optPD_Click},
    {"Picture4", "Label9", "Detailed Design", 1455, 375, "optDD", &frmPhase::optDD_Click},
    {"Picture5", "Label10", "Code and Unit Test", 1815, 375, "optCT", &frmPhase::optCT_Click},
    {"Picture6", "Label11", "Integration and Test", 1815, 375, "optIT", &frmPhase::optIT_Click},
    {"Picture7", "Label12", "Maintenance", 1815, 375, "optMN", &frmPhase::optMN_Click},
};

struct Column {
    const char *label;
    const char *caption; // blanks included: they put the size word above its KDSI figure
    Twips geometry;
    int optionLeft;
};

constexpr Column Columns[engine::SizeColumnCount] = {
    {"Label2", "      Small       (2 KDSI)", {1920, 0, 975, 375}, 2280},
    {"Label3", "  Intermediate   (8 KDSI)", {3000, 0, 1095, 375}, 3360},
    {"Label4", "     Medium     (32 KDSI)", {4200, 0, 1215, 375}, 4680},
    {"Label5", "         Large         (128 KDSI)", {5520, 0, 1215, 375}, 6000},
};

} // namespace

Layout frmPhase::LayoutOf() const {
    // The three screens share their caption; the description tells a screen reader which
    // mode's table this one shows.
    Layout layout{"Phase Distribution of Effort and Schedule",
                  7500,
                  4995,
                  {},
                  QStringLiteral("Phase distribution of the %1 mode").arg(mode_)};
    auto &controls = layout.controls;
    controls.push_back({.name = "Frame1",
                        .kind = Kind::Frame,
                        .geometry = {120, 600, 7215, 3255},
                        .caption = "Phase Distribution",
                        .font = Bold});
    controls.push_back({.name = "Picture1",
                        .kind = Kind::PictureBox,
                        .geometry = {120, 360, 6855, 495},
                        .background = SystemColour::DesktopBackground,
                        .container = "Frame1"});
    controls.push_back(
        HeaderLabel("Label1", "Phase", {120, 60, 1695, 375}, Align::Left, "Picture1"));
    std::vector<OptionColumn> columns;
    for (const Column &column : Columns) {
        controls.push_back(
            HeaderLabel(column.label, column.caption, column.geometry, Align::Center, "Picture1"));
        columns.push_back({column.caption, column.optionLeft});
    }
    std::vector<OptionRow> rows;
    for (std::size_t r = 0; r < engine::PhaseCount; ++r) {
        const Row &row = Rows[r];
        rows.push_back({{.name = row.strip,
                         .kind = Kind::PictureBox,
                         .geometry = {120, 840 + 360 * static_cast<int>(r), 6855, 375},
                         .container = "Frame1"},
                        {.name = row.label,
                         .kind = Kind::Label,
                         .geometry = {0, 60, row.labelWidth, row.labelHeight},
                         .caption = row.caption,
                         .font = Bold,
                         .wordWrap = true},
                        row.array});
    }
    AddOptionGrid(controls, rows, columns, {0, 60, 255, 195},
                  [](std::size_t, std::size_t) { return true; });
    controls.push_back(BoldButton("cmdBack", "Back", {2280, 4080, 1335, 375}));
    controls.push_back(BoldButton("cmdContinue", "Continue", {3840, 4080, 1335, 375}));
    controls.push_back(FooterLabel("Label13", {1200, 4680, 5055, 255}));
    return layout;
}

void frmPhase::Wire() {
    for (const Row &row : Rows) {
        OnOptionClick(row.array, row.handler);
    }
    OnClick("cmdContinue", &frmPhase::cmdContinue_Click);
    OnClick("cmdBack", &frmPhase::cmdBack_Click);
}

void frmPhase::Form_Load() {
    Show();
    efforts_.emplace();
    engine::ResetPhaseEfforts(*efforts_);
}

void frmPhase::Choose(Phase phase, std::int16_t column) {
    engine::SelectPhaseColumn(*efforts_, table_, phase, column);
}

void frmPhase::optRQ_Click(std::int16_t Index) {
    Choose(Phase::Requirements, Index);
}
void frmPhase::optPD_Click(std::int16_t Index) {
    Choose(Phase::ProductDesign, Index);
}
void frmPhase::optDD_Click(std::int16_t Index) {
    Choose(Phase::DetailedDesign, Index);
}
void frmPhase::optCT_Click(std::int16_t Index) {
    Choose(Phase::CodeAndUnitTest, Index);
}
void frmPhase::optIT_Click(std::int16_t Index) {
    Choose(Phase::IntegrationAndTest, Index);
}
void frmPhase::optMN_Click(std::int16_t Index) {
    Choose(Phase::Maintenance, Index);
}

void frmPhase::cmdContinue_Click() {
    engine::ComputePhaseFactor(*efforts_);
    Unload();
    ShowScreen(ScreenName::frmKLOC);
}

void frmPhase::cmdBack_Click() {
    Unload();
    if (Module1::Model == Models::Advanced) {
        ShowScreen(ScreenName::frmMode);
    }
}
