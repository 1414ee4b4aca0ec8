#pragma once

#include <string>
#include <vector>

// The search engines the program knows: how an engine id and the words typed
// into the search box become query addresses, and where the engine tabs go.
// Everything here is a pure function of its arguments.
namespace enginecatalogue {

// The engine searched while no choice is stored.
inline const std::string DefaultEngine = "google";

// One row of the catalogue, complete: the query it builds and, when an engine
// tab searches this row, that tab.
struct EngineRow
{
    std::string id;
    std::string host;
    std::string pathAndQuery;
    std::string suffix;
    struct Tab
    {
        // 2..10, or 0 when no tab opens this row.
        int position = 0;
        std::string caption;
        // Where the tab goes when the search box is empty.
        std::string frontPage;
    } tab;
};

// The 20 rows in order. Ids are not unique: an id with two rows searches twice.
const std::vector<EngineRow> &rows();

// The keywords as a query value: UTF-8, everything outside the unreserved
// characters percent-encoded, so "C++", "AT&T" or "50% off" reach the engine
// as typed.
std::string encodeKeywords(const std::string &text);

// The query address of one row for the typed text.
std::string queryAddress(const EngineRow &row, const std::string &text);

// Every row whose id equals engineId exactly, in table order. An id no row
// carries (including one that differs only in case) gives none.
std::vector<std::string> queryAddresses(const std::string &engineId, const std::string &text);

// The nine rows with a tab, in the order their targets are rebuilt: tab
// positions 3 to 10, then 2.
std::vector<const EngineRow *> engineTabs();

// The captions of tabs 2 to 10, in tab order.
std::vector<std::string> tabCaptions();

// A tab's target: the search for the text, or the front page when the text is
// empty (only the empty string counts: blanks are words to search for).
std::string tabTarget(const EngineRow &row, const std::string &text);

} // namespace enginecatalogue
