#include "cli/Arguments.h"

#include "cli/Numbers.h"
#include "cli/Words.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace cli {
namespace {

using Names = std::span<const std::string_view>;

constexpr auto ModelWords = engine::WordsOf(engine::ModelNames);
constexpr auto ModeWords = engine::WordsOf(engine::ModeNames);
constexpr auto ModeOtherWords = engine::WordsOf(engine::ModeNames, true);
using namespace engine;
using namespace engine::cocomo2;

// "a, b, c (or x, y, z)": a table's words and their other spellings.
std::string Listed(Names names, Names spellings) {
    return Joined(names) + " (or " + Joined(spellings) + ")";
}

const std::string Models = "models: " + Joined(ModelWords);
const std::string Modes =
    "modes: " + Joined(ModeWords) + " (or " + std::string(ModeOtherWords[1]) + ")";
const std::string Drivers = "drivers: " + Joined(DriverNames);
const std::string Steps = "steps: " + Listed(StepNames, StepLongNames);
const std::string Phases = "phases: " + Joined(PhaseNames);
const std::string Columns = "columns: " + Listed(ColumnNames, ColumnKdsi);
const std::string Formats = "formats: " + Joined(FormatNames);
constexpr std::array<std::string_view, 2> FitNames{"coefficient", "both"};
const std::string Fits = "fits: " + Joined(FitNames);
const std::string Ratings = "ratings: " + Listed(RatingNames, RatingLongNames);
const std::string Scales = "scale factors: " + Joined(NamesOf(engine::cocomo2::ScaleFactors));

constexpr std::string_view Usage =
    "Usage: cocomo-estimate [--model MODEL] [--mode MODE | --coefficients A,B,C,D]\n"
    "                       (--lines N | --lines-from FILE... [--multiproject]\n"
    "                        [--only-lang LANGS | --exclude-lang LANGS])\n"
    "                       [--adapted N --dm P --cm P --im P [--aa N] [--su N] [--unfm F]]\n"
    "                       [--history FILE... [--calibrate coefficient|both]]\n"
    "                       [--scale FACTOR=RATING]...\n"
    "                       [--rating DRIVER=STEP]... [--eaf FACTOR]\n"
    "                       [--phase PHASE=COLUMN]...\n"
    "                       [--salary AMOUNT [--overhead FACTOR] [--currency SYMBOL]]\n"
    "                       [--hours-per-month H]\n"
    "                       [--format text|json|csv|markdown|sloccount] [--locale] [--]\n"
    "       cocomo-estimate --history FILE... [--calibrate coefficient|both]\n"
    "                       [--model basic|intermediate] [--format text|json|csv|markdown]\n"
    "       cocomo-estimate -h | --help | --version\n\n"
    "The COCOMO 81 estimate of the estimation wizard, from the command line, and the\n"
    "COCOMO II.2000 one: the effort in staff-months and person-years, the development\n"
    "time in months and years, and the average staffing. The modes stand for:\n";

constexpr std::string_view Footer =
    "Names are case-insensitive. Exit status: 0 the estimate was written, 1 the size was\n"
    "refused (the calculation refused it, or a report counts no code), 2 the command\n"
    "line or a report could not be read, 3 the output could not be written. See\n"
    "cocomo-estimate(1).";

// The words of a text after the lead on lines of at most 52 characters, the width of the
// help's column of descriptions, the lines after the first indented.
std::string Wrapped(const std::string &text, const std::string &indent = "  ",
                    const std::string &lead = "") {
    constexpr std::size_t width = 52;
    std::string wrapped = lead;
    std::size_t line = lead.size();
    for (const std::string &word : CLI::detail::split(text, ' ')) {
        if (line > lead.size() && line + 1 + word.size() > width) {
            wrapped += "\n" + indent;
            line = indent.size();
        } else if (line > lead.size()) {
            wrapped += ' ';
            ++line;
        }
        wrapped += word;
        line += word.size();
    }
    return wrapped;
}

// A line for each factor: its name, its meaning and the ratings it defines.
std::string FactorLines(std::span<const engine::cocomo2::Factor> factors) {
    std::string lines;
    for (const engine::cocomo2::Factor &factor : factors) {
        const std::vector<std::string_view> ratings = RatingsOf(factor);
        lines += "\n" + std::string(factor.name) + " " + std::string(factor.meaning) + ", " +
                 std::string(ratings.front()) + "-" + std::string(ratings.back());
    }
    return lines;
}

// CLI11's help with the program's own synopsis, and what the modes stand for.
class Help : public CLI::Formatter {
public:
    Help() { column_width(28); }

    std::string make_description(const CLI::App *) const override { return ""; }

    // The value alone: the synopsis shows which options need or exclude others.
    std::string make_option_opts(const CLI::Option *option) const override {
        const bool repeated = option->get_expected_max() == CLI::detail::expected_max_vector_size;
        return " " + option->get_type_name() + (repeated ? " ..." : "");
    }

    std::string make_usage(const CLI::App *, std::string) const override {
        std::string text(Usage);
        for (std::size_t i = 0; i < ModeWords.size(); ++i) {
            text += "  " + std::string(ModeWords[i]) + std::string(14 - ModeWords[i].size(), ' ') +
                    std::string(engine::ModeMeanings[i]) + "\n";
        }
        return text;
    }
};

// A validator of ours, which CLI11 runs on each value of its option and which may turn the
// value into what CLI11 stores; it returns why it refuses a value. CLI11 takes the word after
// an option for its value even where that is the next option, which every one refuses.
// Its name is what the option accepts, for the message on a value missing.
CLI::Validator Validating(const std::string &accepted,
                          std::function<std::string(std::string &)> check) {
    return {[accepted, check](std::string &value) {
                return value.starts_with("--") ? "needs a value; " + accepted : check(value);
            },
            "", accepted};
}

// The index of a word among the names, in any case: CLI11's member check finds it and gives
// it as the table spells it.
std::optional<std::size_t> IndexOf(Names names, std::string word) {
    if (!CLI::IsMember(std::vector<std::string>(names.begin(), names.end()), CLI::ignore_case)(word)
             .empty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), word) - names.begin());
}

std::optional<std::size_t> IndexOf(Names names, Names spellings, const std::string &word) {
    const std::optional<std::size_t> index = IndexOf(names, word);
    return index || spellings.empty() ? index : IndexOf(spellings, word);
}

// Any word but an option's name.
CLI::Validator Any(const std::string &accepted) {
    return Validating(accepted, [](std::string &) { return ""; });
}

// A word of the names (or of their other spellings) turned into its code, its index plus
// first.
CLI::Validator Coded(Names names, Names spellings, const std::string &what,
                     const std::string &accepted, std::size_t first = 1) {
    return Validating(accepted, [=](std::string &word) {
        const std::optional<std::size_t> index = IndexOf(names, spellings, word);
        if (!index) {
            return "unknown " + what + " " + Quoted(word) + "; " + accepted;
        }
        word = std::to_string(*index + first);
        return std::string();
    });
}

// Where a number must lie: above low, or from it where it is included, up to high.
struct Bounds {
    double low = 0.0;
    bool lowIncluded = false;
    double high = std::numeric_limits<double>::max();
    bool whole = false;
};

// A number written in full as std::from_chars reads it (1.17, 2.4e4), finite and within the
// bounds; above zero unless they say otherwise. CLI11 reads a double through a long double,
// which can round twice: the validator hands it the exact value, in hexadecimal.
CLI::Validator Number(const std::string &accepted, Bounds bounds = {}) {
    return Validating(accepted, [accepted, bounds](std::string &text) {
        double value = 0.0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) ||
            value < bounds.low || (value == bounds.low && !bounds.lowIncluded) ||
            value > bounds.high || (bounds.whole && std::trunc(value) != value)) {
            return "takes " + accepted + ", not " + Quoted(text);
        }
        text = "0x" + Chars(value, std::chars_format::hex);
        return std::string();
    });
}

// A whole number's digits after an optional sign, blanks around them dropped; the sign is kept
// so that the calculation refuses a negative size as the wizard does. A command line must not
// read "202,339" as 202 lines, as the size box would.
CLI::Validator Whole(const std::string &accepted) {
    return Validating(accepted, [accepted](std::string &text) {
        const std::string trimmed = CLI::detail::trim_copy(text, " \t\n\r\v\f");
        const std::string_view digits =
            std::string_view(trimmed).substr(trimmed.starts_with('-') || trimmed.starts_with('+'));
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return "takes " + accepted + ", not " + Quoted(text);
        }
        text = trimmed;
        return std::string();
    });
}

// NAME=VALUE of a table: a row by its name and a column by its value, which the row must
// define; both as one code, row x ColumnsPerRow + column.
constexpr std::size_t ColumnsPerRow = 8;

struct Grid {
    std::string shape; // DRIVER=STEP
    std::string rowWhat;
    std::string rowList;
    std::vector<std::string_view> rows;
    std::string columnWhat;
    Names columns;
    Names spellings;
    std::function<bool(std::size_t, std::size_t)> defines;
    const char *definedWhat; // "offered", "defined"
};

std::string Choose(const Grid &grid, std::string &value) {
    const std::string columnList = grid.columnWhat + "s: " + Listed(grid.columns, grid.spellings);
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) {
        return "needs " + grid.shape + ", not " + Quoted(value) + "; " + grid.rowList + "; " +
               columnList;
    }
    const std::string name = value.substr(0, equals);
    const std::string columnName = value.substr(equals + 1);
    const std::optional<std::size_t> row = IndexOf(grid.rows, {}, name);
    if (!row) {
        return "unknown " + grid.rowWhat + " " + Quoted(name) + " in " + Shown(value) + "; " +
               grid.rowList;
    }
    const std::optional<std::size_t> column = IndexOf(grid.columns, grid.spellings, columnName);
    if (!column) {
        return "unknown " + grid.columnWhat + " " + Quoted(columnName) + " in " + Shown(value) +
               "; " + columnList;
    }
    if (!grid.defines(*row, *column)) {
        std::vector<std::string_view> defined;
        for (std::size_t k = 0; k < grid.columns.size(); ++k) {
            if (grid.defines(*row, k)) {
                defined.push_back(grid.columns[k]);
            }
        }
        const std::string rowName(grid.rows[*row]);
        return grid.columnWhat + " " + Quoted(columnName) + " is " + grid.definedWhat + " for " +
               rowName + " in " + Shown(value) + "; " + rowName + " " + grid.columnWhat +
               "s: " + Joined(defined);
    }
    value = std::to_string(*row * ColumnsPerRow + *column);
    return "";
}

Grid Cocomo2Grid(std::span<const engine::cocomo2::Factor> table, std::string shape,
                 std::string rowWhat, std::string rowList) {
    return {std::move(shape),
            std::move(rowWhat),
            std::move(rowList),
            NamesOf(table),
            "rating",
            RatingNames,
            RatingLongNames,
            [table](std::size_t row, std::size_t column) {
                return table[row].values[column].has_value();
            },
            "not defined"};
}

// The choices that rate, scale or pick, as the codes of their grids, and the coefficients.
struct Codes {
    std::vector<std::size_t> ratings;
    std::vector<std::size_t> scales;
    std::vector<std::size_t> phases;
    std::vector<double> coefficients;
};

Grid RatingGrid(std::int16_t model) {
    if (const std::optional<engine::cocomo2::Model> cocomo2 = ModelOf(model)) {
        const auto table = engine::cocomo2::MultipliersOf(*cocomo2);
        return Cocomo2Grid(table, "DRIVER=RATING", "driver",
                           std::string(engine::NameOf(engine::ModelNames, model).word) +
                               " drivers: " + Joined(NamesOf(table)));
    }
    return {"DRIVER=STEP",
            "driver",
            Drivers,
            {DriverNames.begin(), DriverNames.end()},
            "step",
            StepNames,
            StepLongNames,
            [](std::size_t row, std::size_t column) { return engine::RatingOffered[row][column]; },
            "not offered"};
}

CLI::Validator Chosen(const std::string &accepted, std::function<Grid()> grid) {
    return Validating(accepted, [grid](std::string &value) { return Choose(grid(), value); });
}

// The options, in the order the help lists them, each bound to what it sets.
class Options {
public:
    Options(Request &request, Codes &codes)
        : request_(request)
        , codes_(codes) {
        app_->formatter(std::make_shared<Help>());
        app_->allow_extras();
        app_->set_help_flag();
        app_->footer(std::string(Footer));
        // --model comes first: CLI11 checks the values in the order the options were added, and
        // --rating's depend on the model.
        ModelOptions();
        SizeOptions();
        AdaptedOptions();
        HistoryOptions();
        ChoiceOptions();
        CostOptions();
        app_->set_help_flag("-h,--help", "this help");
        app_->set_version_flag("--version", "cocomo-estimate " COCOMO_VERSION, "the version");
    }

    CLI::App &App() const { return *app_; }

private:
    template <typename Target>
    CLI::Option *One(const char *name, Target &target, const char *type,
                     const std::string &description, CLI::Validator validator) {
        return app_->add_option(name, target, description)
            ->type_name(type)
            ->transform(std::move(validator))
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }

    template <typename List>
    CLI::Option *Each(const char *name, List &list, const char *type,
                      const std::string &description, CLI::Validator validator) {
        return app_->add_option(name, list, description)
            ->type_name(type)
            ->transform(std::move(validator))
            ->allow_extra_args(false);
    }

    CLI::Option *Flag(const char *name, bool &set, const char *description) {
        return app_->add_flag(name, set, description)->disable_flag_override();
    }

    void ModelOptions() {
        One("--model", request_.model, "MODEL",
            Wrapped(Joined(ModelWords) + "; basic when left out; the last two are COCOMO "
                                         "II.2000's Post-Architecture and Early Design",
                    ""),
            Coded(ModelWords, {}, "model", Models));
        CLI::Option *mode =
            One("--mode", request_.mode, "MODE",
                Wrapped(Joined(ModeWords) + " (or " + std::string(ModeOtherWords[1]) +
                            "); organic when left out",
                        ""),
                Coded(ModeWords, ModeOtherWords, "mode", Modes));
        Each("--coefficients", codes_.coefficients, "A,B,C,D",
             "basic and intermediate (x the factor), instead of\n"
             "--mode: effort = A x KLOC^B staff-months, TDEV =\n"
             "C x effort^D months",
             Number("four positive numbers A,B,C,D, for example 2.4,1.05,2.5,0.38"))
            ->delimiter(',')
            ->expected(4)
            ->excludes(mode);
    }

    void SizeOptions() {
        CLI::Option *lines = One("--lines", request_.lines, "N",
                                 "the size in delivered lines of code, a whole number\n"
                                 "of digits only: 32000 is 32 thousand lines",
                                 Whole("a whole number of lines, digits only, for example 202339"));
        CLI::Option *reports = Each("--lines-from", request_.reports, "FILE",
                                    "the code lines of a cloc --json report (also with\n"
                                    "--by-file or --by-file-by-lang, and with --diff the\n"
                                    "added and modified ones) or an scc --format json or\n"
                                    "json2 report; - reads standard input; several\n"
                                    "reports add up; the lines of each language shown",
                                    Any("a cloc or scc JSON report, or - for standard input"));
        lines->excludes(reports);
        Flag("--multiproject", request_.multiproject,
             "each report a project of its own: the efforts,\n"
             "staffing and costs summed, the longest schedule")
            ->needs(reports);
        const std::string languages = "names of the reports' languages, separated by commas";
        CLI::Option *only = Each("--only-lang", request_.languages, "LANGS",
                                 "count these languages of the reports alone,\n"
                                 "their names separated by commas",
                                 Any(languages));
        Each("--exclude-lang", request_.languages, "LANGS",
             "count every language of the reports but these", Any(languages))
            ->excludes(only)
            ->each([this](const std::string &) { request_.excludeLanguages = true; });
        for (CLI::Option *option : {only, app_->get_option("--exclude-lang")}) {
            option->delimiter(',')->needs(reports);
        }
    }

    void AdaptedOptions() {
        const CLI::Validator percentage =
            Number("a percentage from 0 to 100, for example 30", {0.0, true, 100.0});
        engine::Adaptation &adaptation = request_.adaptation;
        CLI::Option *adapted =
            One("--adapted", adaptation.lines, "N",
                "lines adapted from existing code, added to the size\n"
                "as the new lines they are worth: COCOMO 81 N x AAF\n"
                "/ 100, COCOMO II N x AAM; AAF = 0.4 DM + 0.3 CM +\n"
                "0.3 IM; for example --adapted 438 --dm 30 --cm 35\n"
                "--im 40",
                Number("a whole number of lines from 0 to 2147483647, for example 438",
                       {0.0, true, 2147483647.0, true}));
        for (const auto &[name, target, what] :
             {std::tuple{"--dm", &adaptation.dm,
                         "DM: the percentage of the adapted design modified,\n0 to 100"},
              std::tuple{"--cm", &adaptation.cm,
                         "CM: the percentage of the adapted code modified, 0\nto 100"},
              std::tuple{"--im", &adaptation.im,
                         "IM: the integration and test effort the adapted\n"
                         "code needs, in percent of new code's, 0 to 100"}}) {
            CLI::Option *option = One(name, *target, "P", what, percentage);
            option->needs(adapted);
            adapted->needs(option);
        }
        One("--aa", adaptation.aa, "N",
            "cocomo2 and cocomo2-early: assessment and\n"
            "assimilation, 0 to 8, 0 when left out; AAM = (AA +\n"
            "AAF x (1 + 0.02 x SU x UNFM)) / 100 for an AAF up to\n"
            "50, else (AA + AAF + SU x UNFM) / 100",
            Number("a number from 0 to 8, for example 4", {0.0, true, 8.0}))
            ->needs(adapted);
        One("--su", adaptation.su, "N",
            "cocomo2 and cocomo2-early: software understanding,\n"
            "10 to 50, 30 when left out",
            Number("a number from 10 to 50, for example 30", {10.0, true, 50.0}))
            ->needs(adapted);
        One("--unfm", adaptation.unfm, "F",
            "cocomo2 and cocomo2-early: the programmers'\n"
            "unfamiliarity with the code, 0 to 1, 0.4 when left\n"
            "out",
            Number("a number from 0 to 1, for example 0.4", {0.0, true, 1.0}))
            ->needs(adapted);
        adapted->excludes("--multiproject");
    }

    void HistoryOptions() {
        CLI::Option *history =
            Each("--history", request_.histories, "FILE",
                 "a table of finished projects, CSV with a header row\n"
                 "or ARFF, with the columns mode, kloc and actual (the\n"
                 "effort) and any drivers; - reads standard input;\n"
                 "tables add up. How close the Basic and\n"
                 "Intermediate models come: MMRE and MdMRE, the mean\n"
                 "and median of |estimate - actual| / actual, PRED(25)\n"
                 "and PRED(30), the projects within 25 % and 30 %,\n"
                 "and those within a factor of two; for example\n"
                 "--history projects.csv",
                 Any("a table of finished projects, CSV or ARFF, or - for standard input"));
        One("--calibrate", request_.calibrate, "FIT",
            "with --history, basic or intermediate: fits each\n"
            "mode's a (coefficient) or a and b (both, from five\n"
            "projects), in logarithms: a = exp(mean of ln(actual\n"
            "/ (EAF x KLOC^b))), or a and b by least squares of\n"
            "ln(actual / EAF) on ln(KLOC); gives each mode's\n"
            "--coefficients, the accuracy fitted and\n"
            "leave-one-out, and with a size the estimate by the\n"
            "fit; for example --history projects.csv\n"
            "--calibrate both",
            Coded(FitNames, {}, "fit", Fits, 0))
            ->needs(history)
            ->excludes("--coefficients");
    }

    void ChoiceOptions() {
        Each("--scale", codes_.scales, "FACTOR=RATING",
             "cocomo2 and cocomo2-early; a factor left out is\n"
             "Nominal; each FACTOR with its RATINGs:" +
                 FactorLines(ScaleFactors) + "\nRATING: " + Joined(RatingNames) + "\n" +
                 Wrapped("or " + Joined(RatingLongNames), "  ", "  "),
             Chosen("FACTOR=RATING; " + Scales + "; " + Ratings, [] {
                 return Cocomo2Grid(ScaleFactors, "FACTOR=RATING", "scale factor", Scales);
             }));
        CLI::Option *rating = Each(
            "--rating", codes_.ratings, "DRIVER=STEP",
            "intermediate, cocomo2 and cocomo2-early; an unrated\n"
            "driver is Nominal\n" +
                Wrapped("intermediate: DRIVER: " + Joined(DriverNames)) + "\n  STEP: " +
                Joined(StepNames) + "\n" + Wrapped("or " + Joined(StepLongNames), "  ", "  ") +
                "\ncocomo2 and cocomo2-early: STEP is a RATING as for\n"
                "--scale; each DRIVER with its RATINGs:\n"
                "cocomo2:" +
                FactorLines(PostArchitecture) + "\ncocomo2-early:" + FactorLines(EarlyDesign),
            Chosen("DRIVER=STEP; " + Drivers + "; " + Steps +
                       "; for cocomo2 and cocomo2-early, the drivers and ratings that --help lists",
                   [this] { return RatingGrid(request_.model); }));
        One("--eaf", request_.eaf, "FACTOR",
            "intermediate only, instead of --rating: the factor\n"
            "as rated elsewhere, a positive number",
            Number("a positive number, for example 1.17"))
            ->excludes(rating);
        Each("--phase", codes_.phases, "PHASE=COLUMN",
             "advanced only; a phase left out counts 1.0\n" +
                 Wrapped("PHASE: " + Joined(PhaseNames)) + "\nCOLUMN: " + Joined(ColumnNames) +
                 "\n  or " + Joined(ColumnKdsi),
             Chosen("PHASE=COLUMN; " + Phases + "; " + Columns, [] {
                 return Grid{"PHASE=COLUMN",
                             "phase",
                             Phases,
                             {PhaseNames.begin(), PhaseNames.end()},
                             "column",
                             ColumnNames,
                             ColumnKdsi,
                             [](std::size_t, std::size_t) { return true; },
                             ""};
             }));
    }

    void CostOptions() {
        One("--salary", request_.salary, "AMOUNT",
            "the yearly cost of one person: adds the cost, the\n"
            "effort in staff-months x AMOUNT / 12 x the overhead",
            Number("a positive yearly amount, for example 56286"));
        One("--overhead", request_.overhead, "FACTOR",
            "with --salary or sloccount: what else a person\n"
            "costs, 2.4 when left out",
            Number("a positive factor, for example 2.4"));
        One("--currency", request_.currency, "SYMBOL",
            "with --salary, text, markdown and sloccount: the\n"
            "symbol before the cost",
            Any("a currency symbol, for example $"));
        One("--hours-per-month", request_.hoursPerMonth, "H",
            "the hours of a staff-month, for the effort in labor\n"
            "hours; 152 when left out",
            Number("a number of hours above 0 up to 744, the hours of a month, for example 152",
                   {0.0, false, 744.0}));
        One("--format", request_.format, "FORMAT",
            Joined(FormatNames) + "; text when\n"
                                  "left out; markdown is a table for a pull request,\n"
                                  "sloccount SLOCCount's summary, with its salary\n"
                                  "56286 when --salary is left out",
            Coded(FormatNames, {}, "format", Formats, 0));
        Flag("--locale", request_.locale,
             "text and markdown: the decimal and thousands\n"
             "separators of the user's locale");
    }

    Request &request_;
    Codes &codes_;
    std::unique_ptr<CLI::App> app_ = std::make_unique<CLI::App>("", "cocomo-estimate");
};

std::string OptionList(const CLI::App &app) {
    std::string list;
    for (const CLI::Option *option : app.get_options()) {
        for (const std::string &name : option->get_snames()) {
            list += (list.empty() ? "options: -" : ", -") + name;
        }
        for (const std::string &name : option->get_lnames()) {
            list += (list.empty() ? "options: --" : ", --") + name;
        }
    }
    return list;
}

// The words that no option took; after "--" every word is one of them. CLI11 would refuse
// them itself, but without naming the options there are.
void Unexpected(const CLI::App &app) {
    const std::vector<std::string> extra = app.remaining();
    if (extra.empty() || extra == std::vector<std::string>{"--"}) {
        return;
    }
    const std::string_view word = extra[0] == "--" ? extra[1] : extra[0];
    if (extra[0] == "--" || !word.starts_with('-') || word == "-") {
        throw UsageError("unexpected argument " + Quoted(word) + "; " + OptionList(app));
    }
    throw UsageError("unknown option " + Quoted(word.substr(0, word.find('='))) + "; " +
                     OptionList(app));
}

// A value missing, too few or too many of them, or one given to a flag.
std::string Mismatch(CLI::App &app, const std::string &what) {
    constexpr std::string_view flagGiven = " was given a disallowed flag override";
    if (what.ends_with(flagGiven)) {
        return "--" + what.substr(0, what.size() - flagGiven.size()) + " takes no value";
    }
    CLI::Option *option = app.get_option_no_throw(what.substr(0, what.find(':')));
    // A flag has no validator to say what it accepts.
    const bool accepts = option != nullptr && option->get_type_size() > 0;
    return Shown(what) + (accepts ? "; " + option->get_validator()->get_name() : "");
}

// The models an option applies to, by their codes from 1.
struct Scope {
    const char *option;
    std::array<bool, engine::ModelNames.size()> models;
};

constexpr std::array<Scope, 10> Scopes{{
    {"--rating", {false, true, false, true, true}},
    {"--scale", {false, false, false, true, true}},
    {"--mode", {true, true, true, false, false}},
    {"--eaf", {false, true, false, false, false}},
    {"--phase", {false, false, true, false, false}},
    {"--coefficients", {true, true, false, false, false}},
    {"--calibrate", {true, true, false, false, false}},
    {"--aa", {false, false, false, true, true}},
    {"--su", {false, false, false, true, true}},
    {"--unfm", {false, false, false, true, true}},
}};

// What only the whole command line can tell.
void Check(const CLI::App &app, const Request &request) {
    const bool sized = request.lines || !request.reports.empty();
    if (!sized && request.histories.empty()) {
        throw UsageError("missing --lines N, --lines-from FILE or --history FILE");
    }
    const auto read = [](const std::vector<std::string> &paths) {
        return std::count(paths.begin(), paths.end(), "-");
    };
    if (read(request.reports) + read(request.histories) > 1) {
        throw UsageError("standard input given twice, with --lines-from - or --history -; it "
                         "holds one file");
    }
    if (!request.histories.empty() && request.format == Format::Sloccount) {
        throw UsageError("--history applies to --format text, json, csv and markdown only, not "
                         "sloccount, whose summary has no place for it");
    }
    if (!sized && request.adapted) {
        throw UsageError("--adapted applies to an estimate only, of --lines or --lines-from");
    }
    const std::string model(engine::NameOf(engine::ModelNames, request.model).word);
    for (const Scope &scope : Scopes) {
        if (app.count(scope.option) > 0 &&
            !scope.models[static_cast<std::size_t>(request.model - 1)]) {
            std::vector<std::string_view> models;
            for (std::size_t i = 0; i < scope.models.size(); ++i) {
                if (scope.models[i]) {
                    models.push_back(ModelWords[i]);
                }
            }
            const std::string last(models.back());
            models.pop_back();
            throw UsageError(std::string(scope.option) + " applies to --model " +
                             (models.empty() ? last : Joined(models) + " and " + last) +
                             " only, not " + model);
        }
    }
    const std::string format(FormatNames[static_cast<std::size_t>(request.format)]);
    const char *withSalary = app.count("--overhead") > 0   ? "--overhead"
                             : app.count("--currency") > 0 ? "--currency"
                                                           : nullptr;
    if (withSalary != nullptr && !request.salary && request.format != Format::Sloccount) {
        throw UsageError(std::string(withSalary) +
                         " applies with --salary only, which adds the cost");
    }
    if (request.currency && (request.format == Format::Json || request.format == Format::Csv)) {
        throw UsageError("--currency applies to --format text, markdown and sloccount only, "
                         "not " +
                         format + ", whose cost is a plain number");
    }
    if (request.locale && request.format != Format::Text && request.format != Format::Markdown) {
        throw UsageError("--locale applies to --format text and markdown only, not " + format +
                         (request.format == Format::Sloccount
                              ? ", whose numbers are written as SLOCCount writes them"
                              : ", whose numbers always have a decimal point"));
    }
}

// The codes of the grids into the request's choices, the last one given for each row.
void Decode(const Codes &codes, Request &request) {
    const bool cocomo2 = ModelOf(request.model).has_value();
    for (const std::size_t code : codes.ratings) {
        const std::size_t row = code / ColumnsPerRow;
        if (cocomo2) {
            request.multipliers[row] = code % ColumnsPerRow;
        } else {
            request.ratings[row] = static_cast<std::int16_t>(code % ColumnsPerRow);
        }
    }
    for (const std::size_t code : codes.scales) {
        request.scales[code / ColumnsPerRow] = code % ColumnsPerRow;
    }
    for (const std::size_t code : codes.phases) {
        request.columns[code / ColumnsPerRow] = static_cast<std::int16_t>(code % ColumnsPerRow);
    }
    if (!codes.coefficients.empty()) {
        const std::vector<double> &k = codes.coefficients;
        request.coefficients = {k[0], k[1], request.model == ::Models::Intermediate, k[2], k[3]};
    }
}

} // namespace

Parsed ParseArguments(std::span<const std::string_view> args) {
    Parsed parsed;
    Codes codes;
    const Options options(parsed.request, codes);
    CLI::App *app = &options.App();
    try {
        // CLI11 takes the arguments last first.
        app->parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp &) {
        return {Action::Help, {}, app->help()};
    } catch (const CLI::CallForVersion &version) {
        return {Action::Version, {}, std::string(version.what()) + "\n"};
    } catch (const CLI::ArgumentMismatch &error) {
        throw UsageError(Mismatch(*app, error.what()));
    } catch (const CLI::ParseError &error) {
        throw UsageError(Shown(error.what()));
    }
    Unexpected(*app);
    parsed.request.adapted = app->count("--adapted") > 0;
    Decode(codes, parsed.request);
    Check(*app, parsed.request);
    return parsed;
}

} // namespace cli
