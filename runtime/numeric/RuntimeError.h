#pragma once

#include <stdexcept>
#include <string>

namespace rt {

// The error numbers and texts a user of the classic forms runtime knows; every
// failure of the numeric operations and of the forms layer maps onto one of them.
enum class ErrorCode : int {
    InvalidArgument = 5,
    Overflow = 6,
    OutOfMemory = 7,
    DivisionByZero = 11,
    Internal = 51,
};

const char *Describe(ErrorCode code);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(ErrorCode code);

    ErrorCode code() const { return code_; }
    int number() const { return static_cast<int>(code_); }
    std::string description() const { return Describe(code_); }
    // The first line of the report: "Run-time error '6':".
    std::string heading() const { return "Run-time error '" + std::to_string(number()) + "':"; }

private:
    ErrorCode code_;
};

// Throws the run-time error; kept out of line so the checks that call it stay small.
[[noreturn]] void Raise(ErrorCode code);

} // namespace rt
