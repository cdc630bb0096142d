#include "cli/History.h"

#include "cli/Words.h"
#include "engine/CostDrivers.h"
#include "engine/Names.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace cli {
namespace {

using engine::history::Project;

// No history table has lines nearly this long; a longer one is not a table.
constexpr std::size_t MaxLine = std::size_t{1} << 16;

constexpr std::string_view Neither = "neither CSV with a header row nor ARFF";

// What a column gives, by the names it may have.
enum class Role : std::uint8_t { Ignored, Mode, Size, Effort, Driver };
struct Wanted {
    Role role;
    const char *what;
    std::array<std::string_view, 4> names;
    const char *listed;
};
constexpr std::array<Wanted, 3> Required{{
    {Role::Mode, "mode", {"dev_mode", "mode"}, "dev_mode or mode"},
    {Role::Size,
     "size",
     {"kloc", "kdsi", "loc", "equivphyskloc"},
     "kloc, kdsi, loc or equivphyskloc"},
    {Role::Effort, "effort", {"actual", "act_effort", "effort"}, "actual, act_effort or effort"},
}};

struct Column {
    std::string name;
    Role role = Role::Ignored;
    std::size_t driver = 0;
};

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// A value of the input in a message: quoted, and cut short where it is long.
std::string Excerpt(std::string_view text) {
    constexpr std::size_t most = 40;
    return text.size() <= most ? Quoted(text) : Quoted(std::string(text.substr(0, most)) + "...");
}

// The bytes of the file, with every line end read as LF, a leading UTF-8 byte order mark dropped,
// and the physical line counted.
class Input {
public:
    Input(std::FILE *file, std::string_view name)
        : file_(file)
        , name_(name) {
        constexpr std::string_view mark = "\xef\xbb\xbf";
        for (const char byte : mark) {
            const int c = FromFile();
            if (c == EOF) {
                break;
            }
            held_ += static_cast<char>(c);
            if (static_cast<char>(c) != byte) {
                break;
            }
        }
        if (held_ == mark) {
            held_.clear();
        }
    }

    // The next byte, with CR LF and a lone CR read as one LF.
    int Get() {
        int c = Raw();
        if (c == '\r') {
            if (Peek() == '\n') {
                Raw();
            }
            c = '\n';
        }
        if (c == '\n') {
            ++line_;
        }
        return c;
    }

    int Peek() {
        const int c = Raw();
        if (c != EOF) {
            held_.insert(held_.begin(), static_cast<char>(c));
        }
        return c;
    }

    // Reads the byte again next; never a line end.
    void Unget(int c) { held_.insert(held_.begin(), static_cast<char>(c)); }

    void SkipLine() {
        for (int c = Get(); c != EOF && c != '\n'; c = Get()) {
        }
    }

    std::size_t Line() const { return line_; }
    const std::string &Name() const { return name_; }

    // Refuses the input, naming the line, and the column where there is one.
    [[noreturn]] void Fail(std::size_t line, const std::string &why,
                           std::string_view column = {}) const {
        throw BadHistory(name_ + " line " + std::to_string(line) +
                         (column.empty() ? "" : ", column " + Shown(column)) + ": " + why);
    }

private:
    int Raw() {
        if (!held_.empty()) {
            const auto c = static_cast<unsigned char>(held_.front());
            held_.erase(held_.begin());
            return c;
        }
        return FromFile();
    }

    int FromFile() {
        const int c = std::getc(file_);
        if (c == EOF && std::ferror(file_) != 0) {
            throw BadHistory("cannot read " + name_);
        }
        return c;
    }

    std::FILE *file_;
    std::string name_;
    std::string held_; // bytes read ahead, to be read again
    std::size_t line_ = 1;
};

std::string Nul() {
    return std::string(Neither) + ": a NUL byte, which text never holds";
}

// Splits the input into rows of fields, separated by commas, each maybe quoted.
class Rows {
public:
    Rows(Input &input, bool arff)
        : input_(input)
        , arff_(arff) {}

    // The next row that is neither blank nor (ARFF) a % comment, and the line it starts on;
    // false at the end of the input.
    bool Next(std::vector<std::string> &fields, std::size_t &line) {
        for (;;) {
            fields.assign(1, {});
            line = input_.Line();
            int c = input_.Get();
            if (c == EOF) {
                return false;
            }
            bool quoted = false;
            std::size_t length = 0;
            for (; c != EOF && c != '\n'; c = input_.Get()) {
                Count(length, line);
                std::string &field = fields.back();
                if (c == ',') {
                    fields.emplace_back();
                } else if (IsQuote(c) && Trimmed(field).empty()) {
                    field.clear();
                    quoted = true;
                    Quote(c, field, line, length);
                } else if (c == '%' && arff_ && fields.size() == 1 && !quoted &&
                           Trimmed(field).empty()) {
                    input_.SkipLine();
                    break;
                } else {
                    field += Byte(c);
                }
            }
            if (fields.size() > 1 || quoted || !Trimmed(fields.front()).empty()) {
                return true;
            }
        }
    }

private:
    bool IsQuote(int c) const { return c == '"' || (arff_ && c == '\''); }

    void Count(std::size_t &length, std::size_t line) const {
        if (++length > MaxLine) {
            input_.Fail(line, "longer than " + std::to_string(MaxLine) +
                                  " bytes, which no history table's rows are");
        }
    }

    char Byte(int c) const {
        if (c == 0) {
            input_.Fail(input_.Line(), Nul());
        }
        return static_cast<char>(c);
    }

    int Inside(std::size_t &length, std::size_t line) {
        const int c = input_.Get();
        if (c == EOF) {
            input_.Fail(line, "a quoted value is not closed by the end of the file");
        }
        Count(length, line);
        return c;
    }

    // Reads a quoted value after its opening quote, to its closing one. CSV doubles a quote
    // inside; ARFF escapes any byte with a backslash.
    void Quote(int quote, std::string &field, std::size_t line, std::size_t &length) {
        for (int c = Inside(length, line);; c = Inside(length, line)) {
            if (c == quote) {
                if (arff_ || input_.Peek() != quote) {
                    return;
                }
                c = Inside(length, line);
            } else if (arff_ && c == '\\') {
                c = Inside(length, line);
            }
            field += Byte(c);
        }
    }

    Input &input_;
    bool arff_;
};

// Whether the line, less its leading blanks, begins with the ARFF keyword.
bool Keyword(std::string_view line, std::string_view keyword) {
    return line.size() >= keyword.size() && SameName(line.substr(0, keyword.size()), keyword) &&
           (line.size() == keyword.size() || IsBlank(line[keyword.size()]));
}

// The header of an ARFF file, from its first @relation or @attribute line to @data: the
// names of the attributes in order.
std::vector<std::string> ArffHeader(Input &input) {
    std::vector<std::string> names;
    bool begun = false;
    for (;;) {
        const std::size_t line = input.Line();
        std::string text;
        int c = input.Get();
        if (c == EOF) {
            throw BadHistory(input.Name() + ": " + std::string(Neither) +
                             ": ARFF whose rows no @data line begins");
        }
        for (; c != EOF && c != '\n'; c = input.Get()) {
            if (c == 0) {
                input.Fail(input.Line(), Nul());
            }
            if (text.size() == MaxLine) {
                input.Fail(line, "longer than " + std::to_string(MaxLine) +
                                     " bytes, which no ARFF header's lines are");
            }
            text += static_cast<char>(c);
        }
        const std::string_view rest = Trimmed(text);
        if (rest.empty() || rest.front() == '%') {
            continue;
        }
        if (Keyword(rest, "@data") && begun) {
            return names;
        }
        const bool relation = Keyword(rest, "@relation");
        if (!relation && !Keyword(rest, "@attribute")) {
            input.Fail(line, std::string(Neither) + ": " + Excerpt(rest) + " where ARFF takes " +
                                 (begun ? "a % comment, @relation, @attribute or @data"
                                        : "@relation or @attribute"));
        }
        begun = true;
        if (relation) {
            continue;
        }
        std::string_view attribute = Trimmed(rest.substr(std::string_view("@attribute").size()));
        std::string name;
        std::size_t end = 0;
        if (!attribute.empty() && (attribute.front() == '\'' || attribute.front() == '"')) {
            end = attribute.find(attribute.front(), 1);
            name = attribute.substr(1, end == std::string_view::npos ? end : end - 1);
            end = end == std::string_view::npos ? attribute.size() : end + 1;
        } else {
            end = std::min(attribute.find_first_of(" \t"), attribute.size());
            name = attribute.substr(0, end);
        }
        if (Trimmed(name).empty() || Trimmed(attribute.substr(end)).empty()) {
            input.Fail(line, std::string(Neither) + ": " + Excerpt(rest) +
                                 ", where an @attribute line gives a name and a type");
        }
        names.push_back(name);
    }
}

// The columns of the header, by what each gives: each required one once, each driver at
// most once.
std::vector<Column> ColumnsOf(const std::vector<std::string> &names, const std::string &file) {
    std::vector<Column> columns;
    std::array<std::optional<std::size_t>, Required.size() + engine::CostDriverCount> first{};
    for (const std::string &text : names) {
        Column column;
        column.name = Trimmed(text);
        for (std::size_t d = 0; d < engine::DriverNames.size(); ++d) {
            if (SameName(column.name, engine::DriverNames[d])) {
                column.role = Role::Driver;
                column.driver = d;
            }
        }
        for (const Wanted &wanted : Required) {
            for (const std::string_view name : wanted.names) {
                if (!name.empty() && SameName(column.name, name)) {
                    column.role = wanted.role;
                }
            }
        }
        if (column.role != Role::Ignored) {
            const std::size_t slot = column.role == Role::Driver
                                         ? Required.size() + column.driver
                                         : static_cast<std::size_t>(column.role) - 1;
            if (first[slot]) {
                const std::string what = column.role == Role::Driver
                                             ? std::string(engine::DriverNames[column.driver])
                                             : Required[slot].what;
                throw BadHistory(file + ": two " + what + " columns, " +
                                 Shown(columns[*first[slot]].name) + " and " + Shown(column.name) +
                                 "; keep one");
            }
            first[slot] = columns.size();
        }
        columns.push_back(column);
    }
    for (std::size_t i = 0; i < Required.size(); ++i) {
        if (!first[i]) {
            throw BadHistory(file + ": no " + Required[i].what + " column; it needs one named " +
                             Required[i].listed);
        }
    }
    return columns;
}

// The ratings of the driver, by their short names.
std::string RatingsOf(std::size_t driver) {
    std::string list;
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        if (engine::RatingOffered[driver][k]) {
            list += (list.empty() ? "" : ", ") + std::string(engine::StepNames[k]);
        }
    }
    return list;
}

// The step of a rating word: a short name (XH too for EH) or a long one, with '_' or a blank
// for the hyphen.
std::optional<std::size_t> StepOf(std::string_view word) {
    std::string spelt(word);
    std::replace_if(
        spelt.begin(), spelt.end(), [](char c) { return c == '_' || c == ' '; }, '-');
    if (SameName(spelt, "XH")) {
        return engine::RatingCount - 1;
    }
    for (std::size_t k = 0; k < engine::RatingCount; ++k) {
        if (SameName(spelt, engine::StepNames[k]) || SameName(spelt, engine::StepLongNames[k])) {
            return k;
        }
    }
    return std::nullopt;
}

// A row's values, read into a project.
class Values {
public:
    Values(const Input &input, const std::vector<Column> &columns)
        : input_(input)
        , columns_(columns) {}

    Project Read(const std::vector<std::string> &fields, std::size_t line) {
        line_ = line;
        if (fields.size() != columns_.size()) {
            input_.Fail(line, std::to_string(fields.size()) +
                                  (fields.size() == 1 ? " field" : " fields") +
                                  ", where the header names " + std::to_string(columns_.size()));
        }
        Project project{0, 0.0, 0.0, 1.0};
        engine::DriverMultiplier multipliers;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const Column &column = columns_[i];
            const std::string_view value = Trimmed(fields[i]);
            switch (column.role) {
            case Role::Mode:
                project.mode = Mode(column, value);
                break;
            case Role::Size:
                project.kloc = Number(column, value);
                break;
            case Role::Effort:
                project.actual = Number(column, value);
                break;
            case Role::Driver:
                multipliers.entries[column.driver] = Multiplier(column, value);
                break;
            case Role::Ignored:
                break;
            }
        }
        project.eaf = engine::DriverProduct(multipliers);
        return project;
    }

private:
    [[noreturn]] void Fail(const Column &column, const std::string &why) const {
        input_.Fail(line_, why, column.name);
    }

    std::int16_t Mode(const Column &column, std::string_view value) const {
        for (const engine::Name &mode : engine::ModeNames) {
            if (SameName(value, mode.word) ||
                (!mode.alsoWord.empty() && SameName(value, mode.alsoWord))) {
                return mode.code;
            }
        }
        Fail(column, "unknown mode " + Excerpt(value) +
                         "; modes: organic, semidetached (or semi-detached), embedded");
    }

    // A finite number above zero; none where the value is no number at all.
    std::optional<double> Parsed(const Column &column, std::string_view value) const {
        double number = 0.0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (value.empty() || end != value.data() + value.size() || std::isnan(number)) {
            return std::nullopt;
        }
        if (error != std::errc{}) {
            Fail(column, Excerpt(value) + " is beyond the range of a double");
        }
        if (std::isinf(number)) {
            Fail(column, Excerpt(value) + " is not finite");
        }
        if (number <= 0.0) {
            Fail(column, Excerpt(value) + " is not above zero");
        }
        return number;
    }

    double Number(const Column &column, std::string_view value) const {
        const std::optional<double> number = Parsed(column, value);
        if (!number) {
            Fail(column, Excerpt(value) + " is not a number");
        }
        return *number;
    }

    double Multiplier(const Column &column, std::string_view value) const {
        if (const std::optional<double> number = Parsed(column, value)) {
            return *number;
        }
        const std::string driver(engine::DriverNames[column.driver]);
        const std::optional<std::size_t> step = StepOf(value);
        if (!step) {
            Fail(column,
                 Excerpt(value) + " is neither a multiplier nor a rating; " + driver +
                     " takes a multiplier such as 1.15 or a rating: " + RatingsOf(column.driver));
        }
        if (!engine::RatingOffered[column.driver][*step]) {
            Fail(column, "rating " + Excerpt(value) + " is not defined for " + driver + "; " +
                             driver + " ratings: " + RatingsOf(column.driver));
        }
        return engine::CostDriverTable[column.driver][*step];
    }

    const Input &input_;
    const std::vector<Column> &columns_;
    std::size_t line_ = 0;
};

} // namespace

std::vector<Project> ReadHistory(std::FILE *file, std::string_view name) {
    Input input(file, name);
    // The first line that is neither blank nor a % comment decides the shape.
    int c = input.Get();
    for (; c == '%' || c == '\n' || IsBlank(c); c = input.Get()) {
        if (c == '%') {
            input.SkipLine();
        }
    }
    if (c == EOF) {
        throw BadHistory(input.Name() + ": no projects");
    }
    input.Unget(c);
    const bool arff = c == '@';
    Rows rows(input, arff);
    std::vector<std::string> fields;
    std::size_t line = 0;
    if (arff) {
        fields = ArffHeader(input);
    } else {
        rows.Next(fields, line);
    }
    const std::vector<Column> columns = ColumnsOf(fields, input.Name());
    Values values(input, columns);
    std::vector<Project> projects;
    while (rows.Next(fields, line)) {
        projects.push_back(values.Read(fields, line));
    }
    if (projects.empty()) {
        throw BadHistory(input.Name() + ": no projects");
    }
    return projects;
}

} // namespace cli
