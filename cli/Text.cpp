#include "cli/Text.h"

#include <algorithm>

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

std::string Joined(std::span<const std::string_view> names) {
    std::string list;
    for (const std::string_view name : names) {
        if (!list.empty()) {
            list += ", ";
        }
        list += name;
    }
    return list;
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace cli
