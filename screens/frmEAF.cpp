#include "screens/frmEAF.h"

#include "runtime/forms/OptionGrid.h"
#include "screens/Screens.h"

using namespace forms;
using engine::CostDriver;

namespace {

struct Row {
    const char *caption;
    const char *array;
    void (frmEAF::*handler)(std::int16_t);
};

// The rows from top to bottom, in the order of the drivers and of the product.
constexpr Row Rows[engine::CostDriverCount] = {
    {"ACAP Analyst Capability", "OptACAP", &frmEAF::OptACAP_Click},
    {"AEXP Application Experience", "optAEXP", &frmEAF::optAEXP_Click},
    {"CPLX Product Complexity", "optCPLX", &frmEAF::optCPLX_Click},
    {"DATA Database Size", "optDATA", &frmEAF::optDATA_Click},
    {"LEXP Language Experience", "optLEXP", &frmEAF::optLEXP_Click},
    {"MODP Modern Prog Practices", "optMODP", &frmEAF::optMODP_Click},
    {"PCAP Programmer Capability", "optPCAP", &frmEAF::optPCAP_Click},
    {"RELY Required Soft Reliability", "optRELY", &frmEAF::optRELY_Click},
    {"SCED Req Development Sch", "optSCED", &frmEAF::optSCED_Click},
    {"STOR Storage Constraint", "optSTOR", &frmEAF::optSTOR_Click},
    {"TIME Exec. Time Constraint", "optTIME", &frmEAF::optTIME_Click},
    {"TOOL Use of Software Tools", "optTOOL", &frmEAF::optTOOL_Click},
    {"TURN Comp.Turnaround Time", "optTURN", &frmEAF::optTURN_Click},
    {"VEXP Virtual Machine Exp.", "optVEXP", &frmEAF::optVEXP_Click},
    {"VIRT Virtual Machine Volatility", "optVIRT", &frmEAF::optVIRT_Click},
};

struct Column {
    const char *caption; // blanks included: they place the words within the wrapped label
    int left;
};

constexpr Column Columns[engine::RatingCount] = {
    {" Very Low (VL)", 2160}, {"     Low    (L)", 3000}, {" Nominal (N)", 3840},
    {"   High    (H)", 4680}, {" Very High (VH)", 5520}, {"Extra High (EH)", 6360},
};

} // namespace

Layout frmEAF::LayoutOf() const {
    Layout layout{"Effort Adjustment Factor", 7500, 7425, {}};
    auto &controls = layout.controls;
    controls.push_back({.name = "Picture2",
                        .kind = Kind::PictureBox,
                        .geometry = {0, 240, 7335, 495},
                        .background = SystemColour::DesktopBackground});
    controls.push_back(
        HeaderLabel("Label1", "Cost Driver", {120, 120, 975, 255}, Align::Left, "Picture2"));
    std::vector<OptionColumn> columns;
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        controls.push_back(HeaderLabel(QStringLiteral("Label%1").arg(2 + k), Columns[k].caption,
                                       {Columns[k].left, 0, 735, 495}, Align::Center, "Picture2"));
        columns.push_back({Columns[k].caption, 2460 + 840 * static_cast<int>(k)});
    }
    // One strip a driver, the elements of the control array Picture1.
    std::vector<OptionRow> rows;
    for (std::size_t r = 0; r < engine::CostDriverCount; ++r) {
        rows.push_back({{.name = "Picture1",
                         .kind = Kind::PictureBox,
                         .geometry = {0, 720 + 360 * static_cast<int>(r), 7335, 375},
                         .index = static_cast<std::int16_t>(r)},
                        {.name = QStringLiteral("Label%1").arg(8 + r),
                         .kind = Kind::Label,
                         .geometry = {180, 60, 2175, 255},
                         .caption = Rows[r].caption},
                        Rows[r].array});
    }
    AddOptionGrid(controls, rows, columns, {0, 60, 255, 255},
                  [](std::size_t r, std::size_t k) { return engine::RatingOffered[r][k]; });
    controls.push_back(BoldButton("cmdBack", "Back", {2280, 6600, 1575, 375}));
    controls.push_back(BoldButton("cmdContinue", "Continue", {4200, 6600, 1575, 375}));
    controls.push_back(FooterLabel("Label23", {1200, 7200, 4935, 255}));
    return layout;
}

void frmEAF::Wire() {
    for (const Row &row : Rows) {
        OnOptionClick(row.array, row.handler);
    }
    OnClick("cmdContinue", &frmEAF::cmdContinue_Click);
    OnClick("cmdBack", &frmEAF::cmdBack_Click);
}

void frmEAF::Form_Load() {
    Show();
    multipliers_.emplace();
    engine::ResetDriverMultipliers(*multipliers_);
}

void frmEAF::Rate(CostDriver driver, std::int16_t index) {
    engine::SelectRating(*multipliers_, driver, index);
}

void frmEAF::OptACAP_Click(std::int16_t Index) {
    Rate(CostDriver::ACAP, Index);
}
void frmEAF::optAEXP_Click(std::int16_t Index) {
    Rate(CostDriver::AEXP, Index);
}
void frmEAF::optCPLX_Click(std::int16_t Index) {
    Rate(CostDriver::CPLX, Index);
}
void frmEAF::optDATA_Click(std::int16_t Index) {
    Rate(CostDriver::DATA, Index);
}
void frmEAF::optLEXP_Click(std::int16_t Index) {
    Rate(CostDriver::LEXP, Index);
}
void frmEAF::optMODP_Click(std::int16_t Index) {
    Rate(CostDriver::MODP, Index);
}
void frmEAF::optPCAP_Click(std::int16_t Index) {
    Rate(CostDriver::PCAP, Index);
}
void frmEAF::optRELY_Click(std::int16_t Index) {
    Rate(CostDriver::RELY, Index);
}
void frmEAF::optSCED_Click(std::int16_t Index) {
    Rate(CostDriver::SCED, Index);
}
void frmEAF::optSTOR_Click(std::int16_t Index) {
    Rate(CostDriver::STOR, Index);
}
void frmEAF::optTIME_Click(std::int16_t Index) {
    Rate(CostDriver::TIME, Index);
}
void frmEAF::optTOOL_Click(std::int16_t Index) {
    Rate(CostDriver::TOOL, Index);
}
void frmEAF::optTURN_Click(std::int16_t Index) {
    Rate(CostDriver::TURN, Index);
}
void frmEAF::optVEXP_Click(std::int16_t Index) {
    Rate(CostDriver::VEXP, Index);
}
void frmEAF::optVIRT_Click(std::int16_t Index) {
    Rate(CostDriver::VIRT, Index);
}

void frmEAF::cmdContinue_Click() {
    engine::ComputeEAF(*multipliers_);
    ShowScreen(ScreenName::frmKLOC);
}

void frmEAF::cmdBack_Click() {
    Unload();
    ShowScreen(ScreenName::frmMode);
}
