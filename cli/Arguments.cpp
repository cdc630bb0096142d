#include "cli/Arguments.h"

#include "engine/Names.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <memory>

namespace cli {
namespace {

std::optional<std::int16_t> IndexOf(std::span<const std::string_view> names,
                                    std::string_view word) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (SameName(names[i], word)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return std::nullopt;
}

const std::string Models = "models: " + Joined(ModelWords);
const std::string Modes =
    "modes: " + Joined(ModeWords) + " (or " + std::string(ModeOtherWords[1]) + ")";
const std::string Drivers = "drivers: " + Joined(DriverNames);
const std::string Steps = "steps: " + Joined(StepNames) + " (or " + Joined(StepLongNames) + ")";
const std::string Phases = "phases: " + Joined(PhaseNames);
const std::string Columns = "columns: " + Joined(ColumnNames) + " (or " + Joined(ColumnKdsi) + ")";
const std::string Formats = "formats: " + Joined(FormatNames);
const std::string Ratings =
    "ratings: " + Joined(RatingNames) + " (or " + Joined(RatingLongNames) + ")";
const std::string Scales = "scale factors: " + Joined(NamesOf(engine::cocomo2::ScaleFactors));

const std::string CoefficientsValue =
    "four positive numbers A,B,C,D, for example 2.4,1.05,2.5,0.38";
const std::string LinesValue = "a whole number of lines, digits only, for example 202339";
const std::string ReportValue = "a cloc or scc JSON report, or - for standard input";
const std::string LanguagesValue = "names of the reports' languages, separated by commas";
const std::string RatingLists = Drivers + "; " + Steps;
const std::string PhaseLists = Phases + "; " + Columns;
const std::string RatingValue = "DRIVER=STEP; " + RatingLists +
                                "; for cocomo2 and cocomo2-early, the drivers and ratings "
                                "that --help lists";
const std::string PhaseValue = "PHASE=COLUMN; " + PhaseLists;
const std::string ScaleValue = "FACTOR=RATING; " + Scales + "; " + Ratings;
const std::string EafValue = "a positive number, for example 1.17";
const std::string SalaryValue = "a positive yearly amount, for example 56286";
const std::string OverheadValue = "a positive factor, for example 2.4";
const std::string CurrencyValue = "a currency symbol, for example $";

// The options that take a value, and what it may be.
struct Taking {
    std::string_view name;
    const std::string *accepted;
};

const std::array<Taking, 15> ValueOptions{{
    {"--model", &Models},
    {"--mode", &Modes},
    {"--coefficients", &CoefficientsValue},
    {"--lines", &LinesValue},
    {"--lines-from", &ReportValue},
    {"--only-lang", &LanguagesValue},
    {"--exclude-lang", &LanguagesValue},
    {"--scale", &ScaleValue},
    {"--rating", &RatingValue},
    {"--eaf", &EafValue},
    {"--phase", &PhaseValue},
    {"--salary", &SalaryValue},
    {"--overhead", &OverheadValue},
    {"--currency", &CurrencyValue},
    {"--format", &Formats},
}};

constexpr std::string_view Usage =
    "Usage: cocomo-estimate [--model MODEL] [--mode MODE | --coefficients A,B,C,D]\n"
    "                       (--lines N | --lines-from FILE... [--multiproject]\n"
    "                        [--only-lang LANGS | --exclude-lang LANGS])\n"
    "                       [--scale FACTOR=RATING]...\n"
    "                       [--rating DRIVER=STEP]... [--eaf FACTOR]\n"
    "                       [--phase PHASE=COLUMN]...\n"
    "                       [--salary AMOUNT [--overhead FACTOR] [--currency SYMBOL]]\n"
    "                       [--format text|json|csv|markdown|sloccount] [--locale] [--]\n"
    "       cocomo-estimate -h | --help | --version\n\n"
    "The COCOMO 81 estimate of the estimation wizard, from the command line, and the\n"
    "COCOMO II.2000 one: the effort in staff-months and person-years, the development\n"
    "time in months and years, and the average staffing. The modes stand for:\n";

constexpr std::string_view Footer =
    "Names are case-insensitive. Exit status: 0 the estimate was written, 1 the size was\n"
    "refused (the calculation refused it, or a report counts no code), 2 the command\n"
    "line or a report could not be read, 3 the output could not be written. See\n"
    "cocomo-estimate(1).";

// The ratings that a COCOMO II factor defines, which run from the first to the last without a
// gap.
std::vector<std::string_view> RatingsOf(const engine::cocomo2::Factor &factor) {
    std::vector<std::string_view> defined;
    for (std::size_t k = 0; k < engine::cocomo2::RatingCount; ++k) {
        if (factor.values[k]) {
            defined.push_back(RatingNames[k]);
        }
    }
    return defined;
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
        return " " + option->get_type_name() + (option->get_expected_max() > 1 ? " ..." : "");
    }

    std::string make_usage(const CLI::App *, std::string) const override {
        std::string text(Usage);
        for (std::size_t i = 0; i < ModeWords.size(); ++i) {
            text += "  " + std::string(ModeWords[i]) + std::string(14 - ModeWords[i].size(), ' ') +
                    std::string(ModeMeanings[i]) + "\n";
        }
        return text;
    }
};

// The words the options take, as given.
struct Words {
    std::string model;
    std::string mode;
    std::string coefficients;
    std::string lines;
    std::vector<std::string> reports;
    std::string multiproject;
    std::vector<std::string> only;
    std::vector<std::string> exclude;
    std::vector<std::string> scales;
    std::vector<std::string> ratings;
    std::string eaf;
    std::vector<std::string> phases;
    std::string salary;
    std::string overhead;
    std::string currency;
    std::string format;
    std::string locale;
};

std::unique_ptr<CLI::App> Application(Words &words) {
    auto app = std::make_unique<CLI::App>("", "cocomo-estimate");
    app->formatter(std::make_shared<Help>());
    app->allow_extras();
    app->set_help_flag();
    app->footer(std::string(Footer));
    const auto one = [&](const char *name, std::string &word, const char *type,
                         const char *description) {
        return app->add_option(name, word, description)
            ->type_name(type)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    const auto each = [&](const char *name, std::vector<std::string> &list, const char *type,
                          const std::string &description) {
        return app->add_option(name, list, description)->type_name(type)->allow_extra_args(false);
    };
    const auto flag = [&](const char *name, std::string &word, const char *description) {
        return app->add_flag(name, word, description)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    one("--model", words.model, "MODEL",
        "basic, intermediate, advanced, cocomo2,\n"
        "cocomo2-early; basic when left out; the last two are\n"
        "COCOMO II.2000's Post-Architecture and Early Design");
    CLI::Option *mode = one("--mode", words.mode, "MODE",
                            "organic, semidetached, embedded (or semi-detached);\n"
                            "organic when left out");
    one("--coefficients", words.coefficients, "A,B,C,D",
        "basic only, instead of --mode: effort = A x KLOC^B\n"
        "staff-months, TDEV = C x effort^D months")
        ->excludes(mode);
    CLI::Option *lines = one("--lines", words.lines, "N",
                             "the size in delivered lines of code, a whole number\n"
                             "of digits only: 32000 is 32 thousand lines");
    CLI::Option *reports = each("--lines-from", words.reports, "FILE",
                                "the code lines of a cloc --json report (also with\n"
                                "--by-file or --by-file-by-lang, and with --diff the\n"
                                "added and modified ones) or an scc --format json or\n"
                                "json2 report; - reads standard input; several\n"
                                "reports add up; the lines of each language shown");
    lines->excludes(reports);
    flag("--multiproject", words.multiproject,
         "each report a project of its own: the efforts,\n"
         "staffing and costs summed, the longest schedule")
        ->needs(reports);
    CLI::Option *only = each("--only-lang", words.only, "LANGS",
                             "count these languages of the reports alone,\n"
                             "their names separated by commas")
                            ->delimiter(',')
                            ->needs(reports);
    each("--exclude-lang", words.exclude, "LANGS", "count every language of the reports but these")
        ->delimiter(',')
        ->needs(reports)
        ->excludes(only);
    each("--scale", words.scales, "FACTOR=RATING",
         "cocomo2 and cocomo2-early; a factor left out is\n"
         "Nominal; each FACTOR with its RATINGs:" +
             FactorLines(engine::cocomo2::ScaleFactors) +
             "\nRATING: XL, VL, L, N, H, VH, XH\n"
             "  or extra-low, very-low, low, nominal, high,\n"
             "  very-high, extra-high");
    each("--rating", words.ratings, "DRIVER=STEP",
         "intermediate, cocomo2 and cocomo2-early; an unrated\n"
         "driver is Nominal\n"
         "intermediate: DRIVER: ACAP, AEXP, CPLX, DATA, LEXP,\n"
         "  MODP, PCAP, RELY, SCED, STOR, TIME, TOOL, TURN,\n"
         "  VEXP, VIRT\n"
         "  STEP: VL, L, N, H, VH, EH\n"
         "  or very-low, low, nominal, high, very-high,\n"
         "  extra-high\n"
         "cocomo2 and cocomo2-early: STEP is a RATING as for\n"
         "--scale; each DRIVER with its RATINGs:\n"
         "cocomo2:" +
             FactorLines(engine::cocomo2::PostArchitecture) +
             "\ncocomo2-early:" + FactorLines(engine::cocomo2::EarlyDesign));
    one("--eaf", words.eaf, "FACTOR",
        "intermediate only, instead of --rating: the factor\n"
        "as rated elsewhere, a positive number");
    each("--phase", words.phases, "PHASE=COLUMN",
         "advanced only; a phase left out counts 1.0\n"
         "PHASE: requirements, product-design,\n"
         "  detailed-design, code-and-unit-test,\n"
         "  integration-and-test, maintenance\n"
         "COLUMN: small, intermediate, medium, large\n"
         "  or 2, 8, 32, 128");
    one("--salary", words.salary, "AMOUNT",
        "the yearly cost of one person: adds the cost, the\n"
        "effort in staff-months x AMOUNT / 12 x the overhead");
    one("--overhead", words.overhead, "FACTOR",
        "with --salary or sloccount: what else a person\n"
        "costs, 2.4 when left out");
    one("--currency", words.currency, "SYMBOL",
        "with --salary, text, markdown and sloccount: the\n"
        "symbol before the cost");
    one("--format", words.format, "FORMAT",
        "text, json, csv, markdown, sloccount; text when\n"
        "left out; markdown is a table for a pull request,\n"
        "sloccount SLOCCount's summary, with its salary\n"
        "56286 when --salary is left out");
    flag("--locale", words.locale,
         "text and markdown: the decimal and thousands\n"
         "separators of the user's locale");
    app->set_help_flag("-h,--help", "this help");
    app->set_version_flag("--version", "cocomo-estimate " COCOMO_VERSION, "the version");
    return app;
}

std::string NeedsAValue(const Taking &option) {
    return std::string(option.name) + " needs a value; " + *option.accepted;
}

// CLI11 takes the word after an option for its value even where it is the next option; the
// option's own value was then forgotten.
void ValuesGiven(const CLI::App &app) {
    for (const Taking &option : ValueOptions) {
        const std::vector<std::string> &given = app.get_option(std::string(option.name))->results();
        if (std::any_of(given.begin(), given.end(),
                        [](const std::string &word) { return word.starts_with("--"); })) {
            throw UsageError(NeedsAValue(option));
        }
    }
}

// The text of a whole number, blanks around it dropped: digits after an optional sign, which
// is kept so that the calculation refuses a negative size as the wizard does. None for any
// other text: a command line must not read "202,339" as 202 lines, as the size box would.
std::optional<std::string> WholeNumber(std::string_view text) {
    constexpr std::string_view blanks = " \t\n\r\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(blanks) + 1 - first);
    const std::string_view digits = text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(text);
}

// A finite number above zero, written in full as std::from_chars reads it: 1.17, 2.4e4.
std::optional<double> PositiveNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0.0) {
        return std::nullopt;
    }
    return value;
}

// The words the options took, read into a request.
class Reader {
public:
    Reader(const CLI::App &app, const Words &words)
        : app_(app)
        , words_(words) {}

    Request Read() {
        Unexpected();
        if (Given("--model")) {
            request_.model = Code(ModelWords, words_.model, "model", "--model", Models);
        }
        if (Given("--mode")) {
            request_.mode = Code(ModeWords, words_.mode, "mode", "--mode", Modes, ModeOtherWords);
        }
        if (Given("--coefficients")) {
            request_.coefficients = Coefficients(words_.coefficients);
        }
        if (Given("--lines")) {
            request_.lines = WholeNumber(words_.lines);
            if (!request_.lines) {
                throw UsageError("--lines takes " + LinesValue + ", not " + Quoted(words_.lines));
            }
        }
        request_.reports = words_.reports;
        if (std::count(request_.reports.begin(), request_.reports.end(), "-") > 1) {
            throw UsageError("--lines-from - given twice; standard input holds one report");
        }
        request_.multiproject = Flag("--multiproject", words_.multiproject);
        request_.excludeLanguages = Given("--exclude-lang");
        request_.languages = request_.excludeLanguages ? words_.exclude : words_.only;
        for (const std::string &scale : words_.scales) {
            const auto [row, rating] = Rated("--scale", scale, "FACTOR=RATING", "scale factor",
                                             Scales, engine::cocomo2::ScaleFactors);
            request_.scales[row] = rating;
            firstScale_ = firstScale_.empty() ? "--scale " + Shown(scale) : firstScale_;
        }
        for (const std::string &rating : words_.ratings) {
            Rate(rating);
        }
        if (Given("--eaf")) {
            request_.eaf = Number("--eaf", words_.eaf, EafValue);
        }
        for (const std::string &phase : words_.phases) {
            Choose(phase);
        }
        if (Given("--salary")) {
            request_.salary = Number("--salary", words_.salary, SalaryValue);
        }
        if (Given("--overhead")) {
            request_.overhead = Number("--overhead", words_.overhead, OverheadValue);
        }
        if (Given("--currency")) {
            request_.currency = words_.currency;
        }
        if (Given("--format")) {
            request_.format = static_cast<Format>(
                Code(FormatNames, words_.format, "format", "--format", Formats) - 1);
        }
        request_.locale = Flag("--locale", words_.locale);
        Check();
        return request_;
    }

private:
    bool Given(const std::string &name) const { return app_.count(name) > 0; }

    // A flag given with a value other than CLI11's own for it.
    bool Flag(const std::string &name, const std::string &word) const {
        if (Given(name) && word != "true") {
            throw UsageError(name + " takes no value, not " + Quoted(word));
        }
        return Given(name);
    }

    // The words that no option took; after "--" every word is one of them.
    void Unexpected() const {
        ValuesGiven(app_);
        const std::vector<std::string> extra = app_.remaining();
        if (extra.empty() || extra == std::vector<std::string>{"--"}) {
            return;
        }
        const std::string_view word = extra[0] == "--" ? extra[1] : extra[0];
        if (extra[0] == "--" || !word.starts_with('-') || word == "-") {
            throw UsageError("unexpected argument " + Quoted(word) + "; " + OptionList());
        }
        throw UsageError("unknown option " + Quoted(word.substr(0, word.find('='))) + "; " +
                         OptionList());
    }

    std::string OptionList() const {
        std::string list;
        for (const CLI::Option *option : app_.get_options()) {
            for (const std::string &name : option->get_snames()) {
                list += (list.empty() ? "options: -" : ", -") + name;
            }
            for (const std::string &name : option->get_lnames()) {
                list += (list.empty() ? "options: --" : ", --") + name;
            }
        }
        return list;
    }

    // The index of a word among the names, or among their other spellings; throws, naming
    // the argument and what it accepts, for any other word.
    static std::int16_t Find(std::string_view word, const char *what, const std::string &argument,
                             const std::string &accepted, std::span<const std::string_view> names,
                             std::span<const std::string_view> spellings = {}) {
        std::optional<std::int16_t> index = IndexOf(names, word);
        if (!index) {
            index = IndexOf(spellings, word);
        }
        if (!index) {
            throw UsageError("unknown " + std::string(what) + " " + Quoted(word) + " in " +
                             argument + "; " + accepted);
        }
        return *index;
    }

    // The 1-based code of an option's named value.
    static std::int16_t Code(std::span<const std::string_view> names, std::string_view value,
                             const char *what, std::string_view option, const std::string &accepted,
                             std::span<const std::string_view> spellings = {}) {
        const std::string argument = std::string(option) + " " + Shown(value);
        return static_cast<std::int16_t>(Find(value, what, argument, accepted, names, spellings) +
                                         1);
    }

    static double Number(std::string_view option, std::string_view value,
                         const std::string &accepted) {
        const std::optional<double> number = PositiveNumber(value);
        if (!number) {
            throw UsageError(std::string(option) + " takes " + accepted + ", not " + Quoted(value));
        }
        return *number;
    }

    static engine::Coefficients Coefficients(const std::string &value) {
        const std::vector<std::string> parts = CLI::detail::split(value, ',');
        std::array<double, 4> numbers{};
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const std::optional<double> number =
                parts.size() == numbers.size() ? PositiveNumber(parts[i]) : std::nullopt;
            if (!number) {
                throw UsageError("--coefficients takes " + CoefficientsValue + ", not " +
                                 Quoted(value));
            }
            numbers[i] = *number;
        }
        return {numbers[0], numbers[1], false, numbers[2], numbers[3]};
    }

    // Splits NAME=VALUE.
    static std::pair<std::string_view, std::string_view> Pair(std::string_view option,
                                                              std::string_view value,
                                                              std::string_view shape,
                                                              const std::string &lists) {
        const std::size_t equals = value.find('=');
        if (equals == std::string_view::npos) {
            throw UsageError(std::string(option) + " needs " + std::string(shape) + ", not " +
                             Quoted(value) + "; " + lists);
        }
        return {value.substr(0, equals), value.substr(equals + 1)};
    }

    // FACTOR=RATING of a COCOMO II table: the row of the factor and the column of a rating
    // that the row defines.
    static std::pair<std::size_t, std::size_t>
    Rated(std::string_view option, std::string_view value, std::string_view shape, const char *what,
          const std::string &factors, std::span<const engine::cocomo2::Factor> table) {
        const std::string argument = std::string(option) + " " + Shown(value);
        const auto [name, ratingName] = Pair(option, value, shape, factors + "; " + Ratings);
        const std::vector<std::string_view> names = NamesOf(table);
        const auto row = static_cast<std::size_t>(Find(name, what, argument, factors, names));
        const auto rating = static_cast<std::size_t>(
            Find(ratingName, "rating", argument, Ratings, RatingNames, RatingLongNames));
        const engine::cocomo2::Factor &factor = table[row];
        if (!factor.values[rating]) {
            const std::string shown(factor.name);
            throw UsageError("rating " + Quoted(ratingName) + " is not defined for " + shown +
                             " in " + argument + "; " + shown +
                             " ratings: " + Joined(RatingsOf(factor)));
        }
        return {row, rating};
    }

    void Rate(std::string_view value) {
        const std::string argument = "--rating " + Shown(value);
        firstRating_ = firstRating_.empty() ? argument : firstRating_;
        if (const std::optional<engine::cocomo2::Model> model = Cocomo2Of(request_.model)) {
            const std::string drivers =
                std::string(engine::NameOf(engine::ModelNames, request_.model).word) +
                " drivers: " + Joined(NamesOf(engine::cocomo2::MultipliersOf(*model)));
            const auto [row, rating] = Rated("--rating", value, "DRIVER=RATING", "driver", drivers,
                                             engine::cocomo2::MultipliersOf(*model));
            request_.multipliers[row] = rating;
            return;
        }
        const auto [driverName, stepName] = Pair("--rating", value, "DRIVER=STEP", RatingLists);
        const auto row =
            static_cast<std::size_t>(Find(driverName, "driver", argument, Drivers, DriverNames));
        const std::int16_t step = Find(stepName, "step", argument, Steps, StepNames, StepLongNames);
        if (!engine::RatingOffered[row][static_cast<std::size_t>(step)]) {
            std::array<std::string_view, engine::RatingCount> offered{};
            std::size_t count = 0;
            for (std::size_t k = 0; k < engine::RatingCount; ++k) {
                if (engine::RatingOffered[row][k]) {
                    offered[count++] = StepNames[k];
                }
            }
            const std::string driver(DriverNames[row]);
            throw UsageError("step " + Quoted(stepName) + " is not offered for " + driver + " in " +
                             argument + "; " + driver +
                             " steps: " + Joined(std::span(offered.data(), count)));
        }
        request_.ratings[row] = step;
    }

    void Choose(std::string_view value) {
        const auto [phaseName, columnName] = Pair("--phase", value, "PHASE=COLUMN", PhaseLists);
        const std::string argument = "--phase " + Shown(value);
        const auto phase =
            static_cast<std::size_t>(Find(phaseName, "phase", argument, Phases, PhaseNames));
        request_.columns[phase] =
            Find(columnName, "column", argument, Columns, ColumnNames, ColumnKdsi);
        firstPhase_ = firstPhase_.empty() ? argument : firstPhase_;
    }

    // What only the whole command line can tell.
    void Check() const {
        if (!request_.lines && request_.reports.empty()) {
            throw UsageError("missing --lines N or --lines-from FILE");
        }
        const std::string model(engine::NameOf(engine::ModelNames, request_.model).word);
        const std::string eafGiven = Given("--eaf") ? "--eaf " + Shown(words_.eaf) : "";
        const bool cocomo2 = Cocomo2Of(request_.model).has_value();
        if (!firstRating_.empty() && request_.model != Models::Intermediate && !cocomo2) {
            throw UsageError(firstRating_ +
                             " applies to --model intermediate, cocomo2 and cocomo2-early only, "
                             "not " +
                             model);
        }
        if (!firstScale_.empty() && !cocomo2) {
            throw UsageError(firstScale_ +
                             " applies to --model cocomo2 and cocomo2-early only, not " + model);
        }
        if (Given("--mode") && cocomo2) {
            throw UsageError("--mode " + Shown(words_.mode) +
                             " applies to --model basic, intermediate and advanced only, not " +
                             model);
        }
        if (!eafGiven.empty() && request_.model != Models::Intermediate) {
            throw UsageError(eafGiven + " applies to --model intermediate only, not " + model);
        }
        if (!eafGiven.empty() && !firstRating_.empty()) {
            throw UsageError(eafGiven + " and " + firstRating_ +
                             " exclude each other; give the factor or the ratings");
        }
        if (!firstPhase_.empty() && request_.model != Models::Advanced) {
            throw UsageError(firstPhase_ + " applies to --model advanced only, not " + model);
        }
        if (request_.coefficients && request_.model != Models::Basic) {
            throw UsageError("--coefficients " + Shown(words_.coefficients) +
                             " applies to --model basic only, not " + model +
                             ", whose coefficients are fixed");
        }
        const std::string format(FormatNames[static_cast<std::size_t>(request_.format)]);
        const std::string withSalary = Given("--overhead") ? "--overhead " + Shown(words_.overhead)
                                       : Given("--currency")
                                           ? "--currency " + Shown(words_.currency)
                                           : "";
        if (!withSalary.empty() && !request_.salary && request_.format != Format::Sloccount) {
            throw UsageError(withSalary + " applies with --salary only, which adds the cost");
        }
        if (request_.currency &&
            (request_.format == Format::Json || request_.format == Format::Csv)) {
            throw UsageError("--currency applies to --format text, markdown and sloccount only, "
                             "not " +
                             format + ", whose cost is a plain number");
        }
        if (request_.locale && request_.format != Format::Text &&
            request_.format != Format::Markdown) {
            throw UsageError("--locale applies to --format text and markdown only, not " + format +
                             (request_.format == Format::Sloccount
                                  ? ", whose numbers are written as SLOCCount writes them"
                                  : ", whose numbers always have a decimal point"));
        }
    }

    const CLI::App &app_;
    const Words &words_;
    Request request_;
    std::string firstRating_;
    std::string firstScale_;
    std::string firstPhase_;
};

} // namespace

std::optional<engine::cocomo2::Model> Cocomo2Of(std::int16_t model) {
    if (model == Models::PostArchitecture) {
        return engine::cocomo2::Model::PostArchitecture;
    }
    if (model == Models::EarlyDesign) {
        return engine::cocomo2::Model::EarlyDesign;
    }
    return std::nullopt;
}

std::vector<std::string_view> NamesOf(std::span<const engine::cocomo2::Factor> factors) {
    std::vector<std::string_view> names;
    for (const engine::cocomo2::Factor &factor : factors) {
        names.push_back(factor.name);
    }
    return names;
}

Parsed ParseArguments(std::span<const std::string_view> args) {
    Words words;
    const std::unique_ptr<CLI::App> app = Application(words);
    try {
        // CLI11 takes the arguments last first.
        app->parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp &) {
        return {Action::Help, {}, app->help()};
    } catch (const CLI::CallForVersion &version) {
        return {Action::Version, {}, std::string(version.what()) + "\n"};
    } catch (const CLI::ArgumentMismatch &error) {
        // A value missing at the end, or after "=".
        const std::string_view what = error.what();
        for (const Taking &option : ValueOptions) {
            if (what.starts_with(std::string(option.name) + ":")) {
                throw UsageError(NeedsAValue(option));
            }
        }
        throw UsageError(Shown(what));
    } catch (const CLI::ParseError &error) {
        ValuesGiven(*app);
        throw UsageError(Shown(error.what()));
    }
    return {Action::Estimate, Reader(*app, words).Read(), {}};
}

} // namespace cli
