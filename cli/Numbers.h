#pragma once

#include <array>
#include <charconv>
#include <string>
#include <string_view>

namespace cli {

// How numbers are written for people: the decimal separator, and the thousands separator
// with the sizes of the digit groups from the right as localeconv() gives them (each byte
// one group's size, the last repeated; none, or CHAR_MAX, for no more grouping).
struct NumberFormat {
    std::string decimal = ".";
    std::string thousands = ",";
    std::string grouping = "\3";
};

// A number as std::to_chars writes it, which is as printf writes it with the same format:
// without a format, the shortest text that reads back as the same double.
template <typename... Format> std::string Chars(double value, Format... format) {
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
    return {buffer.data(), result.ptr};
}

// A number with as many decimals, with the separator.
std::string Decimals(double value, int decimals, std::string_view decimalSeparator);

// A factor for people: six decimals at most, trailing zeros dropped, with the separator.
std::string FactorText(double value, std::string_view decimalSeparator);

// A number the user gave, as short as it reads back but with no exponent, with the
// separator.
std::string Given(double value, std::string_view decimalSeparator);

// Whole units with the thousands separator between the groups of digits.
std::string Grouped(std::string digits, const NumberFormat &format);

// Perl's numbers as SLOCCount writes them: "%.15g" for a number as it is; "%0.Nf" rounded,
// with commas between the groups of three digits before the point.
std::string Perl(double value);
std::string Rounded(double value, int decimals);
// The digits before the point of a number's text grouped by threes with commas.
std::string Commified(const std::string &number);

} // namespace cli
