#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The codes Model and Mode take once chosen. After the wizard's three models come COCOMO
// II's two, which only the command line estimates with.
namespace Models {
inline constexpr std::int16_t Basic = 1;
inline constexpr std::int16_t Intermediate = 2;
inline constexpr std::int16_t Advanced = 3;
inline constexpr std::int16_t PostArchitecture = 4;
inline constexpr std::int16_t EarlyDesign = 5;
} // namespace Models

namespace Modes {
inline constexpr std::int16_t Organic = 1;
inline constexpr std::int16_t Semidetached = 2;
inline constexpr std::int16_t Embedded = 3;
} // namespace Modes

namespace engine {

// A model or a mode: its code, what the results call it, and the word that names it on the
// command line, with another word taken for it too where there is one.
struct Name {
    std::int16_t code;
    std::string_view shown;
    std::string_view word;
    std::string_view alsoWord{};
};

// By their codes, from 1. The results write the Semidetached mode with a hyphen.
inline constexpr std::array<Name, 5> ModelNames{{
    {Models::Basic, "Basic", "basic"},
    {Models::Intermediate, "Intermediate", "intermediate"},
    {Models::Advanced, "Advanced", "advanced"},
    {Models::PostArchitecture, "COCOMO II Post-Architecture", "cocomo2"},
    {Models::EarlyDesign, "COCOMO II Early Design", "cocomo2-early"},
}};
inline constexpr std::array<Name, 3> ModeNames{{
    {Modes::Organic, "Organic", "organic"},
    {Modes::Semidetached, "Semi-detached", "semidetached", "semi-detached"},
    {Modes::Embedded, "Embedded", "embedded"},
}};

// What each mode stands for, by its code from 1.
inline constexpr std::array<std::string_view, 3> ModeMeanings{
    "a small team on familiar, in-house work, requirements flexible",
    "a team of mixed experience, requirements partly rigid",
    "tight constraints of hardware, software and operations"};

// The name of a model's or mode's code, which the caller knows to be one of the table's.
template <std::size_t N>
constexpr const Name &NameOf(const std::array<Name, N> &names, std::int16_t code) {
    return names[static_cast<std::size_t>(code - 1)];
}

// The command line's words of the table, in the order of the codes; with also, the other
// word taken for each, its word where it has no other.
template <std::size_t N>
constexpr std::array<std::string_view, N> WordsOf(const std::array<Name, N> &names,
                                                  bool also = false) {
    std::array<std::string_view, N> words{};
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = also && !names[i].alsoWord.empty() ? names[i].alsoWord : names[i].word;
    }
    return words;
}

} // namespace engine
