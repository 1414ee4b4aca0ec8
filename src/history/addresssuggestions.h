#pragma once

#include "history/textmatch.h"

#include <cstdint>
#include <string>
#include <vector>

class HistoryDatabase;

struct Suggestion
{
    std::string address;
    std::string title;
    std::int64_t visitCount = 0;
    std::int64_t lastVisit = 0; // microseconds since the Unix epoch
    // Where the typed words are, in bytes of address and title, for bold.
    std::vector<textmatch::Range> inAddress;
    std::vector<textmatch::Range> inTitle;
};

// What the address bar offers while the user types: visited addresses whose
// address or title holds every word typed, the most visited first and, among
// equals, the most recently visited. Text of one or two letters is looked for
// among the thousand best-ranked addresses, longer text among all.
class AddressSuggestions
{
public:
    explicit AddressSuggestions(HistoryDatabase &db);

    static constexpr std::size_t MaxShown = 8;

    std::vector<Suggestion> find(const std::string &typed, std::size_t limit = MaxShown);

private:
    HistoryDatabase &m_db;
};
