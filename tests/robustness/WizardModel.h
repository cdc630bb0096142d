#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What the wizard must do, as a plain state machine that shares no code with the screens
// or the engine: which screens are open and in what order, the shared variables, each
// open screen's selections and text, the results screen's labels, the error box and
// whether the program has ended.
namespace model {

enum class Screen {
    Main,
    Mode,
    EAF,
    PhaseOrg,
    PhaseSemi,
    PhaseEmb,
    KLOC,
    Results,
};
inline constexpr int ScreenCount = 8;

const char *NameOf(Screen screen);

// The buttons of a screen, the ones that are not option buttons.
const std::vector<QString> &ButtonsOf(Screen screen);

// An option-button row: its array name, its number of buttons and which ones are enabled.
struct OptionRow {
    QString array;
    int buttons;
    std::array<bool, 6> enabled;
};
const std::vector<OptionRow> &OptionRowsOf(Screen screen);

struct Variables {
    std::int16_t Model = 0;
    std::int16_t Mode = 0;
    double Effort = 0.0;
    double TDEV = 0.0;
    double AvgStaffing = 0.0;
    double EAF = 0.0;
};

struct ResultLabels {
    QString caption;
    QString frame;
    QString model; // Label7
    QString mode;  // Label8
    QString effort;
    QString tdev;
    QString avg;
};

class WizardModel {
public:
    // The program's start: only the main menu is open, every variable zero.
    void Start();

    // A user action on an open screen brings it to the front first, as clicking into a
    // covered window does.
    void Activate(Screen screen);
    void ClickButton(Screen screen, const QString &button);
    void ClickOption(Screen screen, int row, int index);
    // Keys typed into the size box; each character is inserted at the cursor while the box
    // holds fewer than six. With selectAll the first replaces the whole text.
    void Type(const QString &typed, bool selectAll);
    // A paste at the cursor, cut to what still fits.
    void Paste(const QString &clip, bool selectAll);
    void PressEnter();
    // Closed through the window manager: that screen alone unloads, no handler runs.
    void Close(Screen screen);
    void DismissError();

    bool IsOpen(Screen screen) const;
    // Back to front.
    const std::vector<Screen> &Open() const { return open_; }
    bool Ended() const { return ended_; }
    const std::optional<QString> &Error() const { return error_; }
    const Variables &Vars() const { return vars_; }
    // Per row: the selected index, or none.
    const std::array<std::optional<int>, 15> &Ratings() const { return ratings_; }
    const std::array<std::optional<int>, 6> &Columns(Screen phase) const;
    // The working values the selections imply.
    double Multiplier(int driver) const;
    double Fraction(Screen phase, int row) const;
    const QString &SizeText() const { return text_; }
    const ResultLabels &Results() const { return results_; }

private:
    void Show(Screen screen);
    void Unload(Screen screen);
    void End();
    void ShowPhase(int mode);
    void Calculate();
    void Fail(int number, const char *description);
    void AfterAction();

    std::vector<Screen> open_;
    bool ended_ = false;
    std::optional<QString> error_;
    Variables vars_;
    std::array<std::optional<int>, 15> ratings_{};
    std::array<std::array<std::optional<int>, 6>, 3> columns_{};
    QString text_;
    ResultLabels results_;
};

} // namespace model
