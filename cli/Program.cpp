#include "cli/Program.h"

#include "cli/Arguments.h"
#include "cli/Calculation.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "engine/Estimate.h"
#include "runtime/numeric/RuntimeError.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace cli {
namespace {

constexpr std::string_view Name = "cocomo-estimate";

constexpr std::string_view HelpText =
    R"(Usage: cocomo-estimate [--model MODEL] [--mode MODE] (--lines N | --lines-from FILE...)
                       [--rating DRIVER=STEP]... [--eaf FACTOR] [--phase PHASE=COLUMN]...
                       [--salary AMOUNT [--overhead FACTOR] [--currency SYMBOL]]
                       [--format text|json|csv|markdown] [--locale] [--]
       cocomo-estimate -h | --help | --version

The COCOMO 81 estimate of the estimation wizard, from the command line: the effort
in staff-months, the development time in months and the average staffing.

  --model MODEL         basic (the default), intermediate, advanced
  --mode MODE           organic (the default), semidetached (or semi-detached),
                        embedded
  --lines N             the size in delivered lines of code, a whole number of digits
                        only: 32000 is 32 thousand lines
  --lines-from FILE     the code lines of a cloc --json or scc --format json report;
                        - reads standard input; several add up
  --rating DRIVER=STEP  intermediate only; an unrated driver is Nominal
                        DRIVER: ACAP, AEXP, CPLX, DATA, LEXP, MODP, PCAP, RELY,
                                SCED, STOR, TIME, TOOL, TURN, VEXP, VIRT
                        STEP: VL, L, N, H, VH, EH
                        (or very-low, low, nominal, high, very-high, extra-high)
  --eaf FACTOR          intermediate only, instead of --rating: the factor as rated
                        elsewhere, a positive number
  --phase PHASE=COLUMN  advanced only; a phase left out counts 1.0
                        PHASE: requirements, product-design, detailed-design,
                               code-and-unit-test, integration-and-test, maintenance
                        COLUMN: small, intermediate, medium, large (or 2, 8, 32, 128)
  --salary AMOUNT       the yearly cost of one person: adds the cost, the effort in
                        staff-months x AMOUNT / 12 x the overhead
  --overhead FACTOR     with --salary: what else a person costs, 2.4 by default
  --currency SYMBOL     with --salary, text and markdown: the symbol before the cost
  --format FORMAT       text, json, csv, markdown (a table for a pull request);
                        text is the default
  --locale              text and markdown: the decimal and thousands separators of
                        the user's locale
  -h, --help            this help
  --version             the version
  --                    ends the options

Names are case-insensitive. Exit status: 0 the estimate was written, 1 the size was
refused, 2 the command line or a report could not be read, 3 the output could not be
written. See cocomo-estimate(1).
)";

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
            text = HelpText;
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
