#include "Numeric.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace rt {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a number as the grammar finds them, blanks already skipped.
struct ScannedNumber {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    std::string exponent; // optional sign, then digits; empty when there is none
};

// Walks the text by the number grammar, skipping blanks wherever they stand.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text)
        : text_(text) {}

    ScannedNumber Scan() {
        ScannedNumber number;
        if (Peek() == '+' || Peek() == '-') {
            number.negative = Peek() == '-';
            Advance();
        }
        AppendDigits(number.integerDigits);
        if (Peek() == '.') {
            Advance();
            AppendDigits(number.fractionDigits);
        }
        if (number.integerDigits.empty() && number.fractionDigits.empty()) {
            return number;
        }
        if (Peek() == 'E' || Peek() == 'e') {
            const std::size_t mark = position_;
            Advance();
            std::string exponent;
            if (Peek() == '+' || Peek() == '-') {
                exponent += Peek();
                Advance();
            }
            if (AppendDigits(exponent)) {
                number.exponent = exponent;
            } else {
                position_ = mark;
            }
        }
        return number;
    }

private:
    char Peek() {
        while (position_ < text_.size() && IsSkipped(text_[position_])) {
            ++position_;
        }
        return position_ < text_.size() ? text_[position_] : '\0';
    }

    void Advance() { ++position_; }

    bool AppendDigits(std::string &out) {
        bool any = false;
        while (IsDigit(Peek())) {
            out += text_[position_];
            Advance();
            any = true;
        }
        return any;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

// The power of ten of the number's leading non-zero digit, saturated far beyond the
// double range. Only consulted when from_chars reports a value out of range, to tell
// an overflow (an error) from an underflow (zero).
long long DecimalMagnitude(const ScannedNumber &number) {
    constexpr long long limit = 1'000'000'000LL;
    long long exponent = 0;
    const bool negativeExponent = !number.exponent.empty() && number.exponent.front() == '-';
    for (char c : number.exponent) {
        if (IsDigit(c)) {
            exponent = std::min(limit, exponent * 10 + (c - '0'));
        }
    }
    if (negativeExponent) {
        exponent = -exponent;
    }
    const std::size_t leading = number.integerDigits.find_first_not_of('0');
    if (leading != std::string::npos) {
        return static_cast<long long>(number.integerDigits.size() - leading) - 1 + exponent;
    }
    const std::size_t firstFraction = number.fractionDigits.find_first_not_of('0');
    return -static_cast<long long>(firstFraction) - 1 + exponent;
}

} // namespace

double Val(std::string_view text) {
    const ScannedNumber number = NumberScanner(text).Scan();
    if (number.integerDigits.empty() && number.fractionDigits.empty()) {
        return 0.0;
    }
    std::string clean = number.negative ? "-" : "";
    clean += number.integerDigits.empty() ? "0" : number.integerDigits;
    if (!number.fractionDigits.empty()) {
        clean += '.';
        clean += number.fractionDigits;
    }
    if (!number.exponent.empty()) {
        clean += 'e';
        clean += number.exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (DecimalMagnitude(number) >= 0) {
            throw RuntimeError(ErrorCode::Overflow);
        }
        return number.negative ? -0.0 : 0.0;
    }
    return value;
}

std::int32_t ToInt32(double value) {
    if (!std::isfinite(value)) {
        throw RuntimeError(ErrorCode::Overflow);
    }
    const double rounded = std::nearbyint(value);
    constexpr double lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (rounded < lowest || rounded > highest) {
        throw RuntimeError(ErrorCode::Overflow);
    }
    return static_cast<std::int32_t>(rounded);
}

double Power(double base, double exponent) {
    if (base < 0.0 && std::trunc(exponent) != exponent) {
        throw RuntimeError(ErrorCode::InvalidArgument);
    }
    if (base == 0.0) {
        if (exponent < 0.0) {
            throw RuntimeError(ErrorCode::DivisionByZero);
        }
        if (exponent > 0.0) {
            return 0.0;
        }
    }
    return std::pow(base, exponent);
}

void CheckFloatingPoint(double stored) {
    if (!std::isfinite(stored)) {
        throw RuntimeError(ErrorCode::Overflow);
    }
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
