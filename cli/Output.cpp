#include "cli/Output.h"

#include "engine/Module1.h"
#include "engine/Names.h"
#include "runtime/numeric/Numeric.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

namespace cli {
namespace {

// The shortest text that reads back as the same double.
std::string Shortest(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

// The factor for people: six decimals at most, trailing zeros dropped. A product of
// fifteen two-decimal multipliers has more decimals than anyone reads; the JSON and CSV
// forms carry every bit.
std::string FactorText(double value, std::string_view decimalSeparator) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ptr);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

// A number the user gave, as short as it reads back but with no exponent, with the decimal
// separator.
std::string Given(double value, std::string_view decimalSeparator) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    const std::size_t point = text.find('.');
    return point == std::string::npos ? text : text.replace(point, 1, decimalSeparator);
}

// Whole units with the thousands separator between the groups of digits.
std::string Grouped(std::string digits, const NumberFormat &format) {
    std::size_t end = digits.size();
    for (std::size_t i = 0; !format.thousands.empty() && i < format.grouping.size();
         i = std::min(i + 1, format.grouping.size() - 1)) {
        const int size = format.grouping[i];
        if (size <= 0 || size == CHAR_MAX || end <= static_cast<std::size_t>(size)) {
            break;
        }
        end -= static_cast<std::size_t>(size);
        digits.insert(end, format.thousands);
    }
    return digits;
}

// A field of the JSON object and of the CSV row: a word (quoted in JSON), a number or a
// nested object (written as it is), or nothing (null in JSON, empty in CSV).
struct Field {
    std::string name;
    std::optional<std::string> value;
    bool word = false;
};

Field Word(std::string_view name, std::string_view value) {
    return {std::string(name), std::string(value), true};
}
Field Plain(std::string_view name, std::string value) {
    return {std::string(name), std::move(value), false};
}
Field Nothing(std::string_view name) {
    return {std::string(name), std::nullopt, false};
}

// [{"source": "cloc.json", "lines": 32000}, ...]; a file name that is not UTF-8 with its
// bytes replaced, as JSON text must be UTF-8.
std::string Reports(const Figures &figures) {
    std::string list;
    for (const auto &[source, lines] : figures.reports) {
        list += list.empty() ? "[" : ", ";
        list +=
            "{\"source\": " +
            nlohmann::json(source).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
            ", \"lines\": " + std::to_string(lines) + "}";
    }
    return list + "]";
}

std::vector<Field> Results(const Request &request, const Figures &figures) {
    return {
        Word("model", ModelNames[static_cast<std::size_t>(request.model - 1)]),
        Word("mode", ModeNames[static_cast<std::size_t>(request.mode - 1)]),
        Plain("lines", std::to_string(figures.lines)),
        figures.eaf ? Plain("eaf", Shortest(*figures.eaf)) : Nothing("eaf"),
        Plain("effort_staff_months", Shortest(figures.effort)),
        Plain("tdev_months", Shortest(figures.tdev)),
        Plain("average_staffing", Shortest(figures.averageStaffing)),
        figures.cost ? Plain("cost", Shortest(*figures.cost)) : Nothing("cost"),
    };
}

// Whether the factor was formed from ratings, rather than given.
bool Rated(const Request &request) {
    return request.model == Models::Intermediate && !request.eaf;
}

// Every driver with the step used, an unrated one Nominal as on the screen.
std::vector<Field> Ratings(const Request &request) {
    constexpr std::int16_t nominal = 2;
    std::vector<Field> ratings;
    for (std::size_t i = 0; i < engine::CostDriverCount; ++i) {
        const auto step = static_cast<std::size_t>(request.ratings[i].value_or(nominal));
        ratings.push_back(Word(DriverNames[i], StepNames[step]));
    }
    return ratings;
}

// Every phase with the column used, nothing for a phase left out (it counts 1.0).
std::vector<Field> Columns(const Request &request) {
    std::vector<Field> columns;
    for (std::size_t i = 0; i < engine::PhaseCount; ++i) {
        const std::optional<std::int16_t> column = request.columns[i];
        columns.push_back(column
                              ? Word(PhaseNames[i], ColumnNames[static_cast<std::size_t>(*column)])
                              : Nothing(PhaseNames[i]));
    }
    return columns;
}

std::string JsonValue(const Field &field) {
    if (!field.value) {
        return "null";
    }
    return field.word ? "\"" + *field.value + "\"" : *field.value;
}

// Names and words come from the program's own vocabulary, none needing an escape.
std::string JsonObject(const std::vector<Field> &fields) {
    std::string text;
    for (const Field &field : fields) {
        text += text.empty() ? "{\"" : ", \"";
        text += field.name + "\": " + JsonValue(field);
    }
    return text + "}";
}

// Text for a Markdown table cell: every ASCII punctuation character escaped, so that none
// ends the cell or starts emphasis, code or a formula.
std::string MarkdownEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (std::ispunct(static_cast<unsigned char>(c)) != 0) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

constexpr std::string_view Explanation = "Effort in staff-months of work, TDEV in months of "
                                         "calendar time, average staffing in people at work on "
                                         "average.\n";

// The rows of the text form, label and value; for Markdown with the user's currency symbol
// escaped and without the reports, whose file names a table would have to escape too.
std::vector<std::pair<std::string_view, std::string>>
Rows(const Request &request, const Figures &figures, const NumberFormat &format, bool markdown) {
    const std::string &decimalSeparator = format.decimal;
    std::string factor = "none";
    if (figures.eaf) {
        factor =
            FactorText(*figures.eaf, decimalSeparator) +
            (request.eaf                             ? " (given with --eaf)"
             : request.model == Models::Intermediate ? " (product of the cost-driver multipliers)"
                                                     : " (sum of the phase fractions)");
    }
    const auto hundredths = [&](double value) {
        return rt::FormatHundredths(value, decimalSeparator);
    };
    std::vector<std::pair<std::string_view, std::string>> rows = {
        {"Model", std::string(engine::ModelNames[static_cast<std::size_t>(request.model - 1)])},
        {"Mode", std::string(engine::ModeNames[static_cast<std::size_t>(request.mode - 1)])},
        {"Lines", std::to_string(figures.lines)},
    };
    for (std::size_t i = 0; !markdown && i < figures.reports.size(); ++i) {
        const auto &[source, lines] = figures.reports[i];
        rows.emplace_back("Report", std::to_string(lines) + " lines, " +
                                        (source == "-" ? "standard input" : Shown(source)));
    }
    rows.insert(rows.end(), {
                                {"Factor", factor},
                                {"Effort", hundredths(figures.effort)},
                                {"TDEV", hundredths(figures.tdev)},
                                {"Average staffing", hundredths(figures.averageStaffing)},
                            });
    if (figures.cost) {
        std::array<char, 400> buffer{};
        const auto units = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                         *figures.cost, std::chars_format::fixed, 0);
        const std::string symbol = request.currency ? Shown(*request.currency) : "";
        const std::string currency =
            symbol.empty() ? "" : (markdown ? MarkdownEscaped(symbol) : symbol) + " ";
        rows.emplace_back(
            "Cost", currency + Grouped(std::string(buffer.data(), units.ptr), format) +
                        " (salary " + Given(*request.salary, decimalSeparator) +
                        " a year, overhead " + Given(Overhead(request), decimalSeparator) + ")");
    }
    return rows;
}

} // namespace

std::string FormatText(const Request &request, const Figures &figures, const NumberFormat &format) {
    constexpr std::size_t labelWidth = 18;
    std::string text;
    for (const auto &[label, value] : Rows(request, figures, format, false)) {
        const std::string labelled = std::string(label) + ":";
        text += labelled + std::string(labelWidth - labelled.size(), ' ') + value + "\n";
    }
    return text + std::string(Explanation);
}

std::string FormatMarkdown(const Request &request, const Figures &figures,
                           const NumberFormat &format) {
    std::string table = "| Figure | Value |\n| --- | --- |\n";
    for (const auto &[label, value] : Rows(request, figures, format, true)) {
        table += "| " + std::string(label) + " | " + value + " |\n";
    }
    return table + "\n" + std::string(Explanation);
}

std::string FormatJson(const Request &request, const Figures &figures) {
    std::vector<Field> fields = Results(request, figures);
    fields.push_back(Rated(request) ? Plain("ratings", JsonObject(Ratings(request)))
                                    : Nothing("ratings"));
    fields.push_back(request.model == Models::Advanced
                         ? Plain("phases", JsonObject(Columns(request)))
                         : Nothing("phases"));
    fields.push_back(figures.reports.empty() ? Nothing("reports")
                                             : Plain("reports", Reports(figures)));
    return JsonObject(fields) + "\n";
}

std::string FormatCsv(const Request &request, const Figures &figures) {
    std::vector<Field> fields = Results(request, figures);
    for (Field &rating : Ratings(request)) {
        fields.push_back(Rated(request) ? rating : Nothing(rating.name));
    }
    for (Field &column : Columns(request)) {
        fields.push_back(request.model == Models::Advanced ? column : Nothing(column.name));
    }
    // Every value is a plain word or number, none needing quotes.
    std::string header;
    std::string row;
    for (const Field &field : fields) {
        const char *separator = header.empty() ? "" : ",";
        header += separator + field.name;
        row += separator + field.value.value_or("");
    }
    return header + "\n" + row + "\n";
}

} // namespace cli
