#include "cli/Program.h"

#include "cli/Arguments.h"
#include "cli/Calculation.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "engine/Estimate.h"
#include "runtime/numeric/RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace cli {
namespace {

constexpr std::string_view Name = "cocomo-estimate";

// The words after the start of a line, wrapped to fit 80 columns, the lines after the first
// indented.
std::string Wrapped(std::string line, std::string_view words, std::size_t indent) {
    std::string text;
    for (std::size_t start = 0; start < words.size();) {
        const std::size_t end = std::min(words.find(' ', start), words.size());
        const std::string_view word = words.substr(start, end - start);
        const std::string_view gap = line.empty() || line.ends_with(' ') ? "" : " ";
        if (line.size() + gap.size() + word.size() > 80) {
            text += line + "\n";
            line.assign(indent, ' ');
        } else {
            line += gap;
        }
        line += word;
        start = end + 1;
    }
    return text + line + "\n";
}

// An option and what it takes, in the column the descriptions start at.
std::string Described(std::string_view option, std::string_view description) {
    constexpr std::size_t column = 24;
    return Wrapped("  " + std::string(option) + std::string(column - 2 - option.size(), ' '),
                   description, column);
}

// One of the parser's lists under its option: "DRIVER: ACAP, AEXP, ...".
std::string Listed(std::string_view label, std::string_view list) {
    constexpr std::size_t column = 24;
    return Wrapped(std::string(column, ' ') + std::string(label) + ": ", list,
                   column + label.size() + 2);
}

// The help, its lists written from the tables the parser reads.
std::string HelpText() {
    std::string formats(FormatNames[0]);
    for (std::size_t i = 1; i < FormatNames.size(); ++i) {
        formats += "|" + std::string(FormatNames[i]);
    }
    const std::string modes = Joined(ModeNames) + " (or " + std::string(ModeSpellings[1]) + ")";
    return "Usage: cocomo-estimate [--model MODEL] [--mode MODE]\n"
           "                       (--lines N | --lines-from FILE...)\n"
           "                       [--rating DRIVER=STEP]... [--eaf FACTOR]\n"
           "                       [--phase PHASE=COLUMN]...\n"
           "                       [--salary AMOUNT [--overhead FACTOR] [--currency SYMBOL]]\n"
           "                       [--format " +
           formats +
           "] [--locale] [--]\n"
           "       cocomo-estimate -h | --help | --version\n\n" +
           Wrapped("",
                   "The COCOMO 81 estimate of the estimation wizard, from the command line: "
                   "the effort in staff-months, the development time in months and the "
                   "average staffing.",
                   0) +
           "\n" +
           Described("--model MODEL",
                     Joined(ModelNames) + "; " + std::string(ModelNames[0]) + " when left out") +
           Described("--mode MODE", modes + "; " + std::string(ModeNames[0]) + " when left out") +
           Described("--lines N", "the size in delivered lines of code, a whole number of digits "
                                  "only: 32000 is 32 thousand lines") +
           Described("--lines-from FILE",
                     "the code lines of a cloc --json report (also --by-file or "
                     "--by-file-by-lang) or an scc --format json or json2 report; - reads "
                     "standard input; several reports add up") +
           Described("--rating DRIVER=STEP", "intermediate only; an unrated driver is Nominal") +
           Listed("DRIVER", Joined(DriverNames)) + Listed("STEP", Joined(StepNames)) +
           Listed("or", Joined(StepLongNames)) +
           Described("--eaf FACTOR", "intermediate only, instead of --rating: the factor as "
                                     "rated elsewhere, a positive number") +
           Described("--phase PHASE=COLUMN", "advanced only; a phase left out counts 1.0") +
           Listed("PHASE", Joined(PhaseNames)) + Listed("COLUMN", Joined(ColumnNames)) +
           Listed("or", Joined(ColumnKdsi)) +
           Described("--salary AMOUNT", "the yearly cost of one person: adds the cost, the "
                                        "effort in staff-months x AMOUNT / 12 x the overhead") +
           Described("--overhead FACTOR", "with --salary: what else a person costs, 2.4 when "
                                          "left out") +
           Described("--currency SYMBOL",
                     "with --salary, text and markdown: the symbol before the cost") +
           Described("--format FORMAT", Joined(FormatNames) + "; " + std::string(FormatNames[0]) +
                                            " when left out; markdown is a table for a pull "
                                            "request") +
           Described("--locale", "text and markdown: the decimal and thousands separators of "
                                 "the user's locale") +
           Described("-h, --help", "this help") + Described("--version", "the version") +
           Described("--", "ends the options") + "\n" +
           Wrapped("",
                   "Names are case-insensitive. Exit status: 0 the estimate was written, "
                   "1 the size was refused (the calculation refused it, or a report "
                   "counts no code), 2 the command line or a report could not be read, "
                   "3 the output could not be written. See cocomo-estimate(1).",
                   0);
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

std::string ReadError(std::string_view name, int error) {
    return "cannot read " + std::string(name) + ": " + std::strerror(error);
}

// A refused size that the calculation does not see: a report that counts no code.
class NoCode : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code lines of a line counter's report. Throws UsageError for a file that cannot be
// read or is no such report, NoCode for one that counts no code.
std::int64_t LinesFromReport(const std::string &path, std::FILE *input) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : Quoted(path);
    std::unique_ptr<std::FILE, FileCloser> opened;
    if (!standardInput) {
        opened.reset(std::fopen(path.c_str(), "rb"));
        if (!opened) {
            throw UsageError(ReadError(name, errno));
        }
    }
    std::FILE *file = standardInput ? input : opened.get();
    errno = 0;
    std::int64_t lines = 0;
    try {
        lines = CodeLines(file);
    } catch (const BadReport &bad) {
        if (std::ferror(file) != 0) {
            throw UsageError(ReadError(name, errno));
        }
        throw UsageError(name + ": " + bad.what() + "; " + std::string(ReportFormats));
    }
    if (lines == 0) {
        // cloc writes {} alike for a tree without code and for one that does not exist.
        throw NoCode(name + " counts no code: the tree holds no source file that the line "
                            "counter knows, or does not exist");
    }
    return lines;
}

std::string Estimate(const Request &request, const Environment &environment) {
    std::vector<std::pair<std::string, std::int64_t>> reports;
    std::int64_t total = 0;
    for (const std::string &path : request.reports) {
        reports.emplace_back(path, LinesFromReport(path, environment.input));
        total = AddCounts(total, reports.back().second);
    }
    Figures figures = Calculate(request, request.lines ? *request.lines : std::to_string(total));
    figures.reports = std::move(reports);
    switch (request.format) {
    case Format::Json:
        return FormatJson(request, figures);
    case Format::Csv:
        return FormatCsv(request, figures);
    case Format::Markdown:
    case Format::Text:
        break;
    }
    const NumberFormat format = request.locale ? environment.numberFormat() : NumberFormat{};
    return request.format == Format::Markdown ? FormatMarkdown(request, figures, format)
                                              : FormatText(request, figures, format);
}

} // namespace

int Run(std::span<const std::string_view> args, const Environment &environment) {
    std::string text;
    try {
        const Parsed parsed = ParseArguments(args);
        switch (parsed.action) {
        case Action::Help:
            text = HelpText();
            break;
        case Action::Version:
            text = std::string(Name) + " " + COCOMO_VERSION + "\n";
            break;
        case Action::Estimate:
            text = Estimate(parsed.request, environment);
            break;
        }
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
