#pragma once

#include <cstdint>
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
std::int32_t ToInt32(double value);

// base raised to exponent. A negative base with a non-integral exponent raises the
// invalid-argument error; zero to a negative power raises division by zero; zero to a
// positive power is 0.
double Power(double base, double exponent);

// The check made after each stored floating-point result: NaN (an invalid operation)
// and infinity (an overflow or a division by zero) raise the overflow error, the one
// number the classic runtime reports for a floating-point fault.
void CheckFloatingPoint(double stored);

// The pattern "#0.00": rounded to hundredths, at least one digit before the separator,
// no grouping, exactly two digits after it, a leading minus only for values that do not
// round to zero. The caller passes the locale's decimal separator.
std::string FormatHundredths(double value, std::string_view decimalSeparator);

} // namespace rt
