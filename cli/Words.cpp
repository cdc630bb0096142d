#include "cli/Words.h"

#include <CLI/CLI.hpp>

namespace cli {

std::string Shown(std::string_view word, bool asciiOnly) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string shown;
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (asciiOnly && byte >= 0x80)) {
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Quoted(std::string_view word) {
    return "'" + Shown(word) + "'";
}

std::string CsvQuoted(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Joined(std::span<const std::string_view> names) {
    return CLI::detail::join(names, ", ");
}

bool SameName(std::string_view a, std::string_view b) {
    return CLI::ignore_case(std::string(a)) == CLI::ignore_case(std::string(b));
}

} // namespace cli
