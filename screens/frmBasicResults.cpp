#include "frmBasicResults.h"

#include "Module1.h"
#include "Numeric.h"
#include "frmMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>

using namespace forms;

namespace {

constexpr Font Title{"MS Sans Serif", 24, true};
constexpr Font Larger{"MS Sans Serif", 9.75, false};
constexpr Font FrameCaption{"MS Sans Serif", 9.75, true};

ControlSpec InFrame(ControlSpec c) {
    c.container = "Frame1";
    return c;
}

struct ModelCaptions {
    const char *form;
    const char *frame;
    const char *name;
};

constexpr ModelCaptions ByModel[] = {
    {"Basic Effort Results", "Results for the Basic Model", "Basic"},
    {"Intermediate Effort Results", "Results for the Intermediate Model", "Intermediate"},
    {"Advanced Effort Results", "Results for the Advanced Model", "Advanced"},
};

constexpr const char *ByMode[] = {"Organic", "Semi-detached", "Embedded"};

} // namespace

Layout frmBasicResults::LayoutOf() const {
    return {
        "",
        7500,
        4995,
        {
            {.name = "Label1",
             .kind = Kind::Label,
             .geometry = {1200, 240, 5055, 495},
             .caption = "COCOMO Model",
             .font = Title,
             .align = Align::Center,
             .foreground = SystemColour::Highlight},
            {.name = "Frame1",
             .kind = Kind::Frame,
             .geometry = {840, 1200, 5655, 2655},
             .font = FrameCaption},
            InFrame({.name = "Label2",
                     .kind = Kind::Label,
                     .geometry = {240, 480, 1455, 255},
                     .caption = "Model :",
                     .font = Bold,
                     .align = Align::Right}),
            InFrame({.name = "Label3",
                     .kind = Kind::Label,
                     .geometry = {240, 840, 1455, 255},
                     .caption = "Mode :",
                     .font = Bold,
                     .align = Align::Right}),
            InFrame({.name = "Label4",
                     .kind = Kind::Label,
                     .geometry = {360, 1200, 1335, 255},
                     .caption = "Effort :",
                     .font = Bold,
                     .align = Align::Right}),
            InFrame({.name = "Label5",
                     .kind = Kind::Label,
                     .geometry = {120, 1560, 1575, 255},
                     .caption = "TDEV :",
                     .font = Bold,
                     .align = Align::Right}),
            InFrame({.name = "Label6",
                     .kind = Kind::Label,
                     .geometry = {120, 1920, 1575, 375},
                     .caption = "Average Staffing :",
                     .font = Bold,
                     .wordWrap = true}),
            InFrame({.name = "Label7",
                     .kind = Kind::Label,
                     .geometry = {1800, 480, 1815, 255},
                     .font = Larger}),
            InFrame({.name = "Label8",
                     .kind = Kind::Label,
                     .geometry = {1800, 840, 1935, 255},
                     .font = Larger}),
            InFrame(
                {.name = "lblEffort", .kind = Kind::Label, .geometry = {1800, 1200, 1455, 255}}),
            InFrame({.name = "lblTDEV", .kind = Kind::Label, .geometry = {1800, 1560, 1455, 255}}),
            InFrame({.name = "lblAvg", .kind = Kind::Label, .geometry = {1800, 1920, 1455, 255}}),
            InFrame({.name = "Label12",
                     .kind = Kind::Label,
                     .geometry = {3480, 1200, 1455, 255},
                     .caption = "Staff-Months",
                     .font = Larger}),
            InFrame({.name = "Label13",
                     .kind = Kind::Label,
                     .geometry = {3480, 1560, 1215, 255},
                     .caption = "Months",
                     .font = Larger}),
            InFrame({.name = "Label14",
                     .kind = Kind::Label,
                     .geometry = {3480, 1920, 1095, 255},
                     .caption = "People",
                     .font = Larger}),
            {.name = "Label15",
             .kind = Kind::Label,
             .geometry = {1080, 4680, 5175, 255},
             .caption = FooterNotice,
             .align = Align::Center,
             .foreground = SystemColour::Highlight},
            {.name = "cmdMainMenu",
             .kind = Kind::Button,
             .geometry = {2040, 4080, 1455, 375},
             .caption = "Main Menu",
             .font = Bold},
            {.name = "cmdExit",
             .kind = Kind::Button,
             .geometry = {3840, 4080, 1455, 375},
             .caption = "Exit",
             .font = Bold},
        },
    };
}

void frmBasicResults::Wire() {
    OnClick("cmdMainMenu", &frmBasicResults::cmdMainMenu_Click);
    OnClick("cmdExit", &frmBasicResults::cmdExit_Click);
}

void frmBasicResults::Form_Load() {
    Show();
    Refresh();
}

void frmBasicResults::Refresh() {
    if (Module1::Model >= 1 && Module1::Model <= 3) {
        const ModelCaptions &captions = ByModel[Module1::Model - 1];
        SetCaption(captions.form);
        Control<QGroupBox>("Frame1")->setTitle(captions.frame);
        Control<QLabel>("Label7")->setText(captions.name);
    }
    if (Module1::Mode >= 1 && Module1::Mode <= 3) {
        Control<QLabel>("Label8")->setText(ByMode[Module1::Mode - 1]);
    }
    const std::string separator = QLocale().decimalPoint().toStdString();
    auto format = [&](double value) {
        return QString::fromStdString(rt::FormatHundredths(value, separator));
    };
    Control<QLabel>("lblAvg")->setText(format(Module1::AvgStaffing));
    Control<QLabel>("lblEffort")->setText(format(Module1::Effort));
    Control<QLabel>("lblTDEV")->setText(format(Module1::TDEV));
}

void frmBasicResults::cmdMainMenu_Click() {
    Unload();
    forms::Show<frmMain>();
}

void frmBasicResults::cmdExit_Click() {
    Unload();
    End();
}
