#include "history/historystore.h"

#include "history/historysql.h"
#include "history/textmatch.h"

#include <glibmm/datetime.h>

#include <algorithm>
#include <limits>

namespace {

const std::size_t MaxTitle = 4096;

const char *const AllVisits =
    "SELECT v.id, p.address, p.title, v.time FROM visits v JOIN places p ON p.id = v.place"
    " WHERE (v.time, v.id) < (?1, ?2) ORDER BY v.time DESC, v.id DESC";
// The newest visits are looked through first: a word common enough to fill
// the page among them needs nothing more. Otherwise the three-letter index
// narrows the rows to those that may hold every word (for words of one or
// two letters, all addresses are read). Every word is checked on each row.
const std::int64_t NewestFirst = 5000;
const char *const RecentMatchingVisits =
    "SELECT v.id, p.address, p.title, v.time FROM"
    " (SELECT id, place, time FROM visits WHERE (time, id) < (?1, ?2) ORDER BY time DESC, id DESC LIMIT ?5) v"
    " JOIN places p ON p.id = v.place WHERE p.address LIKE ?3 ESCAPE '\\' OR instr(p.title_key, ?4) > 0"
    " ORDER BY v.time DESC, v.id DESC";
// A few addresses' visits are sorted; many addresses' visits are walked
// newest first instead, which stops once the page is full.
const std::int64_t FewAddresses = 2000;
const char *const CountMatchingAddresses = "SELECT count(*) FROM place_grams WHERE place_grams MATCH ?1";
const char *const MatchingVisits =
    "SELECT v.id, p.address, p.title, v.time FROM visits v JOIN places p ON p.id = v.place"
    " WHERE (v.time, v.id) < (?1, ?2) AND v.place IN (SELECT rowid FROM place_grams WHERE place_grams MATCH ?3)"
    " ORDER BY v.time DESC, v.id DESC";
const char *const ManyMatchingVisits =
    "SELECT v.id, p.address, p.title, v.time FROM visits v INDEXED BY visits_time JOIN places p ON p.id = v.place"
    " WHERE (v.time, v.id) < (?1, ?2) AND v.place IN (SELECT rowid FROM place_grams WHERE place_grams MATCH ?3)"
    " ORDER BY v.time DESC, v.id DESC";
const char *const MatchingVisitsShort =
    "SELECT v.id, p.address, p.title, v.time FROM visits v JOIN places p ON p.id = v.place"
    " WHERE (v.time, v.id) < (?1, ?2) AND v.place IN"
    " (SELECT id FROM places WHERE address LIKE ?3 ESCAPE '\\' OR instr(title_key, ?4) > 0)"
    " ORDER BY v.time DESC, v.id DESC";

} // namespace

HistoryStore::HistoryStore(HistoryDatabase &db) : m_db(db) {}

std::int64_t HistoryStore::recordVisit(const std::string &address, const std::string &title, std::int64_t time)
{
    const std::string kept = textmatch::validText(address);
    if (kept.empty() || kept.size() > MaxAddress)
        return 0;
    const std::string keptTitle = textmatch::clipped(textmatch::validText(title), MaxTitle);
    std::int64_t visit = 0;
    const bool ok = m_db.write([&] {
        // A known address is counted; its index entry is only redone when its title changes.
        std::int64_t place = 0;
        std::string knownTitle;
        {
            Sql seen(m_db, "UPDATE places SET visit_count = visit_count + 1, last_visit = max(last_visit, ?2)"
                           " WHERE address = ?1 RETURNING id, title");
            if (seen.bind(1, kept).bind(2, time).next()) {
                place = seen.integer(0);
                knownTitle = seen.text(1);
            }
            if (!seen.run())
                return false;
        }
        if (place && !keptTitle.empty() && keptTitle != knownTitle) {
            Sql renamed(m_db, "UPDATE places SET title = ?2, title_key = ?3 WHERE id = ?1");
            if (!renamed.bind(1, place).bind(2, keptTitle).bind(3, textmatch::foldTitle(keptTitle)).run())
                return false;
        } else if (!place) {
            Sql added(m_db, "INSERT INTO places(address, title, title_key, visit_count, last_visit)"
                            " VALUES(?1, ?2, ?3, 1, ?4) RETURNING id");
            added.bind(1, kept).bind(2, keptTitle).bind(3, textmatch::foldTitle(keptTitle)).bind(4, time);
            place = added.next() ? added.integer(0) : 0;
            if (!added.run() || !place)
                return false;
        }
        Sql added(m_db, "INSERT INTO visits(place, time) VALUES(?1, ?2) RETURNING id");
        added.bind(1, place).bind(2, time);
        visit = added.next() ? added.integer(0) : 0;
        return added.run() && visit != 0;
    });
    return ok ? visit : 0;
}

bool HistoryStore::setTitle(std::int64_t visit, const std::string &title)
{
    const std::string kept = textmatch::clipped(textmatch::validText(title), MaxTitle);
    bool found = false;
    const bool ok = m_db.write([&] {
        Sql update(m_db, "UPDATE places SET title = ?1, title_key = ?2"
                         " WHERE id = (SELECT place FROM visits WHERE id = ?3) RETURNING id");
        update.bind(1, kept).bind(2, textmatch::foldTitle(kept)).bind(3, visit);
        found = update.next();
        return update.run();
    });
    return ok && found;
}

std::vector<Visit> HistoryStore::visits(const std::string &search, std::size_t limit, const Visit *after)
{
    const std::vector<std::string> words = textmatch::words(search);
    std::string narrowest;
    for (const std::string &word : words)
        narrowest = word.size() > narrowest.size() ? word : narrowest;
    const std::string grams = textmatch::trigramQuery(words);
    const std::int64_t last = std::numeric_limits<std::int64_t>::max();
    std::vector<Visit> found;
    auto take = [&](const char *sql) {
        found.clear();
        Sql query(m_db, sql);
        query.bind(1, after ? after->time : last).bind(2, after ? after->id : last);
        if (sql == MatchingVisits || sql == ManyMatchingVisits)
            query.bind(3, grams);
        else if (sql != AllVisits)
            query.bind(3, textmatch::likePattern(textmatch::foldAddress(narrowest)))
                .bind(4, textmatch::foldTitle(narrowest));
        if (sql == RecentMatchingVisits)
            query.bind(5, NewestFirst);
        while (found.size() < limit && query.next()) {
            Visit visit{query.integer(0), query.text(1), query.text(2), query.integer(3)};
            if (words.empty() || textmatch::matchAll(visit.address, visit.title, words))
                found.push_back(std::move(visit));
        }
        return !query.failed();
    };
    m_db.read([&] {
        if (words.empty())
            return take(AllVisits);
        if (!take(RecentMatchingVisits))
            return false;
        if (found.size() >= limit)
            return true;
        if (grams.empty())
            return take(MatchingVisitsShort);
        Sql count(m_db, CountMatchingAddresses);
        const std::int64_t addresses = count.bind(1, grams).next() ? count.integer(0) : 0;
        return !count.failed() && take(addresses > FewAddresses ? ManyMatchingVisits : MatchingVisits);
    });
    return found;
}

bool HistoryStore::remove(const std::vector<std::int64_t> &visits)
{
    return m_db.write([&] {
        std::vector<std::int64_t> places;
        for (std::int64_t visit : visits) {
            Sql gone(m_db, "DELETE FROM visits WHERE id = ?1 RETURNING place");
            gone.bind(1, visit);
            if (gone.next())
                places.push_back(gone.integer(0));
            if (!gone.run())
                return false;
        }
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());
        for (std::int64_t place : places) {
            Sql forget(m_db, "DELETE FROM places WHERE id = ?1 AND NOT EXISTS (SELECT 1 FROM visits WHERE place = ?1)");
            Sql recount(m_db, "UPDATE places SET visit_count = (SELECT count(*) FROM visits WHERE place = ?1),"
                              " last_visit = (SELECT coalesce(max(time), 0) FROM visits WHERE place = ?1)"
                              " WHERE id = ?1");
            if (!forget.bind(1, place).run() || !recount.bind(1, place).run())
                return false;
        }
        return true;
    });
}

bool HistoryStore::clear()
{
    // The index is emptied at once rather than address by address.
    const bool ok = m_db.write([&] {
        return m_db.script("DROP TRIGGER places_removed; DELETE FROM visits; DELETE FROM places;"
                           " INSERT INTO place_grams(place_grams) VALUES('delete-all');")
               && m_db.script(HistoryDatabase::PlaceRemovedTrigger);
    });
    if (ok)
        m_db.compact();
    return ok;
}

std::vector<HistoryDay> HistoryStore::byDay(const std::vector<Visit> &visits, const Glib::TimeZone &zone)
{
    std::vector<HistoryDay> days;
    for (const Visit &visit : visits) {
        // Whole seconds, rounded down also before 1970.
        const std::int64_t seconds = visit.time >= 0 ? visit.time / 1000000 : -((-visit.time + 999999) / 1000000);
        const Glib::DateTime utc = Glib::DateTime::create_now_utc(seconds);
        const Glib::DateTime local = utc ? utc.to_timezone(zone) : utc;
        // A time GLib cannot show (before year 1, after 9999) has a day of its own.
        const int year = local ? local.get_year() : 0;
        const int month = local ? local.get_month() : 0;
        const int day = local ? local.get_day_of_month() : 0;
        if (days.empty() || days.back().year != year || days.back().month != month || days.back().day != day)
            days.push_back({year, month, day, {}});
        days.back().visits.push_back(visit);
    }
    return days;
}
