#include "runtime/numeric/Numeric.h"

#include "runtime/numeric/RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace rt {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr long long ExponentLimit = 1'000'000'000LL; // far beyond the double range

} // namespace

double Val(std::string_view text) {
    std::size_t at = 0;
    // The next character that is not skipped, or '\0' at the end.
    const auto peek = [&] {
        while (at < text.size() && IsSkipped(text[at])) {
            ++at;
        }
        return at < text.size() ? text[at] : '\0';
    };
    // The number as the grammar finds it, in the form std::from_chars reads: optional '-',
    // integer digits, optional '.' and fraction digits, optional 'e' and exponent.
    std::string clean;
    const auto take = [&] {
        clean += text[at++];
    };
    bool negative = false;
    if (peek() == '-') {
        negative = true;
        take();
    } else if (peek() == '+') {
        ++at;
    }
    // Where the leading significant digit stands, to tell an overflow from an underflow.
    bool anyDigit = false;
    bool significant = false;
    long long integerDigits = 0; // significant digits before the point
    long long fractionZeros = 0; // zeros after the point before the first significant digit
    while (IsDigit(peek())) {
        significant = significant || text[at] != '0';
        if (significant) {
            ++integerDigits;
        }
        anyDigit = true;
        take();
    }
    if (!anyDigit) {
        clean += '0';
    }
    if (peek() == '.') {
        take();
        while (IsDigit(peek())) {
            if (!significant && text[at] == '0') {
                ++fractionZeros;
            }
            significant = significant || text[at] != '0';
            anyDigit = true;
            take();
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    long long exponent = 0;
    if (peek() == 'E' || peek() == 'e') {
        const std::size_t mantissaLength = clean.size();
        ++at;
        clean += 'e';
        const bool negativeExponent = peek() == '-';
        if (peek() == '+' || peek() == '-') {
            take();
        }
        bool anyExponentDigit = false;
        while (IsDigit(peek())) {
            exponent = std::min(ExponentLimit, exponent * 10 + (text[at] - '0'));
            anyExponentDigit = true;
            take();
        }
        // An E without digits does not continue the number.
        if (!anyExponentDigit) {
            clean.resize(mantissaLength);
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const long long magnitude =
            (integerDigits > 0 ? integerDigits - 1 : -fractionZeros - 1) + exponent;
        if (magnitude >= 0) {
            throw RuntimeError(ErrorCode::Overflow);
        }
        return negative ? -0.0 : 0.0;
    }
    return value;
}

std::string FormatHundredths(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    // to_chars rounds the exact binary value, so 0.125 (exact) goes to 0.12 and
    // 0.135 (stored just above) goes to 0.14; 310 digits cover the largest double.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 2);
    std::string text(buffer.data(), result.ptr);
    if (text == "-0.00") {
        text.erase(0, 1);
    }
    const std::size_t point = text.find('.');
    text.replace(point, 1, decimalSeparator);
    return text;
}

} // namespace rt
