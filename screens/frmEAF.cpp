#include "screens/frmEAF.h"

#include "runtime/forms/Accessibility.h"
#include "screens/frmKLOC.h"
#include "screens/frmMode.h"

using namespace forms;
using engine::CostDriver;

namespace {

struct Row {
    const char *caption;
    const char *array;
};

// The rows from top to bottom, in the order of the drivers and of the product.
constexpr Row Rows[engine::CostDriverCount] = {
    {"ACAP Analyst Capability", "OptACAP"},         {"AEXP Application Experience", "optAEXP"},
    {"CPLX Product Complexity", "optCPLX"},         {"DATA Database Size", "optDATA"},
    {"LEXP Language Experience", "optLEXP"},        {"MODP Modern Prog Practices", "optMODP"},
    {"PCAP Programmer Capability", "optPCAP"},      {"RELY Required Soft Reliability", "optRELY"},
    {"SCED Req Development Sch", "optSCED"},        {"STOR Storage Constraint", "optSTOR"},
    {"TIME Exec. Time Constraint", "optTIME"},      {"TOOL Use of Software Tools", "optTOOL"},
    {"TURN Comp.Turnaround Time", "optTURN"},       {"VEXP Virtual Machine Exp.", "optVEXP"},
    {"VIRT Virtual Machine Volatility", "optVIRT"},
};

struct Column {
    const char *caption; // blanks included: they place the words within the wrapped label
    int left;
};

constexpr Column Columns[engine::RatingCount] = {
    {" Very Low (VL)", 2160}, {"     Low    (L)", 3000}, {" Nominal (N)", 3840},
    {"   High    (H)", 4680}, {" Very High (VH)", 5520}, {"Extra High (EH)", 6360},
};

// One driver's strip: the container, its label and its six option buttons.
void AddRow(std::vector<ControlSpec> &controls, std::size_t r) {
    const Row &row = Rows[r];
    const QString strip = QStringLiteral("Picture1(%1)").arg(r);
    controls.push_back({.name = "Picture1",
                        .kind = Kind::PictureBox,
                        .geometry = {0, 720 + 360 * static_cast<int>(r), 7335, 375},
                        .index = static_cast<std::int16_t>(r)});
    controls.push_back({.name = QStringLiteral("Label%1").arg(8 + r),
                        .kind = Kind::Label,
                        .geometry = {180, 60, 2175, 255},
                        .caption = row.caption,
                        .container = strip});
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        controls.push_back({.name = row.array,
                            .kind = Kind::OptionButton,
                            .geometry = {2460 + 840 * static_cast<int>(k), 60, 255, 255},
                            .caption = "Option1",
                            .enabled = engine::RatingOffered[r][k],
                            .container = strip,
                            .index = static_cast<std::int16_t>(k),
                            .accessibleName = QStringLiteral("%1: %2").arg(
                                SpokenName(row.caption), Spoken(Columns[k].caption))});
    }
}

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
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        controls.push_back(HeaderLabel(QStringLiteral("Label%1").arg(2 + k), Columns[k].caption,
                                       {Columns[k].left, 0, 735, 495}, Align::Center, "Picture2"));
    }
    for (std::size_t r = 0; r < engine::CostDriverCount; ++r) {
        AddRow(controls, r);
    }
    controls.push_back({.name = "cmdBack",
                        .kind = Kind::Button,
                        .geometry = {2280, 6600, 1575, 375},
                        .caption = "Back",
                        .font = Bold});
    controls.push_back({.name = "cmdContinue",
                        .kind = Kind::Button,
                        .geometry = {4200, 6600, 1575, 375},
                        .caption = "Continue",
                        .font = Bold});
    controls.push_back(FooterLabel("Label23", {1200, 7200, 4935, 255}));
    return layout;
}

void frmEAF::Wire() {
    OnOptionClick("OptACAP", &frmEAF::OptACAP_Click);
    OnOptionClick("optAEXP", &frmEAF::optAEXP_Click);
    OnOptionClick("optCPLX", &frmEAF::optCPLX_Click);
    OnOptionClick("optDATA", &frmEAF::optDATA_Click);
    OnOptionClick("optLEXP", &frmEAF::optLEXP_Click);
    OnOptionClick("optMODP", &frmEAF::optMODP_Click);
    OnOptionClick("optPCAP", &frmEAF::optPCAP_Click);
    OnOptionClick("optRELY", &frmEAF::optRELY_Click);
    OnOptionClick("optSCED", &frmEAF::optSCED_Click);
    OnOptionClick("optSTOR", &frmEAF::optSTOR_Click);
    OnOptionClick("optTIME", &frmEAF::optTIME_Click);
    OnOptionClick("optTOOL", &frmEAF::optTOOL_Click);
    OnOptionClick("optTURN", &frmEAF::optTURN_Click);
    OnOptionClick("optVEXP", &frmEAF::optVEXP_Click);
    OnOptionClick("optVIRT", &frmEAF::optVIRT_Click);
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
    forms::Show<frmKLOC>();
}

void frmEAF::cmdBack_Click() {
    Unload();
    forms::Show<frmMode>();
}
