#pragma once

#include "history/historydatabase.h"

#include <cstdint>
#include <map>
#include <sigc++/sigc++.h>
#include <string>
#include <vector>

enum class DownloadState { Running, Finished, Failed, Cancelled };

struct DownloadRecord
{
    std::int64_t id = 0;
    std::string fileName;
    std::string path;
    std::string source;      // the address it came from
    std::int64_t size = -1;  // bytes, -1 while unknown
    std::int64_t received = 0;
    DownloadState state = DownloadState::Running;
    std::int64_t started = 0; // microseconds since the Unix epoch
    std::int64_t ended = 0;   // 0 while it runs

    // The host of the source address ("" when it has none), to show as its site.
    std::string site() const;
};

// The downloads of this run and earlier ones. Progress arrives many times a
// second: it is kept here and written at most twice a second, all running
// downloads in one transaction; an end is written at once. A download the
// program did not see end (it was killed) reads as failed at the next open.
class DownloadList : public sigc::trackable
{
public:
    explicit DownloadList(HistoryDatabase &db);
    ~DownloadList();

    static constexpr unsigned ProgressIntervalMs = 500;

    // A running download; its id, or 0 when it could not be kept.
    std::int64_t add(const std::string &fileName, const std::string &path, const std::string &source,
                     std::int64_t size = -1, std::int64_t started = HistoryDatabase::now());
    // Where it lands, once known (or changed to avoid a clash).
    bool setDestination(std::int64_t id, const std::string &fileName, const std::string &path);
    void progress(std::int64_t id, std::int64_t received, std::int64_t size);
    // Finished, failed or cancelled, with what had arrived.
    bool end(std::int64_t id, DownloadState state, std::int64_t received, std::int64_t size,
             std::int64_t ended = HistoryDatabase::now());

    // Newest first.
    std::vector<DownloadRecord> list();
    // Forgets entries (the files stay where they are).
    bool remove(const std::vector<std::int64_t> &ids);
    // Forgets every entry that is not running.
    bool removeEnded();

    // Writes the progress kept back; true when nothing is left unwritten.
    bool flush();

private:
    struct Progress
    {
        std::int64_t received;
        std::int64_t size;
    };

    bool writeProgress();

    HistoryDatabase &m_db;
    std::map<std::int64_t, Progress> m_pending;
    sigc::connection m_timer;
};
