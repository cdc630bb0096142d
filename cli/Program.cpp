#include "cli/Program.h"

#include "cli/Arguments.h"
#include "cli/Calculation.h"
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

// What a line counter's report counts. Throws UsageError for a file that cannot be read or
// is no such report, NoCode for one that counts no code.
Count CountOf(const std::string &path, std::FILE *input) {
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
    Count count;
    try {
        count = ReadReport(file);
    } catch (const BadReport &bad) {
        if (std::ferror(file) != 0) {
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

std::string Estimate(const Request &request, const Environment &environment) {
    std::vector<Source> sources;
    for (const std::string &path : request.reports) {
        sources.push_back({path, CountOf(path, environment.input)});
    }
    const Outcome figures =
        request.lines ? Calculate(request, *request.lines) : Calculate(request, sources);
    switch (request.format) {
    case Format::Json:
        return FormatJson(request, figures);
    case Format::Csv:
        return FormatCsv(request, figures);
    case Format::Sloccount:
        return FormatSlocCount(request, figures);
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
