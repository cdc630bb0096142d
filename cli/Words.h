#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cli {

// A word of the user's, or of a file's, as a message shows it: control characters written
// as \xNN, so that a message stays one line; with asciiOnly, every byte beyond ASCII too, for
// text that need not be UTF-8. Quoted puts it in single quotes.
std::string Shown(std::string_view word, bool asciiOnly = false);
std::string Quoted(std::string_view word);

// A CSV field: quoted where it holds a separator, a quote or a line break.
std::string CsvQuoted(const std::string &text);

// "a, b, c".
std::string Joined(std::span<const std::string_view> names);

// Whether two names are the same but for the case of their letters.
bool SameName(std::string_view a, std::string_view b);

} // namespace cli
