#include "history/historydatabase.h"

#include "history/historysql.h"
#include "util/filename.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <glibmm/dispatcher.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

// Bumped with every change of the tables below.
const int SchemaVersion = 1;

const char *const Schema = R"(
CREATE TABLE IF NOT EXISTS places(
    id INTEGER PRIMARY KEY,
    address TEXT NOT NULL UNIQUE,
    title TEXT NOT NULL DEFAULT '',
    title_key TEXT NOT NULL DEFAULT '',
    visit_count INTEGER NOT NULL DEFAULT 0,
    last_visit INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS places_rank ON places(visit_count DESC, last_visit DESC);
-- Every three letters of each address and title, so a suggestion or a
-- search finds the few rows holding what was typed without reading them all.
CREATE VIRTUAL TABLE IF NOT EXISTS place_grams USING fts5(address, title_key, content='places',
    content_rowid='id', tokenize='trigram', detail='none');
CREATE TRIGGER IF NOT EXISTS places_added AFTER INSERT ON places BEGIN
    INSERT INTO place_grams(rowid, address, title_key) VALUES(new.id, new.address, new.title_key);
END;
CREATE TRIGGER IF NOT EXISTS places_renamed AFTER UPDATE OF address, title_key ON places BEGIN
    INSERT INTO place_grams(place_grams, rowid, address, title_key)
        VALUES('delete', old.id, old.address, old.title_key);
    INSERT INTO place_grams(rowid, address, title_key) VALUES(new.id, new.address, new.title_key);
END;
CREATE TABLE IF NOT EXISTS visits(
    id INTEGER PRIMARY KEY,
    place INTEGER NOT NULL REFERENCES places(id),
    time INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS visits_time ON visits(time, id);
CREATE INDEX IF NOT EXISTS visits_place ON visits(place);
CREATE TABLE IF NOT EXISTS downloads(
    id INTEGER PRIMARY KEY,
    file_name TEXT NOT NULL,
    path TEXT NOT NULL,
    source TEXT NOT NULL,
    size INTEGER NOT NULL DEFAULT -1,
    received INTEGER NOT NULL DEFAULT 0,
    state TEXT NOT NULL,
    started INTEGER NOT NULL,
    ended INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS site_zoom(
    host TEXT PRIMARY KEY,
    level REAL NOT NULL) WITHOUT ROWID;
)";

bool isDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// "<file>.damaged-20250107-153012", with "-2", "-3"... when that is taken.
std::string asideName(const std::string &path)
{
    GDateTime *time = g_date_time_new_now_local();
    gchar *stamp = g_date_time_format(time, "%Y%m%d-%H%M%S");
    g_date_time_unref(time);
    const std::string base = path + ".damaged-" + stamp;
    g_free(stamp);
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        if (!g_file_test(name.c_str(), G_FILE_TEST_EXISTS) && !g_file_test((name + "-wal").c_str(), G_FILE_TEST_EXISTS))
            return name;
    }
}

} // namespace

const char *const HistoryDatabase::PlaceRemovedTrigger =
    "CREATE TRIGGER IF NOT EXISTS places_removed AFTER DELETE ON places BEGIN"
    " INSERT INTO place_grams(place_grams, rowid, address, title_key)"
    " VALUES('delete', old.id, old.address, old.title_key); END;";

// The worker that reads the whole file once it is open.
struct HistoryDatabase::Check
{
    enum Verdict { Pending, Whole, Damaged, Unknown };

    std::thread thread;
    std::mutex mutex;
    sqlite3 *connection = nullptr; // interrupted when the check must stop
    bool stopping = false;
    Verdict verdict = Pending;
    Glib::Dispatcher finished;

    static Verdict run(Check *check, const std::string &path);
};

HistoryDatabase::Check::Verdict HistoryDatabase::Check::run(Check *check, const std::string &path)
{
    // Behind the program's own work: the check may take a while, nobody waits for it.
    setpriority(PRIO_PROCESS, gettid(), getpriority(PRIO_PROCESS, gettid()) + 10);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return Unknown;
    }
    {
        std::lock_guard<std::mutex> lock(check->mutex);
        if (check->stopping) {
            sqlite3_close(db);
            return Unknown;
        }
        check->connection = db;
    }
    sqlite3_busy_timeout(db, 5000);
    Verdict verdict = Unknown;
    sqlite3_stmt *statement = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            const auto *answer = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
            verdict = answer && std::strcmp(answer, "ok") == 0 ? Whole : Damaged;
        }
    }
    if (isDamage(code))
        verdict = Damaged;
    sqlite3_finalize(statement);
    {
        std::lock_guard<std::mutex> lock(check->mutex);
        check->connection = nullptr;
    }
    sqlite3_close(db);
    return verdict;
}

HistoryDatabase::HistoryDatabase(std::string path) : m_path(std::move(path)) {}

HistoryDatabase::~HistoryDatabase()
{
    stopCheck();
    close();
}

std::string HistoryDatabase::defaultPath()
{
    gchar *path = g_build_filename(g_get_user_data_dir(), "Velmora", "Skimlark", "history.sqlite", nullptr);
    std::string result = path;
    g_free(path);
    return result;
}

std::int64_t HistoryDatabase::now()
{
    return g_get_real_time();
}

bool HistoryDatabase::checked() const
{
    return m_mode == Mode::SessionOnly || m_fileChecked;
}

bool HistoryDatabase::open()
{
    if (m_db)
        return true;
    return openFile(true);
}

bool HistoryDatabase::openFile(bool maySetAside)
{
    const std::string folder = folderOf(m_path);
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0)
        return openSessionOnly("the folder " + folder + " cannot be made (" + g_strerror(errno) + ")");
    // Made here so that it, and the journal files SQLite gives its mode,
    // are the user's alone.
    const int fd = ::g_open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    else if (errno != EEXIST)
        return openSessionOnly(std::string(g_strerror(errno)));

    const int code = sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string reason = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
        close();
        return openSessionOnly(reason);
    }
    m_mode = Mode::File;
    m_fileChecked = false;
    if (!prepareSchema()) {
        const int failure = m_lastCode;
        const std::string reason = sqlite3_errstr(failure);
        if (isDamage(failure) && maySetAside) {
            setAside();
            return m_db != nullptr;
        }
        close();
        return openSessionOnly(reason);
    }
    startCheck();
    return true;
}

bool HistoryDatabase::openSessionOnly(const std::string &reason)
{
    close();
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        close();
        return false;
    }
    m_mode = Mode::SessionOnly;
    if (!prepareSchema()) {
        close();
        return false;
    }
    tell("The history cannot be saved in " + m_path + ": " + reason
         + ". Pages visited now are remembered until Skimlark closes.");
    return true;
}

bool HistoryDatabase::script(const char *text)
{
    return exec(text);
}

bool HistoryDatabase::exec(const char *text)
{
    const int code = sqlite3_exec(m_db, text, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        noteResult(code);
    return code == SQLITE_OK;
}

bool HistoryDatabase::prepareSchema()
{
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_busy_timeout(m_db, 1000);
    m_lastCode = SQLITE_OK;
    // Nothing is written before the file is known to be ours: the first
    // statement reads the header (a file that is not a database fails here),
    // and tables without our version number belong to another program.
    std::int64_t version = -1, tables = -1;
    {
        Sql query(*this, "PRAGMA user_version");
        if (query.next())
            version = query.integer(0);
    }
    if (version == 0) {
        Sql query(*this, "SELECT count(*) FROM sqlite_schema");
        if (query.next())
            tables = query.integer(0);
    }
    if (version < 0 || (version == 0 && tables != 0)) {
        if (m_lastCode == SQLITE_OK)
            m_lastCode = SQLITE_NOTADB;
        return false;
    }
    // Incremental vacuum only takes on a new file, before its first table.
    if ((version == 0 && !exec("PRAGMA auto_vacuum=INCREMENTAL")) || !exec("PRAGMA journal_mode=WAL")
        || !exec("PRAGMA synchronous=NORMAL") || !exec("PRAGMA secure_delete=FAST")
        || !exec("PRAGMA cell_size_check=ON"))
        return false;
    if (version < SchemaVersion) {
        const std::string setVersion = "PRAGMA user_version=" + std::to_string(SchemaVersion);
        if (!exec("BEGIN IMMEDIATE"))
            return false;
        if (!exec(Schema) || !exec(PlaceRemovedTrigger) || !exec(setVersion.c_str()) || !exec("COMMIT")) {
            const int failure = m_lastCode;
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            m_lastCode = failure;
            return false;
        }
    }
    // Downloads still running when the program last ended were cut short.
    Sql interrupted(*this, "UPDATE downloads SET state='failed', ended=?1 WHERE state='running'");
    return interrupted.bind(1, now()).run();
}

sqlite3_stmt *HistoryDatabase::statement(const char *text)
{
    if (!m_db)
        return nullptr;
    auto found = m_statements.find(text);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt *prepared = nullptr;
    const int code = sqlite3_prepare_v3(m_db, text, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr);
    if (code != SQLITE_OK) {
        // The stores' statements are fixed: one that does not fit the file's
        // tables means the file is not one of ours.
        noteResult((code & 0xff) == SQLITE_ERROR ? SQLITE_CORRUPT : code);
        return nullptr;
    }
    m_statements.emplace(text, prepared);
    return prepared;
}

void HistoryDatabase::noteResult(int code)
{
    m_lastCode = code;
}

bool HistoryDatabase::write(const std::function<bool()> &body)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!open())
            return false;
        m_lastCode = SQLITE_OK;
        if (Sql(*this, "BEGIN IMMEDIATE").run() && body() && Sql(*this, "COMMIT").run())
            return true;
        if (!sqlite3_get_autocommit(m_db)) {
            const int failure = m_lastCode;
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            m_lastCode = failure;
        }
        if (!recover())
            return false;
    }
    return false;
}

bool HistoryDatabase::read(const std::function<bool()> &body)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!open())
            return false;
        m_lastCode = SQLITE_OK;
        if (body())
            return true;
        if (!recover())
            return false;
    }
    return false;
}

// After a failed statement: sets a damaged file aside (true: try again on the
// fresh one), or tells what kept the change from being saved.
bool HistoryDatabase::recover()
{
    if (isDamage(m_lastCode) && m_mode == Mode::File) {
        setAside();
        return m_db != nullptr;
    }
    if (m_lastCode != SQLITE_OK)
        tell(std::string("The history could not be read or saved: ") + sqlite3_errstr(m_lastCode) + ".");
    return false;
}

void HistoryDatabase::setAside()
{
    stopCheck();
    close();
    const std::string aside = asideName(m_path);
    if (g_rename(m_path.c_str(), aside.c_str()) != 0 && errno != ENOENT) {
        openSessionOnly("it is damaged and cannot be set aside (" + std::string(g_strerror(errno)) + ")");
        return;
    }
    // The journal belongs to the damaged file: it would be replayed into a new one.
    g_rename((m_path + "-wal").c_str(), (aside + "-wal").c_str());
    g_rename((m_path + "-journal").c_str(), (aside + "-journal").c_str());
    g_unlink((m_path + "-shm").c_str());
    if (openFile(false))
        tell("The history was damaged and could not be read. It was kept as " + fileNameOf(aside)
             + " beside the new, empty history.");
}

void HistoryDatabase::compact()
{
    if (m_db) {
        exec("PRAGMA incremental_vacuum");
        exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }
}

void HistoryDatabase::close()
{
    for (auto &kept : m_statements)
        sqlite3_finalize(kept.second);
    m_statements.clear();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
    m_mode = Mode::Closed;
}

void HistoryDatabase::startCheck()
{
    stopCheck();
    m_check = std::make_unique<Check>();
    Check *check = m_check.get();
    check->finished.connect(sigc::mem_fun(*this, &HistoryDatabase::checkFinished));
    check->thread = std::thread([check, path = m_path] {
        const Check::Verdict verdict = Check::run(check, path);
        bool stopping;
        {
            std::lock_guard<std::mutex> lock(check->mutex);
            check->verdict = verdict;
            stopping = check->stopping;
        }
        if (!stopping)
            check->finished.emit();
    });
}

void HistoryDatabase::stopCheck()
{
    if (!m_check)
        return;
    {
        std::lock_guard<std::mutex> lock(m_check->mutex);
        m_check->stopping = true;
        if (m_check->connection)
            sqlite3_interrupt(m_check->connection);
    }
    m_check->thread.join();
    m_check.reset();
}

void HistoryDatabase::checkFinished()
{
    Check::Verdict verdict = Check::Pending;
    if (m_check) {
        std::lock_guard<std::mutex> lock(m_check->mutex);
        verdict = m_check->verdict;
    }
    // A late word from a check stopped before it could be heard.
    if (verdict == Check::Pending)
        return;
    m_check->thread.join();
    m_check.reset();
    if (verdict == Check::Damaged && m_mode == Mode::File)
        setAside(); // the fresh file gets a check of its own
    else
        m_fileChecked = true;
}

void HistoryDatabase::tell(const std::string &message)
{
    if (message == m_problem)
        return;
    m_problem = message;
    problemFound.emit(message);
}
