#pragma once

#include "runtime/numeric/RuntimeError.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace rt {

// Reads the number at the start of a text the way the classic Val function does:
// blanks, tabs and line feeds are skipped wherever they stand; then an optional sign,
// digits with at most one ".", and an optional exponent (E or e, optional sign, digits).
// Reading stops at the first character that cannot continue the number; a text that
// does not begin with a number reads as 0. A value beyond the double range raises
// the overflow error. The text is UTF-8; no non-ASCII character continues a number.
double Val(std::string_view text);

// Rounds to the nearest whole number, an exact half going to the even neighbour, and
// raises the overflow error when the result (or the argument, if NaN or infinite) lies
// outside the 32-bit signed range.
inline std::int32_t ToInt32(double value) {
    constexpr double lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    const double rounded = std::nearbyint(value);
    // Written so that NaN fails the test too.
    if (!(rounded >= lowest && rounded <= highest)) [[unlikely]] {
        Raise(ErrorCode::Overflow);
    }
    return static_cast<std::int32_t>(rounded);
}

// base raised to exponent. A negative base with a non-integral exponent raises the
// invalid-argument error; zero to a negative power raises division by zero; zero to a
// positive power is 0.
inline double Power(double base, double exponent) {
    if (base < 0.0 && std::trunc(exponent) != exponent) [[unlikely]] {
        Raise(ErrorCode::InvalidArgument);
    }
    if (base == 0.0) [[unlikely]] {
        if (exponent < 0.0) {
            Raise(ErrorCode::DivisionByZero);
        }
        if (exponent > 0.0) {
            return 0.0;
        }
    }
    return std::pow(base, exponent);
}

// The check made after each stored floating-point result: NaN (an invalid operation)
// and infinity (an overflow or a division by zero) raise the overflow error, the one
// number the classic runtime reports for a floating-point fault.
inline void CheckFloatingPoint(double stored) {
    if (!std::isfinite(stored)) [[unlikely]] {
        Raise(ErrorCode::Overflow);
    }
}

// The pattern "#0.00": rounded to hundredths, at least one digit before the separator,
// no grouping, exactly two digits after it, a leading minus only for values that do not
// round to zero. The caller passes the locale's decimal separator.
std::string FormatHundredths(double value, std::string_view decimalSeparator);

} // namespace rt
