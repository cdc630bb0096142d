#include "runtime/numeric/Numeric.h"

#include "runtime/numeric/RuntimeError.h"

#include <fast_float/fast_float.h>

#include <array>
#include <cmath>
#include <cstdio>

namespace rt {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

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
    // The number as the grammar finds it, in the form from_chars reads: optional '-',
    // integer digits, optional '.' and fraction digits, optional 'e' and exponent.
    std::string clean;
    const auto take = [&] {
        clean += text[at++];
    };
    if (peek() == '-') {
        take();
    } else if (peek() == '+') {
        ++at;
    }
    bool anyDigit = false;
    while (IsDigit(peek())) {
        anyDigit = true;
        take();
    }
    if (!anyDigit) {
        clean += '0';
    }
    if (peek() == '.') {
        take();
        while (IsDigit(peek())) {
            anyDigit = true;
            take();
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (peek() == 'E' || peek() == 'e') {
        const std::size_t mantissaLength = clean.size();
        ++at;
        clean += 'e';
        if (peek() == '+' || peek() == '-') {
            take();
        }
        bool anyExponentDigit = false;
        while (IsDigit(peek())) {
            anyExponentDigit = true;
            take();
        }
        // An E without digits does not continue the number.
        if (!anyExponentDigit) {
            clean.resize(mantissaLength);
        }
    }
    // fast_float rounds correctly as std::from_chars does, where the standard library has no
    // floating-point from_chars (libc++ before 17, which the WebAssembly build uses). Out of
    // range it gives an infinity for an overflow and a signed zero for an underflow.
    double value = 0.0;
    fast_float::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (std::isinf(value)) {
        throw RuntimeError(ErrorCode::Overflow);
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
    // printf rounds the exact binary value, so 0.125 (exact) goes to 0.12 and 0.135 (stored
    // just above) goes to 0.14; 310 digits cover the largest double. Its radix character is
    // the C library's locale's, which a program may have set: the digits around it are taken.
    std::array<char, 400> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.2f", value);
    const std::string_view printed(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t radix = printed.find_first_not_of("-0123456789");
    // No minus for a value that rounds to zero.
    const bool zero = printed.find_first_of("123456789") == std::string_view::npos;
    const std::size_t first = zero ? printed.find_first_not_of('-') : 0;
    return std::string(printed.substr(first, radix - first))
        .append(decimalSeparator)
        .append(printed.substr(printed.size() - 2));
}

} // namespace rt
