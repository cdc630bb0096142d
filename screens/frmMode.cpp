#include "screens/frmMode.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "screens/Screens.h"

using namespace forms;

namespace {

constexpr Font Heading{"Arial", 12, true};
constexpr Font Explanation{"Tahoma", 9.75, false};

} // namespace

Layout frmMode::LayoutOf() const {
    return {
        "Development Mode",
        7500,
        4995,
        {
            {.name = "lblMode",
             .kind = Kind::Label,
             .geometry = {480, 960, 2895, 375},
             .caption = "The Development Mode ",
             .font = Heading,
             .enabled = false},
            BoldButton("cmdOrganic", "Organic Mode", {2280, 2400, 2175, 495}),
            BoldButton("cmdSemidetached", "Semidetached Mode", {2280, 3000, 2175, 495}),
            BoldButton("cmdEmbedded", "Embedded Mode", {2280, 3600, 2175, 495}),
            BoldButton("cmdBack", "Back", {360, 4080, 1575, 495}),
            TitleLabel("Label1", {1200, 240, 5055, 615}),
            FooterLabel("Label2", {2160, 4680, 3735, 255}),
            {.name = "Label3",
             .kind = Kind::Label,
             .geometry = {480, 1320, 6135, 735},
             .caption = "In the COCOMO model, one of the most important factors contributing to "
                        "a project's duration and cost is the Development Mode. Every project "
                        "is considered to be developed in one of the three modes:",
             .font = Explanation,
             .wordWrap = true},
        },
    };
}

void frmMode::Wire() {
    OnClick("cmdOrganic", &frmMode::cmdOrganic_Click);
    OnClick("cmdSemidetached", &frmMode::cmdSemidetached_Click);
    OnClick("cmdEmbedded", &frmMode::cmdEmbedded_Click);
    OnClick("cmdBack", &frmMode::cmdBack_Click);
}

void frmMode::Form_Load() {
    Show();
}

void frmMode::ChooseMode(std::int16_t mode) {
    Module1::Mode = mode;
    ShowModelStep(TheScreen(ScreenName::frmKLOC));
}

void frmMode::cmdOrganic_Click() {
    ChooseMode(Modes::Organic);
}
void frmMode::cmdSemidetached_Click() {
    ChooseMode(Modes::Semidetached);
}
void frmMode::cmdEmbedded_Click() {
    ChooseMode(Modes::Embedded);
}
void frmMode::cmdBack_Click() {
    ShowScreen(ScreenName::frmMain);
}
