#include "cli/Arguments.h"
#include "engine/Module1.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace cli {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

template <std::size_t N>
std::optional<std::int16_t> IndexOf(const std::array<std::string_view, N> &names,
                                    std::string_view word) {
    for (std::size_t i = 0; i < N; ++i) {
        if (SameName(names[i], word)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return std::nullopt;
}

const std::string Models = "models: " + Joined(ModelNames);
const std::string Modes =
    "modes: " + Joined(ModeNames) + " (or " + std::string(ModeSpellings[1]) + ")";
const std::string Drivers = "drivers: " + Joined(DriverNames);
const std::string Steps = "steps: " + Joined(StepNames) + " (or " + Joined(StepLongNames) + ")";
const std::string Phases = "phases: " + Joined(PhaseNames);
const std::string Columns = "columns: " + Joined(ColumnNames) + " (or " + Joined(ColumnKdsi) + ")";
const std::string Formats = "formats: " + Joined(FormatNames);

enum class Option : std::uint8_t {
    Model,
    Mode,
    Lines,
    LinesFrom,
    Rating,
    Eaf,
    Phase,
    Salary,
    Overhead,
    Currency,
    Format,
    Locale,
    Help,
    Version,
};

struct OptionEntry {
    std::string_view name;
    Option option;
    const std::string *accepted; // what its value may be; nullptr: it takes none
};

const std::string LinesValue = "a whole number of lines, digits only, for example 202339";
const std::string ReportValue = "a cloc or scc JSON report, or - for standard input";
const std::string RatingLists = Drivers + "; " + Steps;
const std::string PhaseLists = Phases + "; " + Columns;
const std::string RatingValue = "DRIVER=STEP; " + RatingLists;
const std::string PhaseValue = "PHASE=COLUMN; " + PhaseLists;
const std::string EafValue = "a positive number, for example 1.17";
const std::string SalaryValue = "a positive yearly amount, for example 56286";
const std::string OverheadValue = "a positive factor, for example 2.4";
const std::string CurrencyValue = "a currency symbol, for example $";

const std::array<OptionEntry, 15> Options{{
    {"--model", Option::Model, &Models},
    {"--mode", Option::Mode, &Modes},
    {"--lines", Option::Lines, &LinesValue},
    {"--lines-from", Option::LinesFrom, &ReportValue},
    {"--rating", Option::Rating, &RatingValue},
    {"--eaf", Option::Eaf, &EafValue},
    {"--phase", Option::Phase, &PhaseValue},
    {"--salary", Option::Salary, &SalaryValue},
    {"--overhead", Option::Overhead, &OverheadValue},
    {"--currency", Option::Currency, &CurrencyValue},
    {"--format", Option::Format, &Formats},
    {"--locale", Option::Locale, nullptr},
    {"-h", Option::Help, nullptr},
    {"--help", Option::Help, nullptr},
    {"--version", Option::Version, nullptr},
}};

std::string OptionList() {
    std::string list;
    for (const OptionEntry &entry : Options) {
        list += list.empty() ? "options: " : ", ";
        list += entry.name;
    }
    return list;
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

class Parser {
public:
    explicit Parser(std::span<const std::string_view> args)
        : args_(args) {}

    Parsed Parse() {
        bool optionsEnded = false;
        while (next_ < args_.size()) {
            const std::string_view word = args_[next_++];
            if (word == "--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            if (optionsEnded || !word.starts_with('-') || word == "-") {
                throw UsageError("unexpected argument " + Quoted(word) + "; " + OptionList());
            }
            const std::size_t equals = word.find('=');
            const std::string_view name = word.substr(0, equals);
            const auto entry = std::find_if(Options.begin(), Options.end(),
                                            [&](const OptionEntry &s) { return s.name == name; });
            if (entry == Options.end()) {
                throw UsageError("unknown option " + Quoted(name) + "; " + OptionList());
            }
            if (entry->accepted == nullptr) {
                if (equals != std::string_view::npos) {
                    throw UsageError(std::string(name) + " takes no value, not " +
                                     Quoted(word.substr(equals + 1)));
                }
                if (entry->option == Option::Help) {
                    return {Action::Help, {}};
                }
                if (entry->option == Option::Version) {
                    return {Action::Version, {}};
                }
                request_.locale = true;
                continue;
            }
            Take(*entry,
                 equals != std::string_view::npos ? word.substr(equals + 1) : Value(*entry));
        }
        Check();
        return {Action::Estimate, request_};
    }

private:
    // The word after the option; a word that starts with "--" is the next option, so that a
    // forgotten value is reported as such.
    std::string_view Value(const OptionEntry &entry) {
        if (next_ == args_.size() || args_[next_].starts_with("--")) {
            throw UsageError(std::string(entry.name) + " needs a value; " + *entry.accepted);
        }
        return args_[next_++];
    }

    void Take(const OptionEntry &entry, std::string_view value) {
        switch (entry.option) {
        case Option::Model:
            request_.model = Code(ModelNames, value, "model", entry);
            break;
        case Option::Mode:
            request_.mode = Code(ModeNames, value, "mode", entry, &ModeSpellings);
            break;
        case Option::Lines:
            request_.lines = WholeNumber(value);
            if (!request_.lines) {
                throw UsageError("--lines takes " + LinesValue + ", not " + Quoted(value));
            }
            break;
        case Option::LinesFrom:
            if (value == "-" && std::find(request_.reports.begin(), request_.reports.end(), "-") !=
                                    request_.reports.end()) {
                throw UsageError("--lines-from - given twice; standard input holds one report");
            }
            request_.reports.emplace_back(value);
            break;
        case Option::Rating:
            Rate(value);
            break;
        case Option::Eaf:
            request_.eaf = Number(entry, value);
            eafGiven_ = "--eaf " + Shown(value);
            break;
        case Option::Phase:
            Choose(value);
            break;
        case Option::Salary:
            request_.salary = Number(entry, value);
            break;
        case Option::Overhead:
            request_.overhead = Number(entry, value);
            withSalary_ = "--overhead " + Shown(value);
            break;
        case Option::Currency:
            request_.currency = std::string(value);
            withSalary_ = "--currency " + Shown(value);
            break;
        case Option::Format:
            request_.format = static_cast<Format>(Code(FormatNames, value, "format", entry) - 1);
            break;
        case Option::Locale:
        case Option::Help:
        case Option::Version:
            break;
        }
    }

    // The index of a word among the names, or among their other spellings; throws, naming
    // the argument and what it accepts, for any other word.
    template <std::size_t N>
    static std::int16_t Find(std::string_view word, const char *what, const std::string &argument,
                             const std::string &accepted,
                             const std::array<std::string_view, N> &names,
                             const std::array<std::string_view, N> *spellings = nullptr) {
        std::optional<std::int16_t> index = IndexOf(names, word);
        if (!index && spellings != nullptr) {
            index = IndexOf(*spellings, word);
        }
        if (!index) {
            throw UsageError("unknown " + std::string(what) + " " + Quoted(word) + " in " +
                             argument + "; " + accepted);
        }
        return *index;
    }

    // The 1-based code of an option's named value.
    template <std::size_t N>
    static std::int16_t Code(const std::array<std::string_view, N> &names, std::string_view value,
                             const char *what, const OptionEntry &entry,
                             const std::array<std::string_view, N> *spellings = nullptr) {
        const std::string argument = std::string(entry.name) + " " + Shown(value);
        return static_cast<std::int16_t>(
            Find(value, what, argument, *entry.accepted, names, spellings) + 1);
    }

    static double Number(const OptionEntry &entry, std::string_view value) {
        const std::optional<double> number = PositiveNumber(value);
        if (!number) {
            throw UsageError(std::string(entry.name) + " takes " + *entry.accepted + ", not " +
                             Quoted(value));
        }
        return *number;
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

    void Rate(std::string_view value) {
        const auto [driverName, stepName] = Pair("--rating", value, "DRIVER=STEP", RatingLists);
        const std::string argument = "--rating " + Shown(value);
        const auto row =
            static_cast<std::size_t>(Find(driverName, "driver", argument, Drivers, DriverNames));
        const std::int16_t step =
            Find(stepName, "step", argument, Steps, StepNames, &StepLongNames);
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
        firstRating_ = firstRating_.empty() ? argument : firstRating_;
    }

    void Choose(std::string_view value) {
        const auto [phaseName, columnName] = Pair("--phase", value, "PHASE=COLUMN", PhaseLists);
        const std::string argument = "--phase " + Shown(value);
        const auto phase =
            static_cast<std::size_t>(Find(phaseName, "phase", argument, Phases, PhaseNames));
        request_.columns[phase] =
            Find(columnName, "column", argument, Columns, ColumnNames, &ColumnKdsi);
        firstPhase_ = firstPhase_.empty() ? argument : firstPhase_;
    }

    // What only the whole command line can tell.
    void Check() const {
        if (!request_.lines && request_.reports.empty()) {
            throw UsageError("missing --lines N or --lines-from FILE");
        }
        if (request_.lines && !request_.reports.empty()) {
            throw UsageError("--lines and --lines-from exclude each other; give one of them");
        }
        const std::string model(ModelNames[static_cast<std::size_t>(request_.model - 1)]);
        if (!firstRating_.empty() && request_.model != Models::Intermediate) {
            throw UsageError(firstRating_ + " applies to --model intermediate only, not " + model);
        }
        if (!eafGiven_.empty() && request_.model != Models::Intermediate) {
            throw UsageError(eafGiven_ + " applies to --model intermediate only, not " + model);
        }
        if (!eafGiven_.empty() && !firstRating_.empty()) {
            throw UsageError(eafGiven_ + " and " + firstRating_ +
                             " exclude each other; give the factor or the ratings");
        }
        if (!firstPhase_.empty() && request_.model != Models::Advanced) {
            throw UsageError(firstPhase_ + " applies to --model advanced only, not " + model);
        }
        if (!withSalary_.empty() && !request_.salary) {
            throw UsageError(withSalary_ + " applies with --salary only, which adds the cost");
        }
        const bool forPeople =
            request_.format == Format::Text || request_.format == Format::Markdown;
        if (request_.currency && !forPeople) {
            throw UsageError("--currency applies to --format text and markdown only, not " +
                             std::string(FormatNames[static_cast<std::size_t>(request_.format)]) +
                             ", whose cost is a plain number");
        }
        if (request_.locale && !forPeople) {
            throw UsageError("--locale applies to --format text and markdown only, not " +
                             std::string(FormatNames[static_cast<std::size_t>(request_.format)]) +
                             ", whose numbers always have a decimal point");
        }
    }

    std::span<const std::string_view> args_;
    std::size_t next_ = 0;
    Request request_;
    std::string firstRating_;
    std::string eafGiven_;
    std::string withSalary_; // the last option that needs --salary
    std::string firstPhase_;
};

} // namespace

std::string Shown(std::string_view word, bool asciiOnly) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string shown;
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (asciiOnly && byte >= 0x80)) {
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Quoted(std::string_view word) {
    return "'" + Shown(word) + "'";
}

std::string Joined(std::span<const std::string_view> names) {
    std::string list;
    for (const std::string_view name : names) {
        if (!list.empty()) {
            list += ", ";
        }
        list += name;
    }
    return list;
}

Parsed ParseArguments(std::span<const std::string_view> args) {
    return Parser(args).Parse();
}

} // namespace cli
