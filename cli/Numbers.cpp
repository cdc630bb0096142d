#include "cli/Numbers.h"

#include <algorithm>
#include <climits>

namespace cli {
namespace {

std::string WithDecimal(std::string text, std::string_view decimalSeparator) {
    const std::size_t point = text.find('.');
    return point == std::string::npos ? text : text.replace(point, 1, decimalSeparator);
}

} // namespace

std::string Decimals(double value, int decimals, std::string_view decimalSeparator) {
    return WithDecimal(Chars(value, std::chars_format::fixed, decimals), decimalSeparator);
}

// A product of fifteen two-decimal multipliers has more decimals than anyone reads; the JSON
// and CSV forms carry every bit.
std::string FactorText(double value, std::string_view decimalSeparator) {
    std::string text = Chars(value, std::chars_format::fixed, 6);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return WithDecimal(text, decimalSeparator);
}

std::string Given(double value, std::string_view decimalSeparator) {
    return WithDecimal(Chars(value, std::chars_format::fixed), decimalSeparator);
}

std::string Grouped(std::string digits, const NumberFormat &format) {
    std::size_t end = digits.size();
    for (std::size_t i = 0; !format.thousands.empty() && i < format.grouping.size();
         i = std::min(i + 1, format.grouping.size() - 1)) {
        const int size = format.grouping[i];
        if (size <= 0 || size == CHAR_MAX || end <= static_cast<std::size_t>(size)) {
            break;
        }
        end -= static_cast<std::size_t>(size);
        digits.insert(end, format.thousands);
    }
    return digits;
}

std::string Perl(double value) {
    return Chars(value, std::chars_format::general, 15);
}

std::string Commified(const std::string &number) {
    const std::size_t digits = std::min(number.find_first_not_of("0123456789"), number.size());
    return Grouped(number.substr(0, digits), {}) + number.substr(digits);
}

std::string Rounded(double value, int decimals) {
    return Commified(Chars(value, std::chars_format::fixed, decimals));
}

} // namespace cli
