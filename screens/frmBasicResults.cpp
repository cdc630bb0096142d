#include "screens/frmBasicResults.h"

#include "engine/Estimate.h"
#include "engine/Module1.h"
#include "engine/Names.h"
#include "runtime/numeric/Numeric.h"
#include "screens/Screens.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>

using namespace forms;

namespace {

constexpr Font Larger{"MS Sans Serif", 9.75, false};
constexpr Font FrameCaption{"MS Sans Serif", 9.75, true};

ControlSpec InFrame(ControlSpec c) {
    c.container = "Frame1";
    return c;
}

// What the results call the model or mode.
QString Shown(const engine::Name &name) {
    return QString::fromUtf8(name.shown.data(), static_cast<qsizetype>(name.shown.size()));
}

// Where a pointer or a screen reader lands on a figure, how it was obtained.
void Explain(QLabel *figure, const QString &how) {
    figure->setToolTip(how);
    figure->setAccessibleDescription(how);
}

// The size the figures were calculated from, in thousands of lines; written as the symbol
// where the screen was shown without an estimate.
QString ThousandsOfLines(const QLocale &locale, const std::optional<engine::Estimate> &estimate) {
    if (!estimate) {
        return QStringLiteral("KLOC");
    }
    return locale.toString(static_cast<double>(estimate->lines) / 1000.0, 'f',
                           QLocale::FloatingPointShortest);
}

} // namespace

Layout frmBasicResults::LayoutOf() const {
    return {
        "",
        7500,
        4995,
        {
            TitleLabel("Label1", {1200, 240, 5055, 495}),
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
            FooterLabel("Label15", {1080, 4680, 5175, 255}),
            BoldButton("cmdMainMenu", "Main Menu", {2040, 4080, 1455, 375}),
            BoldButton("cmdExit", "Exit", {3840, 4080, 1455, 375}),
        },
    };
}

void frmBasicResults::Wire() {
    Frame1_ = Bind<QGroupBox>("Frame1");
    Label7_ = Bind<QLabel>("Label7");
    Label8_ = Bind<QLabel>("Label8");
    lblEffort_ = Bind<QLabel>("lblEffort");
    lblTDEV_ = Bind<QLabel>("lblTDEV");
    lblAvg_ = Bind<QLabel>("lblAvg");
    // Each figure is named by what it shows; its caption labels it for a screen reader, which
    // reads the unit beside it on the screen and in the figure's description.
    Bind<QLabel>("Label4")->setBuddy(lblEffort_);
    Bind<QLabel>("Label5")->setBuddy(lblTDEV_);
    Bind<QLabel>("Label6")->setBuddy(lblAvg_);
    OnClick("cmdMainMenu", &frmBasicResults::cmdMainMenu_Click);
    OnClick("cmdExit", &frmBasicResults::cmdExit_Click);
}

void frmBasicResults::Form_Load() {
    Show();
    Refresh();
}

void frmBasicResults::Refresh() {
    if (Module1::Model >= Models::Basic && Module1::Model <= Models::Advanced) {
        const QString model = Shown(engine::NameOf(engine::ModelNames, Module1::Model));
        SetCaption(QStringLiteral("%1 Effort Results").arg(model));
        Frame1_->setTitle(QStringLiteral("Results for the %1 Model").arg(model));
        Label7_->setText(model);
    }
    if (Module1::Mode >= Modes::Organic && Module1::Mode <= Modes::Embedded) {
        Label8_->setText(Shown(engine::NameOf(engine::ModeNames, Module1::Mode)));
    }
    const std::string separator = QLocale().decimalPoint().toStdString();
    auto format = [&](double value) {
        return QString::fromStdString(rt::FormatHundredths(value, separator));
    };
    const QString avg = format(Module1::AvgStaffing);
    const QString effort = format(Module1::Effort);
    const QString tdev = format(Module1::TDEV);
    lblAvg_->setText(avg);
    lblEffort_->setText(effort);
    lblTDEV_->setText(tdev);
    Describe(effort, tdev, avg);
}

void frmBasicResults::Describe(const QString &effort, const QString &tdev, const QString &avg) {
    if (Module1::Model < Models::Basic || Module1::Model > Models::Advanced ||
        Module1::Mode < Modes::Organic || Module1::Mode > Modes::Embedded) {
        return;
    }
    const engine::Coefficients &k =
        engine::CoefficientTable[static_cast<std::size_t>(Module1::Model - 1)]
                                [static_cast<std::size_t>(Module1::Mode - 1)];
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto fixed = [&locale](double value, int decimals) {
        return locale.toString(value, 'f', decimals);
    };
    QString equation = QStringLiteral("Effort = %1 x %2^%3")
                           .arg(fixed(k.a, 1), ThousandsOfLines(locale, estimate_), fixed(k.b, 2));
    if (k.appliesEAF) {
        equation += QStringLiteral(" x EAF %1").arg(fixed(Module1::EAF, 2));
    }
    Explain(lblEffort_,
            equation +
                QStringLiteral(" = %1 staff-months (the work of one person for that many months)")
                    .arg(effort));
    Explain(lblTDEV_, QStringLiteral("TDEV = %1 x Effort^%2 = %3 months (calendar time)")
                          .arg(fixed(k.c, 1), fixed(k.d, 2), tdev));
    Explain(lblAvg_, QStringLiteral("Average staffing = Effort / TDEV = %1 people").arg(avg));
}

void frmBasicResults::ShowEstimate(const engine::Estimate &estimate) {
    estimate_ = estimate;
    if (IsLoaded()) {
        Refresh();
    }
    Show();
}

void frmBasicResults::cmdMainMenu_Click() {
    Unload();
    ShowScreen(ScreenName::frmMain);
}

void frmBasicResults::cmdExit_Click() {
    Unload();
    End();
}
