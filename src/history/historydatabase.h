#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <sigc++/sigc++.h>
#include <string>
#include <unordered_map>

typedef struct sqlite3 sqlite3;
typedef struct sqlite3_stmt sqlite3_stmt;

// The file that keeps where the user has been, what they downloaded and the
// zoom they chose per site, so all three survive a restart: one SQLite
// database beside the engine's own data, written by one connection on the
// main thread in short transactions (WAL, synchronous=NORMAL: a commit
// survives a killed process; the journal keeps the file whole at any moment).
//
// It is opened on first use, never at start. Opening reads no more than the
// header and the schema, so its cost does not grow with the history; the
// whole file is checked (quick_check) by a worker thread with a connection of
// its own. A damaged file, found then or by any statement, is renamed aside
// with the time in its name and a fresh one is made; a file that cannot be
// written (a read-only folder, a folder in its place) is left alone and the
// history lives in memory for the session. Either way the user is told once
// through problemFound, and nothing refuses to start.
class HistoryDatabase : public sigc::trackable
{
public:
    explicit HistoryDatabase(std::string path = defaultPath());
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase &) = delete;
    HistoryDatabase &operator=(const HistoryDatabase &) = delete;

    // $XDG_DATA_HOME/Velmora/Skimlark/history.sqlite
    static std::string defaultPath();
    // Microseconds since the Unix epoch, as every time in the database.
    static std::int64_t now();

    const std::string &path() const { return m_path; }

    enum class Mode { Closed, File, SessionOnly };
    // Opens the database unless it is open; the stores call it on first use.
    // False only when not even the session's memory database could be made.
    bool open();
    Mode mode() const { return m_mode; }
    // The worker has given its verdict on the file open now (whole, or damaged
    // and set aside); always true for a session-only database.
    bool checked() const;

    // The last thing told through problemFound, or "".
    const std::string &problem() const { return m_problem; }
    // Something the user should know, in words: the file was damaged and set
    // aside, or cannot be written and the history lasts this session only, or
    // a change could not be saved. Each message is told once in a row.
    sigc::signal<void(const std::string &message)> problemFound;

    // For the stores of this folder. `body` runs inside one transaction
    // (write) or as it is (read) and returns false when a statement failed;
    // a damaged file is set aside and `body` runs once more on the fresh one.
    bool write(const std::function<bool()> &body);
    bool read(const std::function<bool()> &body);
    // A kept statement for `text` (a literal of the stores), or null.
    sqlite3_stmt *statement(const char *text);
    // What a statement returned, so write() and read() can tell damage.
    void noteResult(int code);
    // Statements without parameters, one after the other (inside write()).
    bool script(const char *text);
    // Keeps the three-letter index in step when places go; dropped while all go at once.
    static const char *const PlaceRemovedTrigger;
    // After a large delete: the freed pages go back to the file system, so
    // what was deleted does not linger in the file.
    void compact();

private:
    struct Check;

    bool openFile(bool maySetAside);
    bool openSessionOnly(const std::string &reason);
    bool prepareSchema();
    bool exec(const char *text);
    bool recover();
    void setAside();
    void close();
    void startCheck();
    void stopCheck();
    void checkFinished();
    void tell(const std::string &message);

    std::string m_path;
    sqlite3 *m_db = nullptr;
    Mode m_mode = Mode::Closed;
    std::unordered_map<std::string, sqlite3_stmt *> m_statements;
    int m_lastCode = 0;
    bool m_fileChecked = false;
    std::string m_problem;
    std::unique_ptr<Check> m_check;
};
