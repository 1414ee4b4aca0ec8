#include "history/sitezoom.h"

#include "history/historysql.h"
#include "history/textmatch.h"

#include <algorithm>
#include <cmath>

namespace {

std::string hostKey(const std::string &host)
{
    return textmatch::foldAddress(textmatch::clipped(textmatch::validText(host), 1024));
}

} // namespace

SiteZoom::SiteZoom(HistoryDatabase &db) : m_db(db) {}

double SiteZoom::level(const std::string &host)
{
    double level = 1.0;
    m_db.read([&] {
        Sql query(m_db, "SELECT level FROM site_zoom WHERE host = ?1");
        if (query.bind(1, hostKey(host)).next())
            level = query.real(0);
        return !query.failed();
    });
    // A value edited by hand or damaged on disk never reaches the page.
    return std::isfinite(level) ? std::clamp(level, Lowest, Highest) : 1.0;
}

bool SiteZoom::setLevel(const std::string &host, double level)
{
    if (!std::isfinite(level))
        return false;
    level = std::clamp(level, Lowest, Highest);
    const std::string key = hostKey(host);
    return m_db.write([&] {
        if (std::fabs(level - 1.0) < 1e-9)
            return Sql(m_db, "DELETE FROM site_zoom WHERE host = ?1").bind(1, key).run();
        return Sql(m_db, "INSERT INTO site_zoom(host, level) VALUES(?1, ?2)"
                         " ON CONFLICT(host) DO UPDATE SET level = excluded.level")
            .bind(1, key)
            .bind(2, level)
            .run();
    });
}

bool SiteZoom::clear()
{
    return m_db.write([&] { return Sql(m_db, "DELETE FROM site_zoom").run(); });
}
