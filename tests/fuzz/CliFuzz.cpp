// Fuzzing of cocomo-estimate's argument parser and report reader. The input is a command
// line, its words split at NUL bytes as the words of argv are, then after two NUL bytes
// what standard input holds; without two NUL bytes, the whole input is both. The standard
// input is read as a line counter's report and as a history table, and the command line run
// whole with it. Nothing may
// crash, and whatever is accepted must be consistent: a parsed request holds only valid codes, a
// refused report says why in one line, and a run ends with 0 and output only, or with 1 or 2 and
// the refusal's lines only.
#include "cli/Arguments.h"
#include "cli/History.h"
#include "cli/Program.h"
#include "cli/Report.h"
#include "engine/Estimate.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char *what, std::string_view detail = {}) {
    std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

cli::NumberFormat Comma() {
    return {",", ".", "\3\2"};
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const std::size_t end = text.find('\0');
        words.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return words;
}

void CheckRequest(const cli::Request &request) {
    if (request.model < 1 || request.model > 5 || request.mode < 1 || request.mode > 3) {
        Fail("accepted a model outside 1 to 5 or a mode outside 1 to 3");
    }
    const auto model = engine::cocomo2::ModelOf(request.model);
    const auto table =
        model ? engine::cocomo2::MultipliersOf(*model) : std::span<const engine::cocomo2::Factor>();
    for (std::size_t i = 0; i < request.multipliers.size(); ++i) {
        const auto &rating = request.multipliers[i];
        if (rating && (i >= table.size() || !table[i].values.at(*rating))) {
            Fail("accepted a rating that COCOMO II does not define for the driver");
        }
    }
    for (std::size_t i = 0; i < request.scales.size(); ++i) {
        const auto &rating = request.scales[i];
        if (rating && (!model || !engine::cocomo2::ScaleFactors[i].values.at(*rating))) {
            Fail("accepted a scale factor's rating that it does not define, or for COCOMO 81");
        }
    }
    if ((request.lines && !request.reports.empty()) ||
        (!request.lines && request.reports.empty() && request.histories.empty())) {
        Fail("accepted no size or two");
    }
    for (std::size_t i = 0; i < engine::CostDriverCount; ++i) {
        const auto &step = request.ratings[i];
        if (step && (request.model != 2 || *step < 0 || *step > 5 ||
                     !engine::RatingOffered[i][static_cast<std::size_t>(*step)])) {
            Fail("accepted a rating the screen does not offer", engine::DriverNames[i]);
        }
    }
    const bool rated = std::any_of(request.ratings.begin(), request.ratings.end(),
                                   [](const auto &step) { return step.has_value(); });
    if (request.eaf &&
        (request.model != 2 || rated || !std::isfinite(*request.eaf) || *request.eaf <= 0.0)) {
        Fail("accepted a factor that is not a positive number for the ratings");
    }
    for (const auto &column : request.columns) {
        if (column && (request.model != 3 || *column < 0 || *column > 3)) {
            Fail("accepted a phase column the screen does not offer");
        }
    }
    if (request.locale && request.format != cli::Format::Text &&
        request.format != cli::Format::Markdown) {
        Fail("accepted --locale with json, csv or sloccount");
    }
    const auto positive = [](double value) {
        return std::isfinite(value) && value > 0.0;
    };
    const auto &k = request.coefficients;
    if (k && (request.model > 2 || !positive(k->a) || !positive(k->b) || !positive(k->c) ||
              !positive(k->d))) {
        Fail("accepted coefficients that are not four positive numbers for Basic or Intermediate");
    }
    const engine::Adaptation &a = request.adaptation;
    const auto within = [](double value, double low, double high) {
        return value >= low && value <= high;
    };
    if (request.adapted &&
        (!within(a.lines, 0, 2147483647) || std::trunc(a.lines) != a.lines ||
         !within(a.dm, 0, 100) || !within(a.cm, 0, 100) || !within(a.im, 0, 100) ||
         !within(a.aa, 0, 8) || !within(a.su, 10, 50) || !within(a.unfm, 0, 1))) {
        Fail("accepted adapted code out of its ranges");
    }
    if (request.calibrate && (request.histories.empty() || request.model > 2)) {
        Fail("accepted --calibrate without a history or for another model");
    }
    if ((request.multiproject || !request.languages.empty()) && request.reports.empty()) {
        Fail("accepted --multiproject or a language without reports");
    }
}

struct Outcome {
    int status;
    std::string output;
    std::string errors;
};

Outcome RunProgram(const std::vector<std::string_view> &args, std::FILE *input) {
    char *buffer = nullptr;
    std::size_t size = 0;
    std::FILE *out = open_memstream(&buffer, &size);
    std::ostringstream err;
    const int status = cli::Run(args, {input, out, err, Comma});
    std::fclose(out);
    Outcome outcome{status, std::string(buffer, size), err.str()};
    std::free(buffer);
    return outcome;
}

// A refusal is its lines on standard error and nothing else; a success, output only.
void CheckRun(const std::vector<std::string_view> &args, std::FILE *input) {
    const auto [status, output, errors] = RunProgram(args, input);
    if (status == 0) {
        if (output.empty() || !errors.empty()) {
            Fail("succeeded without output or with errors", errors);
        }
        return;
    }
    if (!output.empty()) {
        Fail("wrote output on a refusal", output);
    }
    const std::string prefix = "cocomo-estimate: ";
    const std::size_t first = errors.find('\n');
    if (!errors.starts_with(prefix) || first == std::string::npos) {
        Fail("a refusal without its message", errors);
    }
    if (status == cli::UsageFailure && first + 1 != errors.size()) {
        Fail("a usage error of more than one line", errors);
    }
    if (status == cli::Refused && errors.find(" no code") != std::string::npos) {
        return;
    }
    if (status == cli::Refused && !errors.starts_with(prefix + "Run-time error '")) {
        Fail("a refused size without the run-time error", errors);
    }
    if (status == cli::Refused &&
        errors.substr(first + 1) != std::string(engine::SizeRequirement) + "\n") {
        Fail("a refused size without what the size must be", errors);
    }
    if (status != cli::Refused && status != cli::UsageFailure) {
        Fail("an exit status other than 0, 1 or 2", errors);
    }
}

void CheckJson(const std::string &output) {
    const nlohmann::json figures = nlohmann::json::parse(output, nullptr, false);
    if (figures.is_discarded()) {
        Fail("the JSON output does not parse", output);
    }
    for (const char *name : {"effort_staff_months", "tdev_months", "average_staffing"}) {
        if (!figures.contains(name) && figures.contains("history")) {
            continue;
        }
        if (!figures[name].is_number() || !std::isfinite(figures[name].get<double>())) {
            Fail("a result that is not a finite number", output);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view whole(reinterpret_cast<const char *>(data), size);
    const std::size_t split = whole.find(std::string_view("\0\0", 2));
    const std::string_view command = whole.substr(0, split);
    std::string text(split == std::string_view::npos ? whole : whole.substr(split + 2));

    std::FILE *report = fmemopen(text.data(), text.size(), "r");
    if (report == nullptr) {
        Fail("fmemopen failed");
    }
    try {
        cli::ReadReport(report);
    } catch (const cli::BadReport &bad) {
        const std::string_view why = bad.what();
        if (why.empty() || why.find('\n') != std::string_view::npos) {
            Fail("a refused report without its one-line reason", why);
        }
    }
    std::rewind(report);
    try {
        cli::ReadHistory(report, "standard input");
    } catch (const cli::BadHistory &bad) {
        const std::string_view why = bad.what();
        if (!why.starts_with("standard input") || why.find('\n') != std::string_view::npos) {
            Fail("a refused history without its one-line reason", why);
        }
    }

    const std::vector<std::string_view> args = Words(command);
    try {
        const cli::Parsed parsed = cli::ParseArguments(args);
        if (parsed.action == cli::Action::Estimate) {
            CheckRequest(parsed.request);
        }
        // A named file would be read from the disk; standard input is the input itself.
        const auto named = [](const std::vector<std::string> &paths) {
            return std::any_of(paths.begin(), paths.end(),
                               [](const std::string &path) { return path != "-"; });
        };
        if (parsed.action == cli::Action::Estimate &&
            (named(parsed.request.reports) || named(parsed.request.histories))) {
            std::fclose(report);
            return 0;
        }
        if (parsed.action == cli::Action::Estimate && parsed.request.format == cli::Format::Json) {
            std::rewind(report);
            const Outcome outcome = RunProgram(args, report);
            if (outcome.status == 0) {
                CheckJson(outcome.output);
            }
        }
    } catch (const cli::UsageError &error) {
        const std::string_view message = error.what();
        const bool control = std::any_of(message.begin(), message.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20;
        });
        if (message.empty() || control) {
            Fail("a usage error that is not one plain line", message);
        }
    }
    std::rewind(report);
    CheckRun(args, report);
    std::fclose(report);
    return 0;
}
