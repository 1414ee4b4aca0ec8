#pragma once

#include <string>

// The fixed texts of the favorite commands, row N for favorite button N (1..10).
namespace favoritetexts {

inline constexpr int Count = 10;

// The edit box: its prompt ends in a blank that its title lacks.
std::string editPrompt(int n);
std::string editTitle(int n);
// What follows "You added " + address once an empty slot has been filled.
std::string addedSentence(int n);
// The tooltip of a favorite button whose slot holds nothing.
std::string invitation(int n);

} // namespace favoritetexts
