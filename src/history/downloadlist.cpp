#include "history/downloadlist.h"

#include "history/historysql.h"
#include "history/textmatch.h"

#include <glib.h>
#include <glibmm/main.h>

namespace {

const char *stateName(DownloadState state)
{
    switch (state) {
    case DownloadState::Running:
        return "running";
    case DownloadState::Finished:
        return "finished";
    case DownloadState::Failed:
        return "failed";
    case DownloadState::Cancelled:
        return "cancelled";
    }
    return "failed";
}

DownloadState stateNamed(const std::string &name)
{
    for (DownloadState state : {DownloadState::Running, DownloadState::Finished, DownloadState::Cancelled})
        if (name == stateName(state))
            return state;
    return DownloadState::Failed;
}

// Paths are the file system's bytes; kept as valid text like everything here.
std::string kept(const std::string &text)
{
    return textmatch::clipped(textmatch::validText(text), 65536);
}

} // namespace

std::string DownloadRecord::site() const
{
    GUri *uri = g_uri_parse(source.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!uri)
        return {};
    gchar *host = g_ascii_strdown(g_uri_get_host(uri) ? g_uri_get_host(uri) : "", -1);
    std::string result = host;
    g_free(host);
    g_uri_unref(uri);
    return result;
}

DownloadList::DownloadList(HistoryDatabase &db) : m_db(db) {}

DownloadList::~DownloadList()
{
    flush();
}

std::int64_t DownloadList::add(const std::string &fileName, const std::string &path, const std::string &source,
                               std::int64_t size, std::int64_t started)
{
    std::int64_t id = 0;
    const bool ok = m_db.write([&] {
        Sql added(m_db, "INSERT INTO downloads(file_name, path, source, size, received, state, started)"
                        " VALUES(?1, ?2, ?3, ?4, 0, 'running', ?5) RETURNING id");
        added.bind(1, kept(fileName)).bind(2, kept(path)).bind(3, kept(source)).bind(4, size).bind(5, started);
        id = added.next() ? added.integer(0) : 0;
        return added.run() && id != 0;
    });
    return ok ? id : 0;
}

bool DownloadList::setDestination(std::int64_t id, const std::string &fileName, const std::string &path)
{
    return m_db.write([&] {
        return Sql(m_db, "UPDATE downloads SET file_name = ?2, path = ?3 WHERE id = ?1")
            .bind(1, id)
            .bind(2, kept(fileName))
            .bind(3, kept(path))
            .run();
    });
}

void DownloadList::progress(std::int64_t id, std::int64_t received, std::int64_t size)
{
    m_pending[id] = {received, size};
    if (!m_timer.connected())
        m_timer = Glib::signal_timeout().connect(sigc::mem_fun(*this, &DownloadList::writeProgress),
                                                 ProgressIntervalMs);
}

bool DownloadList::writeProgress()
{
    flush();
    return false;
}

bool DownloadList::flush()
{
    m_timer.disconnect();
    if (m_pending.empty())
        return true;
    const bool ok = m_db.write([&] {
        for (const auto &[id, progress] : m_pending) {
            Sql update(m_db, "UPDATE downloads SET received = ?2, size = ?3 WHERE id = ?1 AND state = 'running'");
            if (!update.bind(1, id).bind(2, progress.received).bind(3, progress.size).run())
                return false;
        }
        return true;
    });
    // Progress that could not be written is dropped: the next will carry it.
    m_pending.clear();
    return ok;
}

bool DownloadList::end(std::int64_t id, DownloadState state, std::int64_t received, std::int64_t size,
                       std::int64_t ended)
{
    m_pending.erase(id);
    return m_db.write([&] {
        return Sql(m_db, "UPDATE downloads SET state = ?2, received = ?3, size = ?4, ended = ?5 WHERE id = ?1")
            .bind(1, id)
            .bind(2, std::string(stateName(state)))
            .bind(3, received)
            .bind(4, size)
            .bind(5, state == DownloadState::Running ? std::int64_t(0) : ended)
            .run();
    });
}

std::vector<DownloadRecord> DownloadList::list()
{
    flush();
    std::vector<DownloadRecord> found;
    m_db.read([&] {
        found.clear();
        Sql query(m_db, "SELECT id, file_name, path, source, size, received, state, started, ended"
                        " FROM downloads ORDER BY started DESC, id DESC");
        while (query.next())
            found.push_back({query.integer(0), query.text(1), query.text(2), query.text(3), query.integer(4),
                             query.integer(5), stateNamed(query.text(6)), query.integer(7), query.integer(8)});
        return !query.failed();
    });
    return found;
}

bool DownloadList::remove(const std::vector<std::int64_t> &ids)
{
    for (std::int64_t id : ids)
        m_pending.erase(id);
    return m_db.write([&] {
        for (std::int64_t id : ids) {
            if (!Sql(m_db, "DELETE FROM downloads WHERE id = ?1").bind(1, id).run())
                return false;
        }
        return true;
    });
}

bool DownloadList::removeEnded()
{
    return m_db.write([&] { return Sql(m_db, "DELETE FROM downloads WHERE state <> 'running'").run(); });
}
