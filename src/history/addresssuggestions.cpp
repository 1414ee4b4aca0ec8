#include "history/addresssuggestions.h"

#include "history/historydatabase.h"
#include "history/historysql.h"

#include <algorithm>

namespace {

// The best-ranked addresses are looked through first: a word common enough
// to be found among them needs nothing more. A rarer one is looked up in the
// three-letter index, which finds its few rows among any number.
const std::int64_t RankedFirst = 1000;
const char *const AmongTheFirst =
    "SELECT address, title, visit_count, last_visit FROM"
    " (SELECT address, title, title_key, visit_count, last_visit FROM places INDEXED BY places_rank"
    "  ORDER BY visit_count DESC, last_visit DESC LIMIT ?3)"
    " WHERE address LIKE ?1 ESCAPE '\\' OR instr(title_key, ?2) > 0 ORDER BY visit_count DESC, last_visit DESC";
const char *const AmongAll = "SELECT address, title, visit_count, last_visit FROM places"
                             " WHERE id IN (SELECT rowid FROM place_grams WHERE place_grams MATCH ?1)"
                             " ORDER BY visit_count DESC, last_visit DESC";

} // namespace

AddressSuggestions::AddressSuggestions(HistoryDatabase &db) : m_db(db) {}

std::vector<Suggestion> AddressSuggestions::find(const std::string &typed, std::size_t limit)
{
    const std::vector<std::string> words = textmatch::words(typed);
    std::vector<Suggestion> found;
    if (words.empty() || limit == 0)
        return found;
    // The longest word narrows the rows in the database; every word is then
    // looked for in each, which also gives where to show it in bold.
    const std::string &narrowest = *std::max_element(
        words.begin(), words.end(), [](const std::string &a, const std::string &b) { return a.size() < b.size(); });
    const std::string grams = textmatch::trigramQuery(words);
    auto take = [&](Sql &query) {
        found.clear();
        while (found.size() < limit && query.next()) {
            Suggestion suggestion{query.text(0), query.text(1), query.integer(2), query.integer(3), {}, {}};
            if (textmatch::matchAll(suggestion.address, suggestion.title, words, &suggestion.inAddress,
                                    &suggestion.inTitle))
                found.push_back(std::move(suggestion));
        }
        return !query.failed();
    };
    m_db.read([&] {
        {
            Sql first(m_db, AmongTheFirst);
            first.bind(1, textmatch::likePattern(textmatch::foldAddress(narrowest)))
                .bind(2, textmatch::foldTitle(narrowest))
                .bind(3, RankedFirst);
            if (!take(first))
                return false;
        }
        // One or two letters are looked for among the best-ranked only.
        if (found.size() >= limit || grams.empty())
            return true;
        Sql all(m_db, AmongAll);
        all.bind(1, grams);
        return take(all);
    });
    return found;
}
