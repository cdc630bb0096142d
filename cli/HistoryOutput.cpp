#include "cli/HistoryOutput.h"

#include "cli/Words.h"
#include "engine/Estimate.h"
#include "engine/Names.h"
#include "runtime/numeric/Numeric.h"

#include <algorithm>
#include <array>

namespace cli {
namespace {

using Json = nlohmann::ordered_json;
using engine::history::Accuracy;
using engine::history::Fitted;

// How each way a mode's coefficients came about is named: in JSON and CSV, and in the text.
struct FittedName {
    const char *word;
    const char *text;
};
constexpr std::array<FittedName, 5> FittedNames{{
    {"published", "as published: no projects of the mode"},
    {"coefficient", "a fitted, b as published"},
    {"both", "a and b fitted"},
    {"coefficient-fewer-than-five", "a fitted, b as published: fewer than five projects"},
    {"coefficient-one-size", "a fitted, b as published: every project of one size"},
}};

const FittedName &NameOf(Fitted how) {
    return FittedNames[static_cast<std::size_t>(how)];
}

std::string ModelWord(std::int16_t model) {
    return std::string(engine::NameOf(engine::ModelNames, model).word);
}

std::string ModeWord(std::size_t mode) {
    return std::string(engine::ModeNames[mode].word);
}

std::string ModeShown(std::size_t mode) {
    return std::string(engine::ModeNames[mode].shown);
}

std::string Four(double value, const NumberFormat &format) {
    return Decimals(value, 4, format.decimal);
}

// The --coefficients value that gives the fit: a and b with every digit, the published
// schedule's c and d.
std::string CoefficientsOf(const Request &request, std::size_t mode,
                           const engine::history::ModeCalibration &fit) {
    const engine::Coefficients k =
        FittedCoefficients(request.model, static_cast<std::int16_t>(mode + 1), fit);
    return Chars(k.a) + "," + Chars(k.b) + "," + Chars(k.c) + "," + Chars(k.d);
}

Json AccuracyJson(const std::optional<Accuracy> &accuracy) {
    if (!accuracy) {
        return Json();
    }
    return {{"projects", accuracy->projects}, {"mmre", accuracy->mmre},
            {"mdmre", accuracy->mdmre},       {"pred25", accuracy->pred25},
            {"pred30", accuracy->pred30},     {"within_factor_two", accuracy->withinFactorTwo}};
}

// One row of the accuracy table.
class AccuracyRows {
public:
    AccuracyRows(Table &table, const NumberFormat &format)
        : table_(table)
        , format_(format) {}

    void Add(const char *estimates, std::int16_t model, const std::string &mode,
             const Accuracy &accuracy, const std::optional<std::pair<double, double>> &ab = {},
             const std::string &fit = "", const std::string &coefficients = "") {
        const std::string modelWord = ModelWord(model);
        std::vector<Table::Cell> row{
            {estimates, estimates},
            {std::string(engine::NameOf(engine::ModelNames, model).shown), modelWord},
            {mode, mode},
            {std::to_string(accuracy.projects), std::to_string(accuracy.projects)}};
        for (const std::optional<double> value : {ab ? std::optional(ab->first) : std::nullopt,
                                                  ab ? std::optional(ab->second) : std::nullopt}) {
            row.push_back(value ? Table::Cell{Four(*value, format_), Chars(*value)}
                                : Table::Cell{});
        }
        for (const double percent :
             {accuracy.mmre, accuracy.mdmre, accuracy.pred25, accuracy.pred30}) {
            row.push_back({rt::FormatHundredths(percent, format_.decimal), Chars(percent)});
        }
        const std::string within = std::to_string(accuracy.withinFactorTwo);
        row.push_back({within, within});
        row.push_back({fit, fit});
        row.push_back({"", coefficients});
        table_.rows.push_back(std::move(row));
    }

private:
    Table &table_;
    const NumberFormat &format_;
};

std::string Padded(const std::string &text, std::size_t width, bool right) {
    const std::string pad(width > text.size() ? width - text.size() : 0, ' ');
    return right ? pad + text : text + pad;
}

} // namespace

std::string TableText(const Table &table) {
    std::vector<std::size_t> widths;
    for (const Table::Column &column : table.columns) {
        widths.push_back(column.heading.size());
    }
    for (const auto &row : table.rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].shown.size());
        }
    }
    const auto line = [&](const auto &cellText) {
        std::string text;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            if (widths[i] > 0) {
                text += (text.empty() ? "" : "  ") +
                        Padded(cellText(i), widths[i], table.columns[i].number);
            }
        }
        return text.erase(text.find_last_not_of(' ') + 1) + "\n";
    };
    std::string text = line([&](std::size_t i) { return table.columns[i].heading; });
    for (const auto &row : table.rows) {
        text += line([&](std::size_t i) { return row[i].shown; });
    }
    return text;
}

std::string TableMarkdown(const Table &table) {
    std::string heading = "|";
    std::string rule = "|";
    for (const Table::Column &column : table.columns) {
        if (!column.heading.empty()) {
            heading += " " + column.heading + " |";
            rule += column.number ? " ---: |" : " --- |";
        }
    }
    std::string text = heading + "\n" + rule + "\n";
    for (const auto &row : table.rows) {
        text += "|";
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (!table.columns[i].heading.empty()) {
                text += " " + row[i].shown + " |";
            }
        }
        text += "\n";
    }
    return text;
}

std::string TableCsv(const Table &table) {
    std::string text;
    for (const Table::Column &column : table.columns) {
        text += (text.empty() ? "" : ",") + column.field;
    }
    text += "\n";
    for (const auto &row : table.rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += (i == 0 ? "" : ",") + CsvQuoted(row[i].raw);
        }
        text += line + "\n";
    }
    return text;
}

std::vector<std::pair<std::string, std::string>>
HistoryRows(const Request &request, const History &history, const NumberFormat &format) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto &[source, projects] : history.sources) {
        rows.emplace_back("History", std::to_string(projects) +
                                         (projects == 1 ? " project, " : " projects, ") +
                                         (source == "-" ? "standard input" : Shown(source)));
    }
    std::string modes;
    for (std::size_t mode = 0; mode < history.modes.size(); ++mode) {
        modes +=
            (mode == 0 ? ": " : ", ") + std::to_string(history.modes[mode]) + " " + ModeShown(mode);
    }
    rows.emplace_back("Projects", std::to_string(history.projects) + modes);
    if (!history.calibration) {
        return rows;
    }
    const bool both = request.calibrate == engine::history::Fit::Both;
    const std::string actual = request.model == Models::Basic ? "actual" : "actual / EAF";
    rows.emplace_back("Calibrated",
                      std::string(engine::NameOf(engine::ModelNames, request.model).shown) +
                          " model, each mode alone: " +
                          (both ? "a and b by least squares of ln(" + actual + ") on ln(KLOC)"
                                : "a = exp(mean of ln(" + actual + " / KLOC^b)), b as published"));
    for (std::size_t mode = 0; mode < history.calibration->modes.size(); ++mode) {
        const engine::history::ModeCalibration &fit = history.calibration->modes[mode];
        rows.emplace_back(
            ModeShown(mode),
            "a " + Four(fit.a, format) + ", b " + Four(fit.b, format) + " from " +
                std::to_string(fit.projects) + (fit.projects == 1 ? " project, " : " projects, ") +
                NameOf(fit.how).text + "; --coefficients " + CoefficientsOf(request, mode, fit));
    }
    return rows;
}

Table AccuracyTable(const Request &request, const History &history, const NumberFormat &format) {
    Table table{{{"Estimates", "estimates", false},
                 {"Model", "model", false},
                 {"Mode", "mode", false},
                 {"Projects", "projects", true},
                 {"a", "a", true},
                 {"b", "b", true},
                 {"MMRE", "mmre", true},
                 {"MdMRE", "mdmre", true},
                 {"PRED(25)", "pred25", true},
                 {"PRED(30)", "pred30", true},
                 {"Within 2x", "within_factor_two", true},
                 {"Fit", "fit", false},
                 {"", "coefficients", false}},
                {}};
    AccuracyRows rows(table, format);
    for (const std::int16_t model : {Models::Basic, Models::Intermediate}) {
        const engine::history::Check &check =
            model == Models::Basic ? history.basic : history.intermediate;
        rows.Add("published", model, "all", check.all);
        for (std::size_t mode = 0; mode < check.modes.size(); ++mode) {
            if (check.modes[mode]) {
                const engine::Coefficients &k =
                    engine::CoefficientTable[static_cast<std::size_t>(model - 1)][mode];
                rows.Add("published", model, ModeWord(mode), *check.modes[mode],
                         std::pair{k.a, k.b});
            }
        }
    }
    if (const auto &calibration = history.calibration) {
        for (const bool leaveOneOut : {false, true}) {
            const char *estimates = leaveOneOut ? "leave-one-out" : "fitted";
            rows.Add(estimates, request.model, "all",
                     leaveOneOut ? calibration->allLeaveOneOut : calibration->all);
            for (std::size_t mode = 0; mode < calibration->modes.size(); ++mode) {
                const engine::history::ModeCalibration &fit = calibration->modes[mode];
                if (fit.projects > 0 && leaveOneOut) {
                    rows.Add(estimates, request.model, ModeWord(mode), *fit.leaveOneOut);
                } else if (fit.projects > 0) {
                    rows.Add(estimates, request.model, ModeWord(mode), *fit.fitted,
                             std::pair{fit.a, fit.b}, NameOf(fit.how).word,
                             CoefficientsOf(request, mode, fit));
                }
            }
        }
    }
    return table;
}

std::string AccuracyNotes(const History &history) {
    std::string notes = "MMRE and MdMRE: the mean and the median of |estimate - actual| / actual, "
                        "in percent; PRED(25) and PRED(30): the percent of the projects whose "
                        "estimate is within 25 % and 30 % of the actual; Within 2x: the projects "
                        "whose estimate is within a factor of two of the actual.\n";
    if (history.calibration) {
        notes += "Leave-one-out: each project estimated from the coefficients fitted to the "
                 "others alone; the figure to quote for a project the history does not hold.\n";
    }
    return notes;
}

Json HistoryJson(const Request &request, const History &history) {
    Json sources = Json::array();
    for (const auto &[source, projects] : history.sources) {
        sources.push_back({{"source", source}, {"projects", projects}});
    }
    Json json = {{"sources", sources}, {"projects", history.projects}, {"modes", Json::object()}};
    for (std::size_t mode = 0; mode < history.modes.size(); ++mode) {
        json["modes"][ModeWord(mode)] = history.modes[mode];
    }
    Json published = Json::object();
    for (const std::int16_t model : {Models::Basic, Models::Intermediate}) {
        const engine::history::Check &check =
            model == Models::Basic ? history.basic : history.intermediate;
        Json modes = {{"all", AccuracyJson(check.all)}};
        for (std::size_t mode = 0; mode < check.modes.size(); ++mode) {
            modes[ModeWord(mode)] = AccuracyJson(check.modes[mode]);
        }
        published[ModelWord(model)] = modes;
    }
    json["published"] = published;
    json["calibration"] = Json();
    if (const auto &calibration = history.calibration) {
        Json modes = Json::object();
        for (std::size_t mode = 0; mode < calibration->modes.size(); ++mode) {
            const engine::history::ModeCalibration &fit = calibration->modes[mode];
            modes[ModeWord(mode)] = {{"fit", NameOf(fit.how).word},
                                     {"projects", fit.projects},
                                     {"a", fit.a},
                                     {"b", fit.b},
                                     {"coefficients", CoefficientsOf(request, mode, fit)},
                                     {"fitted", AccuracyJson(fit.fitted)},
                                     {"leave_one_out", AccuracyJson(fit.leaveOneOut)}};
        }
        json["calibration"] = {
            {"model", ModelWord(request.model)},
            {"fit", request.calibrate == engine::history::Fit::Both ? "both" : "coefficient"},
            {"modes", modes},
            {"all", AccuracyJson(calibration->all)},
            {"all_leave_one_out", AccuracyJson(calibration->allLeaveOneOut)}};
    }
    return json;
}

std::string FittedText(const Request &request, const History &history, const NumberFormat &format) {
    const auto mode = static_cast<std::size_t>(request.mode - 1);
    const engine::history::ModeCalibration &fit = history.calibration->modes[mode];
    return "a " + Four(fit.a, format) + ", b " + Four(fit.b, format) + " from " +
           std::to_string(fit.projects) + " " + ModeShown(mode) + " projects of the history, " +
           NameOf(fit.how).text + "; the schedule as published";
}

} // namespace cli
