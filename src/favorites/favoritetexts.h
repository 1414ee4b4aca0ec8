#pragma once

#include <QString>

// The fixed texts of the favorite commands, row N for favorite button N (1..10).
namespace favoritetexts {

inline constexpr int Count = 10;

// The edit box: its prompt ends in a blank that its title lacks.
QString editPrompt(int n);
QString editTitle(int n);
// What follows "You added " + address once an empty slot has been filled.
QString addedSentence(int n);
// The tooltip of a favorite button whose slot holds nothing.
QString invitation(int n);

} // namespace favoritetexts
