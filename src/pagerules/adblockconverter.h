#pragma once

#include "pagerules/abprule.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Turns lists in Adblock Plus text form into the page engine's content-blocker
// rules (a JSON array), in the order the engine needs: blocks, the exceptions
// that undo them, the rules that outrank exceptions, element hiding, and the
// exceptions for whole pages last. Rules the engine cannot express are
// skipped and counted.
class AdblockConverter
{
public:
    // The most rules the engine compiles in one filter.
    static constexpr std::size_t MostRules = 150000;
    // Longer lines are not rules anyone wrote: skipped.
    static constexpr std::size_t LongestLine = 4096;

    struct Counts
    {
        std::size_t used = 0;
        std::size_t skipped = 0;
    };

    // Without generic hiding, `##selector` rules for every site are skipped
    // (and counted): the engine makes of them one style sheet that every page
    // process holds and every page's elements are matched against.
    explicit AdblockConverter(bool genericHiding = true) : m_genericHiding(genericHiding) {}

    // Adds one list. A list that would take the rules past MostRules is
    // skipped whole, its rules counted as skipped.
    void addList(std::string_view text);
    // Every rule of the lists added, each a JSON object of the engine's;
    // `counts` gets the rules used (these) and skipped.
    std::vector<std::string> rules(Counts *counts = nullptr) const;
    // The same rules as one JSON array.
    std::string json(Counts *counts = nullptr) const;

    // Changes whenever the same lists would give other rules.
    static constexpr int Version = 2;

private:
    struct ListRules;
    struct Hiding
    {
        std::vector<std::string> hosts;
        std::vector<std::string> exceptHosts;
    };

    // Network rules, rendered, by stage; element hiding by selector, in the
    // order first seen, with the hosts where an exception lets it be.
    std::map<abprule::Stage, std::vector<std::string>> m_network;
    std::vector<std::string> m_selectors;
    std::map<std::string, std::vector<Hiding>> m_hiding;
    std::map<std::string, std::vector<std::string>> m_hidingExceptions;
    bool m_genericHiding = true;
    std::size_t m_accepted = 0;
    std::size_t m_skipped = 0;
};
