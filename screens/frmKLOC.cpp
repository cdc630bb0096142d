#include "screens/frmKLOC.h"

#include "engine/Estimate.h"
#include "engine/Module1.h"
#include "screens/Screens.h"

#include <QLineEdit>
#include <QPushButton>

using namespace forms;

namespace {

constexpr Font Entry{"MS Sans Serif", 9.75, false};

// The prompt speaks of thousands but the box takes a count of lines; say so where a
// pointer or a screen reader lands on the box.
const QString SizeHelp = QStringLiteral(
    "Size in lines of code: type 32000 for 32 thousand lines. Press Enter to calculate.");

} // namespace

Layout frmKLOC::LayoutOf() const {
    return {
        "Lines of Code",
        7500,
        4995,
        {
            TitleLabel("lblCocomo", {1200, 240, 5055, 615}),
            {.name = "Label2",
             .kind = Kind::Label,
             .geometry = {1080, 1560, 2775, 615},
             .caption = "Estimated number of delivered lines of code for the project (express "
                        "in thousands):",
             .font = Bold,
             .wordWrap = true},
            {.name = "txtKLOC",
             .kind = Kind::TextBox,
             .geometry = {3960, 1680, 1575, 405},
             .font = Entry,
             .accessibleName = "Estimated number of delivered lines of code",
             .accessibleDescription = SizeHelp,
             .toolTip = SizeHelp,
             .maxLength = 6},
            BoldButton("cmdBack", "Back", {1080, 2880, 1695, 495}),
            BoldButton("cmdClear", "Clear", {3000, 2880, 1695, 495}),
            BoldButton("cmdCalculate", "Calculate", {4920, 2880, 1695, 495}),
            FooterLabel("Label1", {1680, 4680, 4335, 255}),
        },
    };
}

void frmKLOC::Wire() {
    txtKLOC_ = Bind<QLineEdit>("txtKLOC");
    cmdCalculate_ = Bind<QPushButton>("cmdCalculate");
    OnClick("cmdBack", &frmKLOC::cmdBack_Click);
    OnClick("cmdClear", &frmKLOC::cmdClear_Click);
    // A size the calculation cannot use raises a run-time error: its report says what the
    // box takes, and leaves the box with the typed text in view.
    OnClick("cmdCalculate", &frmKLOC::cmdCalculate_Click,
            {QString::fromUtf8(engine::SizeRequirement.data(),
                               static_cast<qsizetype>(engine::SizeRequirement.size())),
             QStringLiteral("txtKLOC")});
    // Calculate is the default button: Enter in the box clicks it. Plain windows have no
    // default-button handling of their own, so the box forwards its Enter.
    cmdCalculate_->setDefault(true);
    QObject::connect(txtKLOC_, &QLineEdit::returnPressed, cmdCalculate_, &QPushButton::click);
}

void frmKLOC::Form_Load() {
    Show();
    txtKLOC_->setText(QStringLiteral(" "));
}

QString frmKLOC::SizeText() const {
    return txtKLOC_ != nullptr ? txtKLOC_->text() : QString();
}

void frmKLOC::cmdClear_Click() {
    // The focus first: a screen reader that hears of the new text while Clear has the focus
    // then takes the box's focus as already known, and says nothing of the emptied box.
    txtKLOC_->setFocus();
    txtKLOC_->setText(QStringLiteral(" "));
}

void frmKLOC::cmdCalculate_Click() {
    if (const std::optional<engine::Estimate> estimate =
            engine::CalculateEstimate(txtKLOC_->text().toStdString())) {
        ShowResults(*estimate);
    }
}

void frmKLOC::cmdBack_Click() {
    ShowModelStep(TheScreen(ScreenName::frmMode));
}
