#include "cli/Output.h"

#include "cli/HistoryOutput.h"
#include "cli/Numbers.h"
#include "cli/Words.h"
#include "engine/Cocomo2.h"
#include "engine/Names.h"
#include "runtime/numeric/Numeric.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <utility>
#include <vector>

namespace cli {
namespace {

using Json = nlohmann::ordered_json;

// A source as the text names it.
std::string SourceName(const std::string &source) {
    return source == "-" ? "standard input" : Shown(source);
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

std::string ModelTitle(const Request &request) {
    return std::string(engine::NameOf(engine::ModelNames, request.model).shown);
}

// What the mode stands for, the coefficients given instead, or COCOMO II's equations.
std::string Meaning(const Request &request, const std::string &decimalSeparator) {
    const auto number = [&](double value) {
        return Given(value, decimalSeparator);
    };
    if (const std::optional<engine::cocomo2::Model> model =
            engine::cocomo2::ModelOf(request.model)) {
        using namespace engine::cocomo2;
        return ModelTitle(request) + ": effort = " + number(A) +
               " x KSLOC^E x the product of the " + std::to_string(MultipliersOf(*model).size()) +
               " effort multipliers, E = " + number(B) + " + " + number(0.01) +
               " x the sum of the " + std::to_string(ScaleFactors.size()) +
               " scale factors; TDEV = " + number(C) +
               " x (effort w/o SCED)^F x SCED% / 100, F = " + number(D) + " + " + number(0.2) +
               " x (E - " + number(B) + ").\n";
    }
    if (request.coefficients) {
        const engine::Coefficients &k = *request.coefficients;
        return "Custom: effort = " + number(k.a) + " x KLOC^" + number(k.b) +
               (k.appliesEAF ? " x the factor" : "") + " staff-months, TDEV = " + number(k.c) +
               " x effort^" + number(k.d) + " months.\n";
    }
    const auto mode = static_cast<std::size_t>(request.mode - 1);
    return std::string(engine::ModeNames[mode].shown) + ": " +
           std::string(engine::ModeMeanings[mode]) + ".\n";
}

// "PREC N, FLEX H" for the factors of a COCOMO II table, a factor left out Nominal; with
// onlyGiven, the factors given alone.
std::string RatingsText(std::span<const engine::cocomo2::Factor> table,
                        std::span<const engine::cocomo2::Rating> ratings, bool onlyGiven) {
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!onlyGiven || ratings[i]) {
            text +=
                (text.empty() ? "" : ", ") + std::string(table[i].name) + " " +
                std::string(
                    engine::cocomo2::RatingNames[ratings[i].value_or(engine::cocomo2::Nominal)]);
        }
    }
    return text;
}

std::string LinesText(std::int64_t lines) {
    return std::to_string(lines) + (lines == 1 ? " line" : " lines");
}

// " (4 added, 1 modified; 2 removed, 2 unchanged)" for the lines of a change.
std::string Changed(const std::optional<Change> &change) {
    if (!change) {
        return "";
    }
    return " (" + std::to_string(change->added) + " added, " + std::to_string(change->modified) +
           " modified; " + std::to_string(change->removed) + " removed, " +
           std::to_string(change->same) + " unchanged)";
}

// The rows of the text form, label and value; for Markdown with the words from the user and
// the reports escaped.
class Rows {
public:
    using Row = std::pair<std::string_view, std::string>;

    Rows(const Request &request, const Outcome &figures, const std::optional<History> &history,
         const NumberFormat &format, bool markdown)
        : request_(request)
        , figures_(figures)
        , format_(format)
        , markdown_(markdown)
        , cocomo2_(engine::cocomo2::ModelOf(request.model)) {
        rows_.emplace_back("Model", ModelTitle(request));
        if (!cocomo2_) {
            rows_.emplace_back(
                "Mode", request.coefficients
                            ? "Custom"
                            : std::string(engine::NameOf(engine::ModeNames, request.mode).shown));
        }
        rows_.emplace_back("Lines", std::to_string(figures.lines));
        Sources();
        Adapted();
        if (history && history->calibration) {
            rows_.emplace_back("Fitted", FittedText(request, *history, format));
        }
        Figures();
    }

    std::vector<Row> All() const { return rows_; }

private:
    std::string Words(const std::string &text) const {
        return markdown_ ? MarkdownEscaped(Shown(text)) : Shown(text);
    }
    std::string Hundredths(double value) const {
        return rt::FormatHundredths(value, format_.decimal);
    }
    std::string Factor(double value) const { return FactorText(value, format_.decimal); }

    // Each report's lines, or each project's figures, and each language's lines.
    void Sources() {
        for (const Project &project : figures_.reports) {
            const std::string lines = LinesText(project.lines) + Changed(project.change);
            const std::string source = Words(SourceName(project.source));
            if (const std::optional<Results> &own = project.results) {
                rows_.emplace_back("Project", lines + ", effort " + Hundredths(own->effort) +
                                                  ", TDEV " + Hundredths(own->tdev) +
                                                  ", staffing " + Hundredths(own->avgStaffing) +
                                                  ", " + source);
            } else {
                rows_.emplace_back("Report", lines + ", " + source);
            }
        }
        for (const LanguageLines &language : figures_.languages) {
            rows_.emplace_back(language.counted ? "Language" : "Left out",
                               LinesText(language.lines) + ", " + Words(language.name));
        }
    }

    // The adapted code and what it is worth.
    void Adapted() {
        if (!figures_.equivalent) {
            return;
        }
        const engine::Adaptation &adapted = request_.adaptation;
        const auto given = [&](double value) {
            return Given(value, format_.decimal);
        };
        rows_.emplace_back("Adapted",
                           LinesText(static_cast<std::int64_t>(adapted.lines)) + ", DM " +
                               given(adapted.dm) + "%, CM " + given(adapted.cm) + "%, IM " +
                               given(adapted.im) + "%" +
                               (cocomo2_ ? ", AA " + given(adapted.aa) + ", SU " +
                                               given(adapted.su) + ", UNFM " + given(adapted.unfm)
                                         : ""));
        rows_.emplace_back("AAF", Factor(engine::AdjustmentFactor(adapted)));
        if (cocomo2_) {
            rows_.emplace_back("AAM", Factor(engine::AdjustmentMultiplier(adapted)));
        }
        rows_.emplace_back("Equivalent", Hundredths(*figures_.equivalent) + " lines");
        rows_.emplace_back("Size used", Hundredths(figures_.size) + " lines");
    }

    void Figures() {
        std::string factor = "none";
        if (figures_.eaf) {
            factor = Factor(*figures_.eaf) + (request_.eaf ? " (given with --eaf)"
                                              : request_.model == Models::Intermediate
                                                  ? " (product of the cost-driver multipliers)"
                                              : cocomo2_ ? " (product of the effort multipliers)"
                                                         : " (sum of the phase fractions)");
        }
        if (cocomo2_) {
            const std::string given =
                RatingsText(engine::cocomo2::MultipliersOf(*cocomo2_), request_.multipliers, true);
            rows_.emplace_back("Scale factors",
                               RatingsText(engine::cocomo2::ScaleFactors, request_.scales, false) +
                                   "; sum " + Factor(figures_.cocomo2->scaleSum));
            rows_.emplace_back("Exponent E", Factor(figures_.coefficients.b));
            rows_.emplace_back("Multipliers",
                               given.empty() ? "all Nominal" : given + "; the others Nominal");
        }
        rows_.emplace_back("Factor", factor);
        rows_.emplace_back("Effort", Hundredths(figures_.effort));
        rows_.emplace_back("Person-years", Hundredths(figures_.effort / 12.0));
        rows_.emplace_back("Labor hours", Hundredths(figures_.effort * request_.hoursPerMonth) +
                                              " (" +
                                              Given(request_.hoursPerMonth, format_.decimal) +
                                              " hours a staff-month)");
        std::string schedule;
        if (cocomo2_) {
            const engine::cocomo2::Range range = engine::cocomo2::RangeOf(*cocomo2_);
            rows_.emplace_back("Effort w/o SCED",
                               Hundredths(figures_.cocomo2->effortWithoutSchedule));
            rows_.emplace_back("Effort range",
                               Hundredths(figures_.cocomo2->optimistic.effort) + " to " +
                                   Hundredths(figures_.cocomo2->pessimistic.effort) + " (" +
                                   Factor(range.optimistic) + " and " + Factor(range.pessimistic) +
                                   " x the estimate)");
            rows_.emplace_back("TDEV exponent F", Factor(figures_.coefficients.d));
            schedule = " (SCED " + Factor(figures_.cocomo2->schedulePercent) +
                       "% of the nominal schedule)";
        }
        rows_.emplace_back("TDEV", Hundredths(figures_.tdev) + schedule);
        if (cocomo2_) {
            rows_.emplace_back("TDEV range", Hundredths(figures_.cocomo2->optimistic.tdev) +
                                                 " to " +
                                                 Hundredths(figures_.cocomo2->pessimistic.tdev));
        }
        rows_.emplace_back("TDEV in years", Hundredths(figures_.tdev / 12.0));
        rows_.emplace_back("Average staffing", Hundredths(figures_.avgStaffing));
        if (figures_.cost) {
            const std::string symbol = request_.currency ? Shown(*request_.currency) : "";
            const std::string currency =
                symbol.empty() ? "" : (markdown_ ? MarkdownEscaped(symbol) : symbol) + " ";
            rows_.emplace_back(
                "Cost",
                currency + Grouped(Chars(*figures_.cost, std::chars_format::fixed, 0), format_) +
                    " (salary " + Given(*figures_.salary, format_.decimal) + " a year, overhead " +
                    Given(Overhead(request_), format_.decimal) + ")");
        }
    }

    const Request &request_;
    const Outcome &figures_;
    const NumberFormat &format_;
    bool markdown_;
    std::optional<engine::cocomo2::Model> cocomo2_;
    std::vector<Row> rows_;
};

// The fields that the JSON object and the CSV row share, in their order.
Json Leading(const Request &request, const Outcome &figures) {
    return {
        {"model", engine::NameOf(engine::ModelNames, request.model).word},
        {"mode", engine::cocomo2::ModelOf(request.model) ? Json()
                 : request.coefficients
                     ? Json("custom")
                     : Json(engine::NameOf(engine::ModeNames, request.mode).word)},
        {"lines", figures.lines},
        {"eaf", figures.eaf ? Json(*figures.eaf) : Json()},
        {"effort_staff_months", figures.effort},
        {"tdev_months", figures.tdev},
        {"average_staffing", figures.avgStaffing},
        {"cost", figures.cost ? Json(*figures.cost) : Json()},
    };
}

// What came after the first fields.
Json More(const Request &request, const Outcome &figures) {
    return {
        {"effort_person_years", figures.effort / 12.0}, {"tdev_years", figures.tdev / 12.0},
        {"effort_coefficient", figures.coefficients.a}, {"effort_exponent", figures.coefficients.b},
        {"tdev_coefficient", figures.coefficients.c},   {"tdev_exponent", figures.coefficients.d},
        {"multiproject", request.multiproject},
    };
}

Json ChangeFields(const std::optional<Change> &change) {
    if (!change) {
        return Json();
    }
    return {{"added", change->added},
            {"modified", change->modified},
            {"removed", change->removed},
            {"unchanged", change->same}};
}

// Whether the factor was formed from ratings, rather than given.
bool Rated(const Request &request) {
    return (request.model == Models::Intermediate && !request.eaf) ||
           engine::cocomo2::ModelOf(request.model);
}

// Every factor of a COCOMO II table with its rating, one left out Nominal.
Json Cocomo2Ratings(std::span<const engine::cocomo2::Factor> table,
                    std::span<const engine::cocomo2::Rating> ratings) {
    Json json = Json::object();
    for (std::size_t i = 0; i < table.size(); ++i) {
        json[std::string(table[i].name)] =
            engine::cocomo2::RatingNames[ratings[i].value_or(engine::cocomo2::Nominal)];
    }
    return json;
}

Json ScaleFactors(const Request &request) {
    return Cocomo2Ratings(engine::cocomo2::ScaleFactors, request.scales);
}

// COCOMO II's figures besides every model's; nothing for the others.
Json Cocomo2Fields(const Outcome &figures) {
    const std::optional<Cocomo2Figures> &more = figures.cocomo2;
    return {
        {"scale_factor_sum", more ? Json(more->scaleSum) : Json()},
        {"effort_without_sced_staff_months", more ? Json(more->effortWithoutSchedule) : Json()},
        {"sced_percent", more ? Json(more->schedulePercent) : Json()},
    };
}

// Every driver with the step used, an unrated one Nominal as on the screen; nothing for the
// other models.
Json Ratings(const Request &request) {
    if (const std::optional<engine::cocomo2::Model> model =
            engine::cocomo2::ModelOf(request.model)) {
        return Cocomo2Ratings(engine::cocomo2::MultipliersOf(*model), request.multipliers);
    }
    constexpr std::int16_t nominal = 2;
    Json ratings = Json::object();
    for (std::size_t i = 0; i < engine::CostDriverCount; ++i) {
        const auto step = static_cast<std::size_t>(request.ratings[i].value_or(nominal));
        ratings[std::string(engine::DriverNames[i])] =
            Rated(request) ? Json(engine::StepNames[step]) : Json();
    }
    return ratings;
}

// Every phase with the column used, nothing for a phase left out (it counts 1.0) or for the
// other models.
Json Columns(const Request &request) {
    Json columns = Json::object();
    for (std::size_t i = 0; i < engine::PhaseCount; ++i) {
        const std::optional<std::int16_t> column = request.columns[i];
        columns[std::string(engine::PhaseNames[i])] =
            column && request.model == Models::Advanced
                ? Json(engine::ColumnNames[static_cast<std::size_t>(*column)])
                : Json();
    }
    return columns;
}

Json Reports(const Outcome &figures) {
    if (figures.reports.empty()) {
        return Json();
    }
    Json reports = Json::array();
    for (const Project &project : figures.reports) {
        const std::optional<Results> &own = project.results;
        reports.push_back({
            {"source", project.source},
            {"lines", project.lines},
            {"change", ChangeFields(project.change)},
            {"effort_staff_months", own ? Json(own->effort) : Json()},
            {"tdev_months", own ? Json(own->tdev) : Json()},
            {"average_staffing", own ? Json(own->avgStaffing) : Json()},
            {"cost", own && own->cost ? Json(*own->cost) : Json()},
        });
    }
    return reports;
}

Json Languages(const Outcome &figures) {
    if (figures.reports.empty()) {
        return Json();
    }
    Json languages = Json::array();
    for (const LanguageLines &language : figures.languages) {
        languages.push_back(
            {{"name", language.name}, {"lines", language.lines}, {"counted", language.counted}});
    }
    return languages;
}

// A CSV field: quoted where it holds a separator, a quote or a line break.
std::string CsvField(const Json &value) {
    if (value.is_null()) {
        return "";
    }
    if (value.is_number_float()) {
        return Chars(value.get<double>());
    }
    if (!value.is_string()) {
        return value.dump();
    }
    return CsvQuoted(value.get<std::string>());
}

} // namespace

namespace {

std::string LabelledText(const std::vector<std::pair<std::string, std::string>> &rows) {
    constexpr std::size_t labelWidth = 18;
    std::string text;
    for (const auto &[label, value] : rows) {
        const std::string labelled = label + ":";
        text += labelled + std::string(labelWidth - labelled.size(), ' ') + value + "\n";
    }
    return text;
}

std::string LabelledMarkdown(const std::vector<std::pair<std::string, std::string>> &rows) {
    std::string table = "| Figure | Value |\n| --- | --- |\n";
    for (const auto &[label, value] : rows) {
        table += "| " + label + " | " + value + " |\n";
    }
    return table;
}

std::vector<std::pair<std::string, std::string>>
Labelled(const Request &request, const Outcome &figures, const std::optional<History> &history,
         const NumberFormat &format, bool markdown) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto &[label, value] : Rows(request, figures, history, format, markdown).All()) {
        rows.emplace_back(label, value);
    }
    return rows;
}

// The history's rows with its words escaped for Markdown.
std::vector<std::pair<std::string, std::string>>
EscapedHistoryRows(const Request &request, const History &history, const NumberFormat &format) {
    std::vector<std::pair<std::string, std::string>> rows = HistoryRows(request, history, format);
    for (auto &[label, value] : rows) {
        if (label == "History") {
            value = MarkdownEscaped(value);
        }
    }
    return rows;
}

// The figures that every model's estimate gives since labor hours, and what COCOMO II, adapted
// code and a calibration add, in the JSON object and the CSV row alike.
Json Later(const Request &request, const Outcome &figures) {
    Json json = {{"labor_hours", figures.effort * request.hoursPerMonth},
                 {"hours_per_month", request.hoursPerMonth}};
    if (const std::optional<Cocomo2Figures> &more = figures.cocomo2) {
        json.update({{"effort_optimistic_staff_months", more->optimistic.effort},
                     {"effort_pessimistic_staff_months", more->pessimistic.effort},
                     {"tdev_optimistic_months", more->optimistic.tdev},
                     {"tdev_pessimistic_months", more->pessimistic.tdev}});
    }
    if (figures.equivalent) {
        const engine::Adaptation &adapted = request.adaptation;
        const bool cocomo2 = figures.cocomo2.has_value();
        json.update({{"adapted_lines", adapted.lines},
                     {"dm", adapted.dm},
                     {"cm", adapted.cm},
                     {"im", adapted.im},
                     {"aa", cocomo2 ? Json(adapted.aa) : Json()},
                     {"su", cocomo2 ? Json(adapted.su) : Json()},
                     {"unfm", cocomo2 ? Json(adapted.unfm) : Json()},
                     {"aaf", engine::AdjustmentFactor(adapted)},
                     {"aam", cocomo2 ? Json(engine::AdjustmentMultiplier(adapted)) : Json()},
                     {"equivalent_lines", *figures.equivalent},
                     {"size_lines", figures.size}});
    }
    if (!request.histories.empty()) {
        json["calibrated"] = request.calibrated.has_value();
    }
    return json;
}

} // namespace

std::string FormatText(const Request &request, const std::optional<Outcome> &figures,
                       const std::optional<History> &history, const NumberFormat &format) {
    std::string text;
    if (figures) {
        text += LabelledText(Labelled(request, *figures, history, format, false)) +
                std::string(Explanation) + Meaning(request, format.decimal);
    }
    if (history) {
        text += (text.empty() ? "" : "\n") + LabelledText(HistoryRows(request, *history, format)) +
                "\n" + TableText(AccuracyTable(request, *history, format)) +
                AccuracyNotes(*history);
    }
    return text;
}

std::string FormatMarkdown(const Request &request, const std::optional<Outcome> &figures,
                           const std::optional<History> &history, const NumberFormat &format) {
    std::string text;
    if (figures) {
        text += LabelledMarkdown(Labelled(request, *figures, history, format, true)) + "\n" +
                std::string(Explanation) + Meaning(request, format.decimal);
    }
    if (history) {
        text += (text.empty() ? "" : "\n") +
                LabelledMarkdown(EscapedHistoryRows(request, *history, format)) + "\n" +
                TableMarkdown(AccuracyTable(request, *history, format)) + "\n" +
                AccuracyNotes(*history);
    }
    return text;
}

std::string FormatJson(const Request &request, const std::optional<Outcome> &figures,
                       const std::optional<History> &history) {
    Json json = Json::object();
    if (figures) {
        json = Leading(request, *figures);
        json["ratings"] = Rated(request) ? Ratings(request) : Json();
        json["phases"] = request.model == Models::Advanced ? Columns(request) : Json();
        json["scale_factors"] = figures->cocomo2 ? ScaleFactors(request) : Json();
        json["reports"] = Reports(*figures);
        json.update(More(request, *figures));
        json.update(Cocomo2Fields(*figures));
        json["languages"] = Languages(*figures);
        json["change"] = ChangeFields(figures->change);
        json.update(Later(request, *figures));
    }
    if (history) {
        json["history"] = HistoryJson(request, *history);
    }
    // A file name that is not UTF-8 with its bytes replaced, as JSON text must be UTF-8.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string FormatCsv(const Request &request, const std::optional<Outcome> &figures,
                      const std::optional<History> &history) {
    std::string text;
    if (figures) {
        Json fields = Leading(request, *figures);
        fields.update(Ratings(request));
        fields.update(figures->cocomo2 ? ScaleFactors(request) : Columns(request));
        fields.update(More(request, *figures));
        if (figures->cocomo2) {
            fields.update(Cocomo2Fields(*figures));
        }
        std::string languages;
        for (const LanguageLines &language : figures->languages) {
            if (language.counted) {
                languages += (languages.empty() ? "" : ";") + Shown(language.name) + "=" +
                             std::to_string(language.lines);
            }
        }
        fields["languages"] = figures->reports.empty() ? Json() : Json(languages);
        const Json change = ChangeFields(figures->change.value_or(Change{}));
        for (const auto &[name, value] : change.items()) {
            fields[name] = figures->change ? value : Json();
        }
        fields.update(Later(request, *figures));
        std::string header;
        std::string row;
        for (const auto &[name, value] : fields.items()) {
            const char *separator = header.empty() ? "" : ",";
            header += separator + name;
            row += separator + CsvField(value);
        }
        text = header + "\n" + row + "\n";
    }
    if (history) {
        text +=
            (text.empty() ? "" : "\n") + TableCsv(AccuracyTable(request, *history, NumberFormat{}));
    }
    return text;
}

namespace {

// SLOCCount's totals by language, where the reports have languages.
std::string LanguageTotals(const Outcome &figures) {
    std::string text;
    std::int64_t counted = 0;
    for (const LanguageLines &language : figures.languages) {
        counted = AddCounts(counted, language.counted && language.lines > 0 ? language.lines : 0);
    }
    if (counted > 0) {
        text += "Totals grouped by language (dominant language first):\n";
        for (const LanguageLines &language : figures.languages) {
            if (language.counted && language.lines > 0) {
                const std::string label = Shown(language.name) + ":";
                const std::string lines = std::to_string(language.lines);
                text += label + std::string(label.size() < 9 ? 9 - label.size() : 0, ' ') + " " +
                        std::string(lines.size() < 9 ? 9 - lines.size() : 0, ' ') + lines + " (" +
                        Chars(static_cast<double>(language.lines) * 100.0 /
                                  static_cast<double>(counted),
                              std::chars_format::fixed, 2) +
                        "%)\n";
            }
        }
        text += "\n\n\n\n";
    }
    return text;
}

// A line of SLOCCount's summary: its label, padded as SLOCCount pads them, and the value.
std::string SummaryLine(const std::string &label, const std::string &value) {
    constexpr std::size_t width = 58;
    return label + std::string(width > label.size() ? width - label.size() : 1, ' ') + "= " +
           value + "\n";
}

} // namespace

std::string FormatSlocCount(const Request &request, const Outcome &figures) {
    std::string text = LanguageTotals(figures);
    const engine::Coefficients &k = figures.coefficients;
    const std::string model = request.coefficients ? ""
                              : figures.cocomo2    ? ModelTitle(request) + " model, "
                              : request.calibrated
                                  ? ModelTitle(request) + " COCOMO model fitted to the history, "
                                  : ModelTitle(request) + " COCOMO model, ";
    const std::string factor = figures.eaf ? Perl(*figures.eaf) + " * " : "";
    const std::string currency = request.currency ? Shown(*request.currency) : "$";
    text += "Total Physical Source Lines of Code (SLOC)                = " +
            Commified(std::to_string(figures.lines)) + "\n";
    if (figures.equivalent) {
        const engine::Adaptation &adapted = request.adaptation;
        text += " (adapted " + Commified(Perl(adapted.lines)) + ", AAF " +
                Perl(engine::AdjustmentFactor(adapted)) +
                (figures.cocomo2 ? ", AAM " + Perl(engine::AdjustmentMultiplier(adapted)) : "") +
                ", equivalent " + Rounded(*figures.equivalent, 2) + "; size used " +
                Rounded(figures.size, 2) + ")\n";
    }
    text += "Development Effort Estimate, Person-Years (Person-Months) = " +
            Rounded(figures.effort / 12.0, 2) + " (" + Rounded(figures.effort, 2) + ")\n";
    text += " (" + (model.empty() ? "effort model " : model) + "Person-Months = " + Perl(k.a) +
            " * " + factor + "(KSLOC**" + Perl(k.b) + "))\n";
    text += "Schedule Estimate, Years (Months)                         = " +
            Rounded(figures.tdev / 12.0, 2) + " (" + Rounded(figures.tdev, 2) + ")\n";
    const std::string schedule = figures.cocomo2
                                     ? "(person-months without SCED**" + Perl(k.d) + ") * " +
                                           Perl(figures.cocomo2->schedulePercent) +
                                           " / 100; person-months without SCED = " +
                                           Rounded(figures.cocomo2->effortWithoutSchedule, 2)
                                     : "(person-months**" + Perl(k.d) + ")";
    text += " (" + (model.empty() ? "schedule model " : model) + "Months = " + Perl(k.c) + " * " +
            schedule + ")\n";
    if (const std::optional<Cocomo2Figures> &more = figures.cocomo2) {
        text += SummaryLine("Effort Range, Person-Months (Optimistic - Pessimistic)",
                            Rounded(more->optimistic.effort, 2) + " - " +
                                Rounded(more->pessimistic.effort, 2));
        text += SummaryLine("Schedule Range, Months (Optimistic - Pessimistic)",
                            Rounded(more->optimistic.tdev, 2) + " - " +
                                Rounded(more->pessimistic.tdev, 2));
    }
    // SLOCCount leaves out the staffing of several projects, which do not run side by side.
    if (!request.multiproject) {
        text += "Estimated Average Number of Developers (Effort/Schedule)  = " +
                Rounded(figures.avgStaffing, 2) + "\n";
    }
    text += "Total Estimated Cost to Develop                           = " + currency + " " +
            Rounded(*figures.cost, 0) + "\n";
    text += " (average salary = " + currency + Commified(Perl(*figures.salary)) +
            "/year, overhead = " + Chars(Overhead(request), std::chars_format::fixed, 2) + ").\n";
    text += SummaryLine("Labor Hours (" + Perl(request.hoursPerMonth) + " per person-month)",
                        Rounded(figures.effort * request.hoursPerMonth, 2));
    return text;
}

} // namespace cli
