// Differential fuzzing of the size reader and the whole-number conversion against the
// reference reader: the same double bit for bit, the same overflow decision, the same
// rounded whole number or overflow.
#include "runtime/numeric/Numeric.h"
#include "runtime/numeric/RuntimeError.h"
#include "tests/robustness/ReferenceNumber.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

std::optional<double> ProgramVal(std::string_view text) {
    try {
        return rt::Val(text);
    } catch (const rt::RuntimeError &error) {
        if (error.code() != rt::ErrorCode::Overflow) {
            std::fprintf(stderr, "Val raised error %d\n", error.number());
            std::abort();
        }
        return std::nullopt;
    }
}

std::optional<std::int32_t> ProgramToInt32(double value) {
    try {
        return rt::ToInt32(value);
    } catch (const rt::RuntimeError &error) {
        if (error.code() != rt::ErrorCode::Overflow) {
            std::fprintf(stderr, "ToInt32 raised error %d\n", error.number());
            std::abort();
        }
        return std::nullopt;
    }
}

void CheckToInt32(double value) {
    const std::optional<std::int32_t> program = ProgramToInt32(value);
    const std::optional<std::int32_t> reference = reference::RoundToInt32(value);
    if (program != reference) {
        std::fprintf(stderr, "ToInt32(%.17g): program %s%d, reference %s%d\n", value,
                     program ? "" : "overflow ", program.value_or(0), reference ? "" : "overflow ",
                     reference.value_or(0));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<double> program = ProgramVal(text);
    const reference::Reading reference = reference::Read(text);
    const bool sameOutcome =
        program ? !reference.overflow && std::bit_cast<std::uint64_t>(*program) ==
                                             std::bit_cast<std::uint64_t>(reference.value)
                : reference.overflow;
    if (!sameOutcome) {
        std::fprintf(stderr, "Val(\"%.*s\"): program %s%.17g, reference %s%.17g (clean \"%s\")\n",
                     static_cast<int>(size), text.data(), program ? "" : "overflow ",
                     program.value_or(0.0), reference.overflow ? "overflow " : "", reference.value,
                     reference::CleanNumber(text).c_str());
        std::abort();
    }
    if (program) {
        CheckToInt32(*program);
    }
    // The raw bytes as a double reach the conversion with NaNs, infinities and every
    // magnitude, which no typed text produces.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        CheckToInt32(raw);
    }
    return 0;
}
