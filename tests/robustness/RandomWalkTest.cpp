#include "ScreenTest.h"
#include "WizardModel.h"

#include "frmBasicResults.h"
#include "frmEAF.h"
#include "frmKLOC.h"
#include "frmMain.h"
#include "frmMode.h"
#include "frmPhase.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

using model::Screen;
using model::WizardModel;

namespace {

forms::Form &FormOf(Screen screen) {
    switch (screen) {
    case Screen::Main:
        return forms::Get<frmMain>();
    case Screen::Mode:
        return forms::Get<frmMode>();
    case Screen::EAF:
        return forms::Get<frmEAF>();
    case Screen::PhaseOrg:
        return forms::Get<frmPhaseOrg>();
    case Screen::PhaseSemi:
        return forms::Get<frmPhaseSemi>();
    case Screen::PhaseEmb:
        return forms::Get<frmPhaseEmb>();
    case Screen::KLOC:
        return forms::Get<frmKLOC>();
    case Screen::Results:
        break;
    }
    return forms::Get<frmBasicResults>();
}

const char *NameOfForm(const forms::Form *form) {
    for (int s = 0; s < model::ScreenCount; ++s) {
        if (&FormOf(static_cast<Screen>(s)) == form) {
            return model::NameOf(static_cast<Screen>(s));
        }
    }
    return "an unknown form";
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
    enum Kind { Button, Option, Type, Paste, Enter, Close, Dismiss } kind;
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
        }
        return out.str();
    }
};

bool Applicable(const Action &a, const WizardModel &m) {
    if (m.Ended()) {
        return false;
    }
    if (m.Error()) {
        return a.kind == Action::Dismiss;
    }
    switch (a.kind) {
    case Action::Dismiss:
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
    }
}

// Texts worth typing: the typed-text table, the limits of the box and of the conversions.
const QStringList NotableTexts = {
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

class Walker {
public:
    explicit Walker(unsigned seed)
        : rng_(seed) {}

    Action Next(const WizardModel &m) {
        if (m.Error()) {
            return {Action::Dismiss};
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
        const int weights[] = {45, options.empty() ? 0 : 25, box ? 20 : 0, box ? 6 : 0, 2};
        std::discrete_distribution<int> kind(std::begin(weights), std::end(weights));
        switch (kind(rng_)) {
        case 0:
            return Pick(buttons);
        case 1:
            return Pick(options);
        case 2: {
            const bool paste = Chance(0.4);
            Action a{paste ? Action::Paste : Action::Type, Screen::KLOC};
            a.selectAll = Chance(0.6);
            a.text = RandomText(paste);
            return a;
        }
        case 3:
            return {Action::Enter, Screen::KLOC};
        default:
            return Pick(closes);
        }
    }

private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    Action Pick(const std::vector<Action> &from) {
        return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
    }

    QString RandomText(bool paste) {
        const int shape = Below(3);
        if (shape == 0) {
            QString text = NotableTexts[Below(static_cast<int>(NotableTexts.size()))];
            return paste ? text : text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        }
        if (shape == 1) {
            QString number = Chance(0.2) ? QStringLiteral("-") : QString();
            const int digits = 1 + Below(7);
            for (int i = 0; i < digits; ++i) {
                number += QChar('0' + Below(10));
            }
            if (Chance(0.3)) {
                number.insert(1 + Below(static_cast<int>(number.size())), QLatin1Char('.'));
            }
            if (Chance(0.3)) {
                number += QStringLiteral("E") + QString::number(Below(12));
            }
            return number;
        }
        const QString &alphabet = paste ? PastedAlphabet : TypedAlphabet;
        const int length = paste && Chance(0.3) ? 7 + Below(60) : Below(9);
        QString text;
        while (text.size() < length) {
            const int i = Below(static_cast<int>(alphabet.size()));
            if (alphabet[i].isHighSurrogate()) {
                text += alphabet.mid(i, 2);
            } else if (!alphabet[i].isLowSurrogate()) {
                text += alphabet[i];
            }
        }
        return text;
    }

    std::mt19937 rng_;
};

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
    long runs = 0;
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
protected:
    static void SetUpTestSuite() { qInstallMessageHandler(QuietPlatformNoise); }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }

    static long StepsFromEnvironment() {
        const char *steps = std::getenv("COCOMO_WALK_STEPS");
        return steps != nullptr ? std::atol(steps) : 4000;
    }

    // The program's start and the model's, from nothing.
    void Restart() {
        forms::UnloadAll();
        Module1::Model = 0;
        Module1::Mode = 0;
        Module1::Effort = 0.0;
        Module1::TDEV = 0.0;
        Module1::AvgStaffing = 0.0;
        Module1::EAF = 0.0;
        Settle();
        Start();
        model_.Start();
    }

    // Performs the action on the real widgets. Returns what stopped it, if anything.
    std::string Perform(const Action &a) {
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
    std::string Compare() const {
        std::ostringstream diff;
        if (forms::Ended() != model_.Ended()) {
            diff << "ended: program " << forms::Ended() << ", model " << model_.Ended();
            return diff.str();
        }
        if (model_.Ended()) {
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
        if ((box != nullptr) != model_.Error().has_value() ||
            (box != nullptr && boxText != *model_.Error())) {
            diff << "error box: program \"" << boxText.toStdString() << "\", model \""
                 << model_.Error().value_or(QString()).toStdString() << '"';
            return diff.str();
        }
        std::vector<std::string> program, expected;
        for (const forms::Form *f : forms::LoadedForms()) {
            program.push_back(NameOfForm(f));
        }
        for (const Screen s : model_.Open()) {
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
        const model::Variables &v = model_.Vars();
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
        return CompareScreens();
    }

    std::string CompareScreens() const {
        std::ostringstream diff;
        for (int s = 0; s < model::ScreenCount; ++s) {
            const Screen screen = static_cast<Screen>(s);
            const auto &rows = model::OptionRowsOf(screen);
            if (rows.empty() || !model_.IsOpen(screen)) {
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
                    screen == Screen::EAF ? model_.Ratings()[r] : model_.Columns(screen)[r];
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
                    screen == Screen::EAF ? model_.Multiplier(row) : model_.Fraction(screen, row);
                if (!SameDouble(working, wanted)) {
                    diff << model::NameOf(screen) << " working value of row " << r << ": program "
                         << Show(working) << ", model " << Show(wanted);
                    return diff.str();
                }
            }
        }
        if (model_.IsOpen(Screen::KLOC)) {
            const QString text =
                forms::Get<frmKLOC>().Control<QLineEdit>(QStringLiteral("txtKLOC"))->text();
            if (text != model_.SizeText()) {
                diff << "txtKLOC: program " << Quoted(text) << ", model "
                     << Quoted(model_.SizeText());
                return diff.str();
            }
        }
        if (model_.IsOpen(Screen::Results)) {
            const frmBasicResults &r = forms::Get<frmBasicResults>();
            const model::ResultLabels &want = model_.Results();
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

    // Replays actions from a fresh start, skipping those the state does not offer, and
    // returns the first difference.
    std::string Replay(const std::vector<Action> &actions) {
        Restart();
        for (const Action &a : actions) {
            if (model_.Ended()) {
                Restart();
            }
            if (!Applicable(a, model_)) {
                continue;
            }
            Apply(a, model_);
            std::string diff = Perform(a);
            if (diff.empty()) {
                diff = Compare();
            }
            if (!diff.empty()) {
                return diff;
            }
        }
        return {};
    }

    // Removes chunks of ever smaller size as long as the difference stays.
    std::vector<Action> Shrink(std::vector<Action> actions) {
        int budget = 400;
        for (std::size_t chunk = actions.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
            for (std::size_t at = 0; at < actions.size() && budget > 0;) {
                std::vector<Action> fewer = actions;
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                            fewer.begin() +
                                static_cast<std::ptrdiff_t>(std::min(at + chunk, fewer.size())));
                --budget;
                if (!Replay(fewer).empty()) {
                    actions = std::move(fewer);
                } else {
                    at += chunk;
                }
            }
        }
        return actions;
    }

    // Walks from the start for the given number of steps; false on a difference.
    bool Walk(unsigned seed, long steps, Counts &counts) {
        Walker walker(seed);
        std::vector<Action> sinceStart;
        Restart();
        ++counts.runs;
        for (long step = 0; step < steps; ++step) {
            if (model_.Ended()) {
                Restart();
                ++counts.runs;
                sinceStart.clear();
            }
            const Action a = walker.Next(model_);
            sinceStart.push_back(a);
            Apply(a, model_);
            std::string diff = Perform(a);
            if (diff.empty()) {
                diff = Compare();
            }
            ++counts.steps;
            if (a.kind == Action::Dismiss) {
                ++counts.errors;
            }
            if (model_.IsOpen(Screen::Results) && model_.Open().back() == Screen::Results &&
                (a.kind == Action::Enter ||
                 (a.kind == Action::Button && a.button == QLatin1String("cmdCalculate")))) {
                ++counts.results;
            }
            if (!diff.empty()) {
                Report(seed, step, diff, sinceStart);
                return false;
            }
        }
        return true;
    }

    void Report(unsigned seed, long step, const std::string &diff,
                const std::vector<Action> &sinceStart) {
        const std::vector<Action> shortest = Shrink(sinceStart);
        std::ostringstream out;
        out << "The program left the model at step " << step << " of seed " << seed << ": " << diff
            << "\nShortest action list found (" << shortest.size()
            << " actions, from the start):\n";
        for (const Action &a : shortest) {
            out << "  " << a.Describe() << '\n';
        }
        out << "which ends with: " << Replay(shortest) << '\n';
        ADD_FAILURE() << out.str();
    }

    WizardModel model_;
};

TEST_F(RandomWalk, ProgramFollowsTheModelOverRandomUserActions) {
    const long total = StepsFromEnvironment();
    std::vector<unsigned> seeds{20240101u, 7u, 1234567u, 99u};
    if (const char *seed = std::getenv("COCOMO_WALK_SEED")) {
        seeds = {static_cast<unsigned>(std::strtoul(seed, nullptr, 10))};
    }
    Counts counts;
    const auto began = std::chrono::steady_clock::now();
    for (const unsigned seed : seeds) {
        if (!Walk(seed, total / static_cast<long>(seeds.size()), counts)) {
            break;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("random walk: %ld steps over %zu seed(s), %ld runs, %ld results shown, "
                "%ld error boxes, %.1f s\n",
                counts.steps, seeds.size(), counts.runs, counts.results, counts.errors, seconds);
}

} // namespace
