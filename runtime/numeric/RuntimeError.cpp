#include "runtime/numeric/RuntimeError.h"

namespace rt {

const char *Describe(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidArgument:
        return "Invalid procedure call or argument";
    case ErrorCode::Overflow:
        return "Overflow";
    case ErrorCode::OutOfMemory:
        return "Out of memory";
    case ErrorCode::DivisionByZero:
        return "Division by zero";
    case ErrorCode::Internal:
        return "Internal error";
    }
    return "Application-defined or object-defined error";
}

void Raise(ErrorCode code) {
    throw RuntimeError(code);
}

RuntimeError::RuntimeError(ErrorCode code)
    : std::runtime_error(Describe(code))
    , code_(code) {}

} // namespace rt
