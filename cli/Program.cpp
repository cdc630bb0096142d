#include "cli/Program.h"

#include "cli/Arguments.h"
#include "cli/Calculation.h"
#include "cli/History.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "cli/Words.h"
#include "engine/Estimate.h"
#include "runtime/numeric/RuntimeError.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>

namespace cli {
namespace {

constexpr std::string_view Name = "cocomo-estimate";

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

std::string ReadError(std::string_view name, int error) {
    return "cannot read " + std::string(name) + ": " + std::strerror(error);
}

// A file named on the command line, opened, or standard input for "-", and how messages
// name it.
struct Opened {
    explicit Opened(const std::string &path, std::FILE *input)
        : name(path == "-" ? "standard input" : Quoted(path)) {
        if (path != "-") {
            owned.reset(std::fopen(path.c_str(), "rb"));
            if (!owned) {
                throw UsageError(ReadError(name, errno));
            }
        }
        file = path == "-" ? input : owned.get();
        errno = 0;
    }

    std::string name;
    std::unique_ptr<std::FILE, FileCloser> owned;
    std::FILE *file = nullptr;
};

// What a line counter's report counts. Throws UsageError for a file that cannot be read or
// is no such report, NoCode for one that counts no code.
Count CountOf(const std::string &path, std::FILE *input) {
    const Opened opened(path, input);
    const std::string &name = opened.name;
    Count count;
    try {
        count = ReadReport(opened.file);
    } catch (const BadReport &bad) {
        if (std::ferror(opened.file) != 0) {
            throw UsageError(ReadError(name, errno));
        }
        throw UsageError(name + ": " + bad.what() + "; " + std::string(ReportFormats));
    }
    if (count.lines == 0 && count.change) {
        throw NoCode(name + " counts no code added or modified: the trees compared differ in "
                            "nothing but removed lines, or not at all");
    }
    if (count.lines == 0) {
        // cloc writes {} alike for a tree without code and for one that does not exist.
        throw NoCode(name + " counts no code: the tree holds no source file that the line "
                            "counter knows, or does not exist");
    }
    return count;
}

// The projects of a table of finished projects. Throws UsageError for a file that cannot be
// read or is no such table.
std::vector<engine::history::Project> ProjectsOf(const std::string &path, std::FILE *input) {
    const Opened opened(path, input);
    try {
        return ReadHistory(opened.file, opened.name);
    } catch (const BadHistory &bad) {
        if (std::ferror(opened.file) != 0) {
            throw UsageError(ReadError(opened.name, errno));
        }
        throw UsageError(bad.what());
    }
}

std::string Estimate(Request request, const Environment &environment) {
    std::vector<Source> sources;
    for (const std::string &path : request.reports) {
        sources.push_back({path, CountOf(path, environment.input)});
    }
    std::optional<History> history;
    if (!request.histories.empty()) {
        std::vector<HistorySource> tables;
        for (const std::string &path : request.histories) {
            tables.push_back({path, ProjectsOf(path, environment.input)});
        }
        history = Examine(request, tables);
        if (history->calibration) {
            request.calibrated = FittedCoefficients(
                request.model, request.mode,
                history->calibration->modes[static_cast<std::size_t>(request.mode - 1)]);
        }
    }
    std::optional<Outcome> figures;
    if (request.lines) {
        figures = Calculate(request, *request.lines);
    } else if (!sources.empty()) {
        figures = Calculate(request, sources);
    }
    switch (request.format) {
    case Format::Json:
        return FormatJson(request, figures, history);
    case Format::Csv:
        return FormatCsv(request, figures, history);
    case Format::Sloccount:
        return FormatSlocCount(request, *figures);
    case Format::Markdown:
    case Format::Text:
        break;
    }
    const NumberFormat format = request.locale ? environment.numberFormat() : NumberFormat{};
    return request.format == Format::Markdown ? FormatMarkdown(request, figures, history, format)
                                              : FormatText(request, figures, history, format);
}

} // namespace

int Run(std::span<const std::string_view> args, const Environment &environment) {
    std::string text;
    try {
        const Parsed parsed = ParseArguments(args);
        text =
            parsed.action == Action::Estimate ? Estimate(parsed.request, environment) : parsed.text;
    } catch (const UsageError &error) {
        environment.errors << Name << ": " << error.what() << '\n';
        return UsageFailure;
    } catch (const NoCode &error) {
        environment.errors << Name << ": " << error.what() << '\n';
        return Refused;
    } catch (const rt::RuntimeError &error) {
        environment.errors << Name << ": " << error.heading() << ' ' << error.description() << '\n'
                           << engine::SizeRequirement << '\n';
        return Refused;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), environment.output) != text.size() ||
        std::fflush(environment.output) != 0) {
        environment.errors << Name << ": cannot write the output: " << std::strerror(errno) << '\n';
        return WriteFailure;
    }
    return 0;
}

NumberFormat UserNumberFormat() {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "") == nullptr) {
        return {".", "", ""};
    }
    const std::lconv *conventions = std::localeconv();
    NumberFormat format{conventions->decimal_point, conventions->thousands_sep,
                        conventions->grouping};
    std::setlocale(LC_NUMERIC, previous.c_str());
    format.decimal = format.decimal.empty() ? "." : format.decimal;
    return format;
}

} // namespace cli
