#include "tests/robustness/WizardModel.h"

#include "tests/robustness/ReferenceNumber.h"
#include "tests/support/PublishedTables.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace model {
namespace {

constexpr const char *DriverArrays[15] = {
    "OptACAP", "optAEXP", "optCPLX", "optDATA", "optLEXP", "optMODP", "optPCAP", "optRELY",
    "optSCED", "optSTOR", "optTIME", "optTOOL", "optTURN", "optVEXP", "optVIRT",
};
constexpr const char *PhaseArrays[6] = {"optRQ", "optPD", "optDD", "optCT", "optIT", "optMN"};

bool IsPhase(Screen s) {
    return s == Screen::PhaseOrg || s == Screen::PhaseSemi || s == Screen::PhaseEmb;
}
int PhaseNumber(Screen s) {
    return static_cast<int>(s) - static_cast<int>(Screen::PhaseOrg);
}

double Power(double base, double exponent, bool &invalid) {
    invalid = base < 0.0;
    if (base == 0.0) {
        return 0.0;
    }
    return invalid ? 0.0 : std::pow(base, exponent);
}

// "#0.00" with a period: rounded to hundredths, no grouping, no minus on a zero.
QString Hundredths(double value) {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    const locale_t previous = uselocale(c);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    uselocale(previous);
    QString text = QString::fromLatin1(buffer);
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

} // namespace

const char *NameOf(Screen screen) {
    constexpr const char *names[ScreenCount] = {"frmMain",     "frmMode",        "frmEAF",
                                                "frmPhaseOrg", "frmPhaseSemi",   "frmPhaseEmb",
                                                "frmKLOC",     "frmBasicResults"};
    return names[static_cast<int>(screen)];
}

const std::vector<QString> &ButtonsOf(Screen screen) {
    static const std::vector<QString> byScreen[ScreenCount] = {
        {"cmdBasic", "cmdIntermediate", "cmdAdvanced", "cmdExit"},
        {"cmdOrganic", "cmdSemidetached", "cmdEmbedded", "cmdBack"},
        {"cmdBack", "cmdContinue"},
        {"cmdBack", "cmdContinue"},
        {"cmdBack", "cmdContinue"},
        {"cmdBack", "cmdContinue"},
        {"cmdBack", "cmdClear", "cmdCalculate"},
        {"cmdMainMenu", "cmdExit"},
    };
    return byScreen[static_cast<int>(screen)];
}

const std::vector<OptionRow> &OptionRowsOf(Screen screen) {
    static const std::vector<OptionRow> none;
    static const std::vector<OptionRow> drivers = [] {
        std::vector<OptionRow> rows;
        for (int r = 0; r < 15; ++r) {
            OptionRow row{DriverArrays[r], 6, {}};
            std::copy(std::begin(published::Offered[r]), std::end(published::Offered[r]),
                      row.enabled.begin());
            rows.push_back(row);
        }
        return rows;
    }();
    static const std::vector<OptionRow> phases = [] {
        std::vector<OptionRow> rows;
        for (const char *array : PhaseArrays) {
            rows.push_back({array, 4, {true, true, true, true, false, false}});
        }
        return rows;
    }();
    if (screen == Screen::EAF) {
        return drivers;
    }
    return IsPhase(screen) ? phases : none;
}

void WizardModel::Start() {
    *this = WizardModel{};
    Show(Screen::Main);
}

bool WizardModel::IsOpen(Screen screen) const {
    return std::find(open_.begin(), open_.end(), screen) != open_.end();
}

const std::array<std::optional<int>, 6> &WizardModel::Columns(Screen phase) const {
    return columns_[static_cast<std::size_t>(PhaseNumber(phase))];
}

double WizardModel::Multiplier(int driver) const {
    const auto &rating = ratings_[static_cast<std::size_t>(driver)];
    return rating ? published::Multipliers[driver][*rating] : 1.0;
}

double WizardModel::Fraction(Screen phase, int row) const {
    const auto &column = Columns(phase)[static_cast<std::size_t>(row)];
    return column ? published::Fractions[PhaseNumber(phase)][row][*column] : 1.0;
}

void WizardModel::Show(Screen screen) {
    if (IsOpen(screen)) {
        Activate(screen);
        return;
    }
    open_.push_back(screen);
    if (screen == Screen::EAF) {
        ratings_ = {};
    } else if (IsPhase(screen)) {
        columns_[static_cast<std::size_t>(PhaseNumber(screen))] = {};
    } else if (screen == Screen::KLOC) {
        text_ = QStringLiteral(" ");
    } else if (screen == Screen::Results) {
        results_ = {};
    }
}

void WizardModel::Unload(Screen screen) {
    open_.erase(std::remove(open_.begin(), open_.end(), screen), open_.end());
}

void WizardModel::End() {
    open_.clear();
    ended_ = true;
}

void WizardModel::Activate(Screen screen) {
    Unload(screen);
    open_.push_back(screen);
}

void WizardModel::AfterAction() {
    if (!ended_ && open_.empty()) {
        End();
    }
}

void WizardModel::ShowPhase(int mode) {
    if (mode >= 1 && mode <= 3) {
        Show(static_cast<Screen>(static_cast<int>(Screen::PhaseOrg) + mode - 1));
    }
}

void WizardModel::ClickButton(Screen screen, const QString &button) {
    Activate(screen);
    const auto is = [&](const char *name) {
        return button == QLatin1String(name);
    };
    switch (screen) {
    case Screen::Main:
        if (is("cmdExit")) {
            Unload(screen);
            End();
            break;
        }
        vars_.Model = is("cmdBasic") ? 1 : is("cmdIntermediate") ? 2 : 3;
        Unload(screen);
        Show(Screen::Mode);
        break;
    case Screen::Mode:
        if (is("cmdBack")) {
            Show(Screen::Main);
            break;
        }
        vars_.Mode = is("cmdOrganic") ? 1 : is("cmdSemidetached") ? 2 : 3;
        if (vars_.Model == 1) {
            Show(Screen::KLOC);
        } else if (vars_.Model == 2) {
            Show(Screen::EAF);
        } else if (vars_.Model == 3) {
            ShowPhase(vars_.Mode);
        }
        break;
    case Screen::EAF:
        if (is("cmdBack")) {
            Unload(screen);
            Show(Screen::Mode);
            break;
        }
        vars_.EAF = Multiplier(0);
        for (int driver = 1; driver < 15; ++driver) {
            vars_.EAF *= Multiplier(driver);
        }
        Show(Screen::KLOC);
        break;
    case Screen::PhaseOrg:
    case Screen::PhaseSemi:
    case Screen::PhaseEmb:
        if (is("cmdContinue")) {
            vars_.EAF = Fraction(screen, 0);
            for (int row = 1; row < 6; ++row) {
                vars_.EAF += Fraction(screen, row);
            }
            Unload(screen);
            Show(Screen::KLOC);
            break;
        }
        Unload(screen);
        if (vars_.Model == 3) {
            Show(Screen::Mode);
        }
        break;
    case Screen::KLOC:
        if (is("cmdClear")) {
            text_ = QStringLiteral(" ");
        } else if (is("cmdCalculate")) {
            Calculate();
        } else if (vars_.Model == 1) {
            Show(Screen::Mode);
        } else if (vars_.Model == 2) {
            Show(Screen::EAF);
        } else if (vars_.Model == 3) {
            ShowPhase(vars_.Mode);
        }
        break;
    case Screen::Results:
        Unload(screen);
        if (is("cmdExit")) {
            End();
        } else {
            Show(Screen::Main);
        }
        break;
    }
    AfterAction();
}

void WizardModel::ClickOption(Screen screen, int row, int index) {
    Activate(screen);
    if (screen == Screen::EAF) {
        ratings_[static_cast<std::size_t>(row)] = index;
    } else {
        columns_[static_cast<std::size_t>(PhaseNumber(screen))][static_cast<std::size_t>(row)] =
            index;
    }
}

void WizardModel::Type(const QString &typed, bool selectAll) {
    Activate(Screen::KLOC);
    for (const QChar c : typed) {
        if (selectAll) {
            text_.clear();
            selectAll = false;
        }
        if (text_.size() < 6) {
            text_ += c;
        }
    }
}

void WizardModel::Paste(const QString &clip, bool selectAll) {
    Activate(Screen::KLOC);
    if (selectAll && (!clip.isEmpty() || !text_.isEmpty())) {
        text_.clear();
    }
    text_ += clip.left(6 - text_.size());
}

void WizardModel::PressEnter() {
    Activate(Screen::KLOC);
    Calculate();
}

void WizardModel::Close(Screen screen) {
    Unload(screen);
    AfterAction();
}

void WizardModel::DismissError() {
    error_.reset();
}

void WizardModel::Fail(int number, const char *description) {
    error_ = QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(description);
}

void WizardModel::Calculate() {
    const std::u16string units = text_.toStdU16String();
    const reference::Reading typed = reference::Read(std::u16string_view(units));
    if (typed.overflow) {
        return Fail(6, "Overflow");
    }
    const std::optional<std::int32_t> lines = reference::RoundToInt32(typed.value);
    if (!lines) {
        return Fail(6, "Overflow");
    }
    if (vars_.Model < 1 || vars_.Model > 3) {
        return;
    }
    if (vars_.Mode >= 1 && vars_.Mode <= 3) {
        const published::Equation &k = published::EquationOf(vars_.Model, vars_.Mode);
        const double kloc = static_cast<double>(*lines) / 1000.0;
        bool invalid = false;
        const double power = Power(kloc, k.b, invalid);
        if (invalid) {
            return Fail(5, "Invalid procedure call or argument");
        }
        vars_.Effort = vars_.Model == 1 ? power * k.a : power * vars_.EAF * k.a;
        if (!std::isfinite(vars_.Effort)) {
            return Fail(6, "Overflow");
        }
        const double schedule = Power(vars_.Effort, k.d, invalid);
        if (invalid) {
            return Fail(5, "Invalid procedure call or argument");
        }
        vars_.TDEV = schedule * k.c;
        if (!std::isfinite(vars_.TDEV)) {
            return Fail(6, "Overflow");
        }
    }
    vars_.AvgStaffing = vars_.Effort / vars_.TDEV;
    if (!std::isfinite(vars_.AvgStaffing)) {
        return Fail(6, "Overflow");
    }
    constexpr const char *models[3][3] = {
        {"Basic Effort Results", "Results for the Basic Model", "Basic"},
        {"Intermediate Effort Results", "Results for the Intermediate Model", "Intermediate"},
        {"Advanced Effort Results", "Results for the Advanced Model", "Advanced"},
    };
    constexpr const char *modes[3] = {"Organic", "Semi-detached", "Embedded"};
    Show(Screen::Results);
    const auto &captions = models[vars_.Model - 1];
    results_.caption = captions[0];
    results_.frame = captions[1];
    results_.model = captions[2];
    if (vars_.Mode >= 1 && vars_.Mode <= 3) {
        results_.mode = modes[vars_.Mode - 1];
    }
    results_.effort = Hundredths(vars_.Effort);
    results_.tdev = Hundredths(vars_.TDEV);
    results_.avg = Hundredths(vars_.AvgStaffing);
}

} // namespace model
