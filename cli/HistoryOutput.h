#pragma once

#include "cli/Arguments.h"
#include "cli/Calculation.h"
#include "cli/Numbers.h"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace cli {

// A table of figures: its columns' headings, and a row of cells each as people read it and as
// CSV holds it.
struct Table {
    struct Column {
        std::string heading;
        std::string field; // the CSV header's name
        bool number;       // aligned to the right
    };
    struct Cell {
        std::string shown;
        std::string raw;
    };
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
};

// The table as text in aligned columns, as Markdown, or as CSV with a header row.
std::string TableText(const Table &table);
std::string TableMarkdown(const Table &table);
std::string TableCsv(const Table &table);

// What the history says before its table, as rows of a label and a value: each table's
// projects, the projects of each mode, and where the model was calibrated, how and each mode's
// fit with the --coefficients that give it.
std::vector<std::pair<std::string, std::string>>
HistoryRows(const Request &request, const History &history, const NumberFormat &format);

// How close the published models come to the history, and with calibration the fitted ones,
// fitted and leave-one-out: over all projects and for each mode.
Table AccuracyTable(const Request &request, const History &history, const NumberFormat &format);

// What the table's figures are.
std::string AccuracyNotes(const History &history);

// The same as JSON, every number with full precision.
nlohmann::ordered_json HistoryJson(const Request &request, const History &history);

// How the estimate's mode was fitted: its a and b, and the projects behind them.
std::string FittedText(const Request &request, const History &history, const NumberFormat &format);

} // namespace cli
