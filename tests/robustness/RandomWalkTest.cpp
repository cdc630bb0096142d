#include "tests/robustness/WizardModel.h"
#include "tests/screens/ScreenTest.h"

#include "screens/frmBasicResults.h"
#include "screens/frmEAF.h"
#include "screens/frmKLOC.h"
#include "screens/frmPhase.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sstream>

using model::Screen;
using model::WizardModel;

namespace {

forms::Form &FormOf(Screen screen) {
    return FormNamed(model::NameOf(screen));
}

// A text with everything but plain ASCII written as code points.
std::string Quoted(const QString &text) {
    std::ostringstream q;
    q << '"';
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('"') &&
            c != QLatin1Char('\\')) {
            q << static_cast<char>(c.unicode());
        } else {
            q << "\\u{" << std::hex << static_cast<unsigned>(c.unicode()) << std::dec << '}';
        }
    }
    q << '"';
    return q.str();
}

struct Action {
    enum Kind { Button, Option, Type, Paste, Enter, Close, Dismiss, Restart } kind;
    Screen screen = Screen::Main;
    QString button{};
    int row = 0;
    int index = 0;
    QString text{};
    bool selectAll = false;

    std::string Describe() const {
        std::ostringstream out;
        const char *form = model::NameOf(screen);
        switch (kind) {
        case Button:
            out << "click " << form << '.' << button.toStdString();
            break;
        case Option:
            out << "select " << form << '.'
                << model::OptionRowsOf(screen)[static_cast<std::size_t>(row)].array.toStdString()
                << '(' << index << ')';
            break;
        case Type:
            out << (selectAll ? "select all, type " : "at the end, type ") << Quoted(text);
            break;
        case Paste:
            out << (selectAll ? "select all, paste " : "at the end, paste ") << Quoted(text);
            break;
        case Enter:
            out << "press Enter in frmKLOC.txtKLOC";
            break;
        case Close:
            out << "close " << form << " by the window manager";
            break;
        case Dismiss:
            out << "dismiss the error box";
            break;
        case Restart:
            out << "start the program again";
            break;
        }
        return out.str();
    }
};

bool Applicable(const Action &a, const WizardModel &m) {
    if (m.Ended()) {
        return a.kind == Action::Restart;
    }
    if (m.Error()) {
        return a.kind == Action::Dismiss;
    }
    switch (a.kind) {
    case Action::Dismiss:
    case Action::Restart:
        return false;
    case Action::Type:
    case Action::Paste:
    case Action::Enter:
        return m.IsOpen(Screen::KLOC);
    case Action::Button:
    case Action::Option:
    case Action::Close:
        break;
    }
    return m.IsOpen(a.screen);
}

void Apply(const Action &a, WizardModel &m) {
    switch (a.kind) {
    case Action::Button:
        m.ClickButton(a.screen, a.button);
        break;
    case Action::Option:
        m.ClickOption(a.screen, a.row, a.index);
        break;
    case Action::Type:
        m.Type(a.text, a.selectAll);
        break;
    case Action::Paste:
        m.Paste(a.text, a.selectAll);
        break;
    case Action::Enter:
        m.PressEnter();
        break;
    case Action::Close:
        m.Close(a.screen);
        break;
    case Action::Dismiss:
        m.DismissError();
        break;
    case Action::Restart:
        m.Start();
        break;
    }
}

// Texts worth typing: the typed-text table, the limits of the box and of the conversions.
const std::vector<QString> NotableTexts = {
    "32000", "1000",         "32,000",     "  32 000", "3.2E4", "2500.5", "2501.5",
    "1.5",   "0.5",          "0.4",        "",         " ",     "abc",    "0",
    "-1000", "2147483647",   "2147483648", "1E9",      "3E9",   "999999", "1e308",
    "1e309", "1E-400",       "-0",         "4.9e-324", "2.1E9", "2.2E9",  "-2.1E9",
    "1 E 3", ".5",           "5.",         "+7",       "1.2.3", "3E",     "3E+x",
    "0x10",  "1e4e2",        "--5",        "- 5",      "99999", "1E999",  "-1E999",
    "12345", "2147483.647E3"};

// What a keyboard can type: printable characters only, one code unit each.
const QString TypedAlphabet = QStringLiteral("0123456789012345678901234567890123456789"
                                             "     ++--..,,EEeeax\u0663\uff11\u0967");
// A paste can carry anything: control characters, line breaks, characters beyond the
// basic plane.
const QString PastedAlphabet =
    TypedAlphabet + QStringLiteral("\t\t\n\n\r\x01\x7f") + QChar(0) + QStringLiteral("\U0001D7D7");

// True with the given chance in percent.
rc::Gen<bool> Chance(std::size_t percent) {
    return rc::gen::weightedElement<bool>({{percent, true}, {100 - percent, false}});
}

rc::Gen<QString> RandomText(bool paste) {
    const rc::Gen<QString> notable =
        rc::gen::map(rc::gen::elementOf(NotableTexts), [paste](QString t) {
            return paste ? t : t.replace(QLatin1Char('\t'), QLatin1Char(' '));
        });
    const rc::Gen<QString> number = rc::gen::exec([] {
        QString n = *Chance(20) ? QStringLiteral("-") : QString();
        const int digits = *rc::gen::inRange(1, 8);
        for (int i = 0; i < digits; ++i) {
            n += QChar('0' + *rc::gen::inRange(0, 10));
        }
        if (*Chance(30)) {
            n.insert(*rc::gen::inRange(1, static_cast<int>(n.size()) + 1), QLatin1Char('.'));
        }
        if (*Chance(30)) {
            n += QStringLiteral("E") + QString::number(*rc::gen::inRange(0, 12));
        }
        return n;
    });
    const rc::Gen<QString> symbols = rc::gen::exec([paste] {
        static const std::u32string typed = TypedAlphabet.toStdU32String();
        static const std::u32string pasted = PastedAlphabet.toStdU32String();
        const int length =
            paste && *Chance(30) ? 7 + *rc::gen::inRange(0, 60) : *rc::gen::inRange(0, 9);
        return QString::fromStdU32String(*rc::gen::container<std::u32string>(
            static_cast<std::size_t>(length), rc::gen::elementOf(paste ? pasted : typed)));
    });
    return rc::gen::oneOf(notable, number, symbols);
}

rc::Gen<Action> NextAction(const WizardModel &m) {
    if (m.Ended()) {
        return rc::gen::just(Action{Action::Restart});
    }
    if (m.Error()) {
        return rc::gen::just(Action{Action::Dismiss});
    }
    std::vector<Action> buttons, options, closes;
    for (const Screen s : m.Open()) {
        for (const QString &b : model::ButtonsOf(s)) {
            buttons.push_back({Action::Button, s, b});
        }
        const auto &rows = model::OptionRowsOf(s);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (int k = 0; k < rows[r].buttons; ++k) {
                if (rows[r].enabled[static_cast<std::size_t>(k)]) {
                    options.push_back({Action::Option, s, {}, static_cast<int>(r), k});
                }
            }
        }
        closes.push_back({Action::Close, s});
    }
    const bool box = m.IsOpen(Screen::KLOC);
    const rc::Gen<Action> text = rc::gen::exec([] {
        const bool paste = *Chance(40);
        Action a{paste ? Action::Paste : Action::Type, Screen::KLOC};
        a.selectAll = *Chance(60);
        a.text = *RandomText(paste);
        return a;
    });
    return rc::gen::weightedOneOf<Action>({
        {45, rc::gen::elementOf(buttons)},
        {options.empty() ? 0 : 25, rc::gen::elementOf(options)},
        {box ? 20 : 0, text},
        {box ? 6 : 0, rc::gen::just(Action{Action::Enter, Screen::KLOC})},
        {2, rc::gen::elementOf(closes)},
    });
}

bool SameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) ||
           std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

std::string Show(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value << " (0x" << std::hex << std::bit_cast<std::uint64_t>(value) << ')';
    return out.str();
}

struct Counts {
    long steps = 0;
    long starts = 0;
    long results = 0;
    long errors = 0;
};

// The offscreen platform warns on every raise and about fonts it cannot shape; over
// thousands of steps that noise would bury a real report.
void QuietPlatformNoise(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (message.startsWith(QLatin1String("This plugin does not support")) ||
        message.contains(QLatin1String("OpenType support missing"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg) {
        std::abort();
    }
}

class RandomWalk : public ScreenTest {
public:
    // Takes the action on the real widgets and returns the first difference from the
    // model after it, if any.
    std::string Take(const Action &a, const WizardModel &after);

protected:
    static void SetUpTestSuite() { qInstallMessageHandler(QuietPlatformNoise); }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }

    // The program's start, from nothing.
    void Restart() {
        BeforeStart();
        Settle();
        Start();
        ++counts_.starts;
    }

    // Performs the action on the real widgets. Returns what stopped it, if anything.
    std::string Perform(const Action &a) {
        if (a.kind == Action::Restart) {
            Restart();
            return {};
        }
        if (a.kind == Action::Dismiss) {
            QMessageBox *box = ErrorBox();
            if (box == nullptr) {
                return "no error box to dismiss";
            }
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            Settle();
            return {};
        }
        forms::Form &form = FormOf(a.screen);
        if (!form.IsLoaded()) {
            return std::string(model::NameOf(a.screen)) + " is not loaded";
        }
        if (a.kind == Action::Close) {
            form.Window()->close();
            Settle();
            return {};
        }
        // A user reaches a covered window by clicking into it, which activates it.
        if (QApplication::activeWindow() != form.Window() || forms::FrontForm() != &form) {
            form.Window()->activateWindow();
            Settle();
        }
        QWidget *target = nullptr;
        if (a.kind == Action::Button) {
            target = form.Control<QWidget>(a.button);
        } else if (a.kind == Action::Option) {
            const auto &row = model::OptionRowsOf(a.screen)[static_cast<std::size_t>(a.row)];
            target = form.Control<QRadioButton>(row.array, static_cast<std::int16_t>(a.index));
        } else {
            target = form.Control<QLineEdit>(QStringLiteral("txtKLOC"));
        }
        if (target == nullptr || !target->isEnabled() || !target->isVisible()) {
            return "the control for \"" + a.Describe() + "\" is missing or disabled";
        }
        switch (a.kind) {
        case Action::Button:
        case Action::Option:
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
            break;
        case Action::Type:
            Place(target, a.selectAll);
            for (const QChar c : a.text) {
                const char16_t u = c.unicode();
                const auto key = u > 0x20 && u < 0x7f
                                     ? static_cast<Qt::Key>(QChar(u).toUpper().unicode())
                                 : u == 0x20 ? Qt::Key_Space
                                             : Qt::Key_unknown;
                QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
            }
            break;
        case Action::Paste:
            QGuiApplication::clipboard()->setText(a.text);
            Place(target, a.selectAll);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            break;
        case Action::Enter:
            QTest::keyClick(target, Qt::Key_Return);
            break;
        case Action::Close:
        case Action::Dismiss:
        case Action::Restart:
            break;
        }
        Settle();
        return {};
    }

    static void Place(QWidget *box, bool selectAll) {
        if (selectAll) {
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        } else {
            QTest::keyClick(box, Qt::Key_End);
        }
    }

    // The first difference between the program and the model, or nothing.
    std::string Compare(const WizardModel &wizard) const {
        std::ostringstream diff;
        if (forms::Ended() != wizard.Ended()) {
            diff << "ended: program " << forms::Ended() << ", model " << wizard.Ended();
            return diff.str();
        }
        if (wizard.Ended()) {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->isVisible()) {
                    return "a window is still visible after the end: " +
                           w->windowTitle().toStdString();
                }
            }
            return {};
        }
        QMessageBox *box = ErrorBox();
        const QString boxText = box != nullptr ? box->text() : QString();
        if ((box != nullptr) != wizard.Error().has_value() ||
            (box != nullptr && boxText != *wizard.Error())) {
            diff << "error box: program \"" << boxText.toStdString() << "\", model \""
                 << wizard.Error().value_or(QString()).toStdString() << '"';
            return diff.str();
        }
        std::vector<std::string> program, expected;
        for (const forms::Form *f : forms::LoadedForms()) {
            program.push_back(NameOf(f));
        }
        for (const Screen s : wizard.Open()) {
            expected.push_back(model::NameOf(s));
            if (!FormOf(s).IsLoaded() || !FormOf(s).Window()->isVisible()) {
                return std::string(model::NameOf(s)) + " should be open and visible";
            }
        }
        if (program != expected) {
            diff << "open forms, back to front: program";
            for (const auto &n : program) {
                diff << ' ' << n;
            }
            diff << "; model";
            for (const auto &n : expected) {
                diff << ' ' << n;
            }
            return diff.str();
        }
        const model::Variables &v = wizard.Vars();
        if (Module1::Model != v.Model || Module1::Mode != v.Mode) {
            diff << "Model/Mode: program " << Module1::Model << '/' << Module1::Mode << ", model "
                 << v.Model << '/' << v.Mode;
            return diff.str();
        }
        const std::pair<const char *, std::pair<double, double>> doubles[] = {
            {"Effort", {Module1::Effort, v.Effort}},
            {"TDEV", {Module1::TDEV, v.TDEV}},
            {"AvgStaffing", {Module1::AvgStaffing, v.AvgStaffing}},
            {"EAF", {Module1::EAF, v.EAF}},
        };
        for (const auto &[name, values] : doubles) {
            if (!SameDouble(values.first, values.second)) {
                diff << name << ": program " << Show(values.first) << ", model "
                     << Show(values.second);
                return diff.str();
            }
        }
        return CompareScreens(wizard);
    }

    std::string CompareScreens(const WizardModel &wizard) const {
        std::ostringstream diff;
        for (int s = 0; s < model::ScreenCount; ++s) {
            const Screen screen = static_cast<Screen>(s);
            const auto &rows = model::OptionRowsOf(screen);
            if (rows.empty() || !wizard.IsOpen(screen)) {
                continue;
            }
            const forms::Form &form = FormOf(screen);
            for (std::size_t r = 0; r < rows.size(); ++r) {
                std::optional<int> checked;
                for (int k = 0; k < rows[r].buttons; ++k) {
                    auto *radio =
                        form.Control<QRadioButton>(rows[r].array, static_cast<std::int16_t>(k));
                    if (radio != nullptr && radio->isChecked()) {
                        checked = k;
                    }
                }
                const int row = static_cast<int>(r);
                const std::optional<int> expected =
                    screen == Screen::EAF ? wizard.Ratings()[r] : wizard.Columns(screen)[r];
                if (checked != expected) {
                    diff << model::NameOf(screen) << '.' << rows[r].array.toStdString()
                         << " selected: program " << checked.value_or(-1) << ", model "
                         << expected.value_or(-1);
                    return diff.str();
                }
                const double working =
                    screen == Screen::EAF
                        ? forms::Get<frmEAF>().Multipliers()->entries[r]
                        : static_cast<const frmPhase &>(form).Fractions()->entries[r];
                const double wanted =
                    screen == Screen::EAF ? wizard.Multiplier(row) : wizard.Fraction(screen, row);
                if (!SameDouble(working, wanted)) {
                    diff << model::NameOf(screen) << " working value of row " << r << ": program "
                         << Show(working) << ", model " << Show(wanted);
                    return diff.str();
                }
            }
        }
        if (wizard.IsOpen(Screen::KLOC)) {
            const QString text =
                forms::Get<frmKLOC>().Control<QLineEdit>(QStringLiteral("txtKLOC"))->text();
            if (text != wizard.SizeText()) {
                diff << "txtKLOC: program " << Quoted(text) << ", model "
                     << Quoted(wizard.SizeText());
                return diff.str();
            }
        }
        if (wizard.IsOpen(Screen::Results)) {
            const frmBasicResults &r = forms::Get<frmBasicResults>();
            const model::ResultLabels &want = wizard.Results();
            const std::pair<const char *, std::pair<QString, QString>> labels[] = {
                {"caption", {r.Caption(), want.caption}},
                {"Frame1", {r.Control<QGroupBox>("Frame1")->title(), want.frame}},
                {"Label7", {r.Control<QLabel>("Label7")->text(), want.model}},
                {"Label8", {r.Control<QLabel>("Label8")->text(), want.mode}},
                {"lblEffort", {r.Control<QLabel>("lblEffort")->text(), want.effort}},
                {"lblTDEV", {r.Control<QLabel>("lblTDEV")->text(), want.tdev}},
                {"lblAvg", {r.Control<QLabel>("lblAvg")->text(), want.avg}},
            };
            for (const auto &[name, texts] : labels) {
                if (texts.first != texts.second) {
                    diff << "frmBasicResults." << name << ": program \""
                         << texts.first.toStdString() << "\", model \""
                         << texts.second.toStdString() << '"';
                    return diff.str();
                }
            }
        }
        return {};
    }

    Counts counts_;
};

std::string RandomWalk::Take(const Action &a, const WizardModel &after) {
    std::string diff = Perform(a);
    if (diff.empty()) {
        diff = Compare(after);
    }
    ++counts_.steps;
    if (a.kind == Action::Dismiss) {
        ++counts_.errors;
    }
    if (after.IsOpen(Screen::Results) && after.Open().back() == Screen::Results &&
        (a.kind == Action::Enter ||
         (a.kind == Action::Button && a.button == QLatin1String("cmdCalculate")))) {
        ++counts_.results;
    }
    return diff;
}

using WalkCommand = rc::state::Command<WizardModel, RandomWalk>;

// One user action: the model takes it, then the real widgets, and the two must agree.
class Step : public WalkCommand {
public:
    explicit Step(Action action)
        : action_(std::move(action)) {}

    void checkPreconditions(const WizardModel &m) const override { RC_PRE(Applicable(action_, m)); }
    void apply(WizardModel &m) const override { Apply(action_, m); }
    void run(const WizardModel &before, RandomWalk &program) const override {
        const std::string diff = program.Take(action_, nextState(before));
        if (!diff.empty()) {
            RC_FAIL(diff);
        }
    }
    void show(std::ostream &os) const override { os << action_.Describe(); }

private:
    Action action_;
};

// The size of a test case would narrow every gen::inRange in the early cases; the walk
// keeps its own distribution in every case and lets the size set only the case's length.
rc::Gen<std::shared_ptr<const WalkCommand>> NextStep(const WizardModel &m) {
    return rc::gen::map(rc::gen::resize(rc::kNominalSize, NextAction(m)),
                        [](Action a) -> std::shared_ptr<const WalkCommand> {
                            return std::make_shared<const Step>(std::move(a));
                        });
}

// RC_PARAMS sets the seed and the number of cases; ctest gives both (README, Robustness).
TEST_F(RandomWalk, ProgramFollowsTheModelOverRandomUserActions) {
    const auto began = std::chrono::steady_clock::now();
    const bool followed = rc::check("the program follows the model", [this] {
        Restart();
        rc::state::check(
            [] {
                WizardModel m;
                m.Start();
                return m;
            },
            *this, NextStep);
    });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("random walk: %ld steps, %ld program starts, %ld results shown, "
                "%ld error boxes, %.1f s\n",
                counts_.steps, counts_.starts, counts_.results, counts_.errors, seconds);
    EXPECT_TRUE(followed) << "the shortest action list found is printed above";
}

} // namespace
