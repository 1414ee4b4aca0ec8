#pragma once

#include <cstddef>
#include <string>

// A page's text as the program shows it in a question of its own.
namespace showntext {

// The most of a page's text a question shows.
inline constexpr std::size_t MostCharacters = 3000;

// At most `most` characters, cut between characters, and saying so when it was cut.
std::string cut(const std::string &text, std::size_t most = MostCharacters);

} // namespace showntext
