#include "screens/frmMain.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "screens/Screens.h"

using namespace forms;

Layout frmMain::LayoutOf() const {
    return {
        "Main Menu",
        7500,
        4995,
        {
            TitleLabel("lblCocomo", {1200, 240, 5055, 735}),
            BoldButton("cmdBasic", "Basic Model", {2280, 1800, 3015, 495}),
            BoldButton("cmdIntermediate", "Intermediate Model", {2280, 2520, 3015, 495}),
            BoldButton("cmdAdvanced", "Advanced Model", {2280, 3240, 3015, 495}),
            BoldButton("cmdExit", "Exit", {2280, 3960, 3015, 495}),
            FooterLabel("lblInfo", {1560, 4680, 4575, 255}),
        },
    };
}

void frmMain::Wire() {
    OnClick("cmdBasic", &frmMain::cmdBasic_Click);
    OnClick("cmdIntermediate", &frmMain::cmdIntermediate_Click);
    OnClick("cmdAdvanced", &frmMain::cmdAdvanced_Click);
    OnClick("cmdExit", &frmMain::cmdExit_Click);
}

void frmMain::Form_Load() {
    Show();
}

void frmMain::ChooseModel(std::int16_t model) {
    Module1::Model = model;
    Unload();
    ShowScreen(ScreenName::frmMode);
}

void frmMain::cmdBasic_Click() {
    ChooseModel(Models::Basic);
}
void frmMain::cmdIntermediate_Click() {
    ChooseModel(Models::Intermediate);
}
void frmMain::cmdAdvanced_Click() {
    ChooseModel(Models::Advanced);
}

void frmMain::cmdExit_Click() {
    Unload();
    End();
}
