#include "Numeric.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
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

// A number as the grammar finds it, blanks already skipped: the significant digits as a
// whole number and the power of ten they are scaled by, for the exact fast conversion
// below, and on request the number written out in the form std::from_chars reads
// (optional '-', integer digits, optional '.' and fraction digits, optional 'e' and
// exponent).
struct ScannedNumber {
    bool negative = false;
    bool anyDigit = false;
    std::uint64_t mantissa = 0;
    int significantDigits = 0;      // counted from the first non-zero digit
    long long integerMagnitude = 0; // significant digits before the point
    long long fractionScale = 0;    // minus the number of fraction digits kept in mantissa
    long long leadingFractionZeros = 0;
    long long exponent = 0;
};

// Walks the text by the number grammar, skipping blanks wherever they stand.
class NumberScanner {
public:
    // clean: where to write the number out, or nullptr.
    NumberScanner(std::string_view text, std::string *clean)
        : position_(text.data())
        , end_(text.data() + text.size())
        , clean_(clean) {}

    ScannedNumber Scan() {
        ScannedNumber n;
        if (Peek() == '+' || Peek() == '-') {
            n.negative = Peek() == '-';
            if (n.negative) {
                Write('-');
            }
            Advance();
        }
        while (IsDigit(Peek())) {
            const char c = Take();
            n.anyDigit = true;
            AddSignificant(n, c);
            if (n.significantDigits > 0) {
                ++n.integerMagnitude;
            }
        }
        if (!n.anyDigit) {
            Write('0');
        }
        if (Peek() == '.') {
            Advance();
            Write('.');
            while (IsDigit(Peek())) {
                const char c = Take();
                n.anyDigit = true;
                if (n.significantDigits == 0 && c == '0') {
                    ++n.leadingFractionZeros;
                }
                if (AddSignificant(n, c)) {
                    --n.fractionScale;
                }
            }
        }
        if (!n.anyDigit) {
            return n;
        }
        if (Peek() == 'E' || Peek() == 'e') {
            ScanExponent(n);
        }
        return n;
    }

private:
    // Keeps up to 19 significant digits in the mantissa; reports whether it kept this one.
    static bool AddSignificant(ScannedNumber &n, char c) {
        if (n.significantDigits == 0 && c == '0') {
            return true;
        }
        ++n.significantDigits;
        if (n.significantDigits > 19) {
            return false;
        }
        n.mantissa = n.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        return true;
    }

    void ScanExponent(ScannedNumber &n) {
        const char *mark = position_;
        const std::size_t length = clean_ != nullptr ? clean_->size() : 0;
        Advance();
        Write('e');
        bool negative = false;
        if (Peek() == '+' || Peek() == '-') {
            negative = Peek() == '-';
            Take();
        }
        bool any = false;
        long long exponent = 0;
        while (IsDigit(Peek())) {
            exponent = std::min(ExponentLimit, exponent * 10 + (Take() - '0'));
            any = true;
        }
        if (!any) {
            position_ = mark;
            if (clean_ != nullptr) {
                clean_->resize(length);
            }
            return;
        }
        n.exponent = negative ? -exponent : exponent;
    }

    char Peek() {
        while (position_ != end_ && IsSkipped(*position_)) {
            ++position_;
        }
        return position_ != end_ ? *position_ : '\0';
    }

    void Advance() { ++position_; }

    void Write(char c) const {
        if (clean_ != nullptr) {
            *clean_ += c;
        }
    }

    char Take() {
        const char c = *position_++;
        Write(c);
        return c;
    }

    const char *position_;
    const char *end_;
    std::string *clean_;
};

// Whole numbers below 2^53 and powers of ten up to 10^22 are exact doubles, so one
// multiplication or division of the two rounds correctly: the same double from_chars
// gives, without its cost on the sizes people type.
std::optional<double> ExactFastConversion(const ScannedNumber &n) {
    constexpr std::uint64_t exactLimit = std::uint64_t{1} << 53;
    constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n.significantDigits > 19 || n.mantissa > exactLimit) {
        return std::nullopt;
    }
    const long long scale = n.fractionScale + n.exponent;
    double value = static_cast<double>(n.mantissa);
    if (n.mantissa == 0) {
        value = 0.0;
    } else if (scale >= 0 && scale <= 22) {
        value *= powers[scale];
    } else if (scale < 0 && scale >= -22) {
        value /= powers[-scale];
    } else {
        return std::nullopt;
    }
    return n.negative ? -value : value;
}

// The power of ten of the number's leading significant digit. Only consulted when
// from_chars reports a value out of range, to tell an overflow (an error) from an
// underflow (zero).
long long DecimalMagnitude(const ScannedNumber &n) {
    const long long position =
        n.integerMagnitude > 0 ? n.integerMagnitude - 1 : -n.leadingFractionZeros - 1;
    return position + n.exponent;
}

// The text people type most: blanks and at most 15 digits, nothing else. Such a number
// is a whole number below 2^53, exact as a double; anything else takes the full grammar.
std::optional<double> PlainWholeNumber(std::string_view text) {
    std::uint64_t value = 0;
    int digits = 0;
    for (const char c : text) {
        const auto digit = static_cast<unsigned char>(c - '0');
        if (digit < 10) {
            value = value * 10 + digit;
            ++digits;
        } else if (!IsSkipped(c)) {
            return std::nullopt;
        }
    }
    if (digits > 15) {
        return std::nullopt;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

} // namespace

double Val(std::string_view text) {
    if (const std::optional<double> plain = PlainWholeNumber(text)) {
        return *plain;
    }
    const ScannedNumber number = NumberScanner(text, nullptr).Scan();
    if (!number.anyDigit) {
        return 0.0;
    }
    if (const std::optional<double> fast = ExactFastConversion(number)) {
        return *fast;
    }
    std::string clean;
    NumberScanner(text, &clean).Scan();
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
