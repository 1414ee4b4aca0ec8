#pragma once

#include "history/historydatabase.h"

#include <cstdint>
#include <glibmm/timezone.h>
#include <string>
#include <vector>

struct Visit
{
    std::int64_t id = 0;
    std::string address;
    std::string title;
    std::int64_t time = 0; // microseconds since the Unix epoch
};

// The visits of one local day, in the order they were given.
struct HistoryDay
{
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;
    std::vector<Visit> visits;
};

// The pages the user reached: one row per visit, and per address its title,
// how often and when last it was visited (what suggestions rank by). A title
// belongs to the address, so a visit shows the page's latest title.
class HistoryStore
{
public:
    explicit HistoryStore(HistoryDatabase &db);

    // Addresses longer than this are not kept (they are data: pages, not places).
    static constexpr std::size_t MaxAddress = 65536;

    // Records a visit in one short transaction; its id, or 0 when it could
    // not be kept. Text is kept as valid UTF-8, a title cut to 4 KiB.
    std::int64_t recordVisit(const std::string &address, const std::string &title = std::string(),
                             std::int64_t time = HistoryDatabase::now());
    // The page's title, when it arrives after the visit was recorded.
    bool setTitle(std::int64_t visit, const std::string &title);

    // Newest first, at most `limit`, whose address or title holds every word
    // of `search` (all visits when it is blank); after `after` when given,
    // for the next page of a long list.
    std::vector<Visit> visits(const std::string &search = std::string(), std::size_t limit = 1000,
                              const Visit *after = nullptr);

    // Deletes the visits; an address none is left of is forgotten with them.
    bool remove(const std::vector<std::int64_t> &visits);
    // Deletes every visit and address.
    bool clear();

    // The visits in runs of one local day each (in `zone`), in the order given.
    static std::vector<HistoryDay> byDay(const std::vector<Visit> &visits,
                                         const Glib::TimeZone &zone = Glib::TimeZone::create_local());

private:
    HistoryDatabase &m_db;
};
