#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// A reference for reading a typed size, kept apart from the program's own reader so the
// two can be compared: the number at the start of the text (blanks, tabs and line feeds
// skipped anywhere; sign; digits with at most one point; optional exponent), converted
// by the C library in the C locale.
namespace reference {

struct Reading {
    bool overflow = false; // beyond the double range: the overflow error
    double value = 0.0;
};

// The number rewritten without blanks, or an empty string when the text does not begin
// with one. Each element of the text is one code unit; only ASCII units take part.
template <class Unit> std::string CleanNumber(std::basic_string_view<Unit> text) {
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n')) {
            ++at;
        }
    };
    auto current = [&]() -> char {
        skipBlanks();
        if (at >= text.size()) {
            return '\0';
        }
        const auto unit =
            static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(text[at]));
        return unit < 0x80 ? static_cast<char>(unit) : '\x7f';
    };
    auto isDigit = [](char c) {
        return c >= '0' && c <= '9';
    };

    std::string clean;
    if (current() == '-' || current() == '+') {
        clean += current();
        ++at;
    }
    bool digits = false;
    bool point = false;
    for (char c = current(); isDigit(c) || (c == '.' && !point); c = current()) {
        digits = digits || isDigit(c);
        point = point || c == '.';
        clean += c;
        ++at;
    }
    if (!digits) {
        return {};
    }
    if (current() == 'E' || current() == 'e') {
        ++at;
        std::string exponent = "e";
        if (current() == '-' || current() == '+') {
            exponent += current();
            ++at;
        }
        bool exponentDigits = false;
        for (char c = current(); isDigit(c); c = current()) {
            exponent += c;
            exponentDigits = true;
            ++at;
        }
        if (exponentDigits) {
            clean += exponent;
        }
    }
    return clean;
}

// Converts a clean number with strtod in the C locale; no number reads as +0.
Reading Convert(const std::string &clean);

template <class Unit> Reading Read(std::basic_string_view<Unit> text) {
    return Convert(CleanNumber(text));
}

// Round half to even, then the 32-bit range; nullopt is the overflow error.
std::optional<std::int32_t> RoundToInt32(double value);

} // namespace reference
