#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace engine {

// What the estimate's model and mode are called where its figures are shown, by their codes
// less one. The results write the Semidetached mode with a hyphen.
inline constexpr std::array<std::string_view, 3> ModelNames{"Basic", "Intermediate", "Advanced"};
inline constexpr std::array<std::string_view, 3> ModeNames{"Organic", "Semi-detached", "Embedded"};

} // namespace engine
