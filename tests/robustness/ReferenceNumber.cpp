#include "tests/robustness/ReferenceNumber.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace reference {

Reading Convert(const std::string &clean) {
    if (clean.empty()) {
        return {};
    }
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    errno = 0;
    const double value = strtod_l(clean.c_str(), nullptr, c);
    // strtod reports ERANGE for an overflow (with an infinity) and for an underflow (with
    // zero or a subnormal); only the first is an error, the second reads as the value.
    if (errno == ERANGE && std::isinf(value)) {
        return {true, 0.0};
    }
    return {false, value};
}

std::optional<std::int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double below = std::floor(value);
    const double fraction = value - below; // exact for every finite double
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        rounded = below + 1.0;
    }
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace reference
