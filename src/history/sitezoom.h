#pragma once

#include <string>

class HistoryDatabase;

// The zoom the user chose per site (per host, letters compared without case),
// kept across restarts. 100% is not stored: a site without a row has it.
// Deleting the history leaves these alone: a zoom level is a setting the user
// made on purpose, like a favorite, not a trace of browsing.
class SiteZoom
{
public:
    explicit SiteZoom(HistoryDatabase &db);

    static constexpr double Lowest = 0.25;
    static constexpr double Highest = 5.0;

    // The level for the host, 1.0 when none was chosen.
    double level(const std::string &host);
    // Keeps the level (within Lowest and Highest); 1.0 forgets the host.
    bool setLevel(const std::string &host, double level);
    // Forgets every site's level.
    bool clear();

private:
    HistoryDatabase &m_db;
};
