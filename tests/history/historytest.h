#pragma once

#include <glib.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace historytest {

// A folder of the test's own, removed with everything in it.
struct TempDir
{
    std::string path;
    TempDir()
    {
        gchar *made = g_dir_make_tmp("history-XXXXXX", nullptr);
        path = made;
        g_free(made);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string &name) const { return path + "/" + name; }
};

// What a connection of the test's own reads: the first column of each row,
// one row a line ("<error: …>" when it cannot).
inline std::string ask(const std::string &path, const std::string &sql)
{
    sqlite3 *db = nullptr;
    std::string answer = "<error: cannot open>";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        answer.clear();
        sqlite3_stmt *statement = nullptr;
        int code = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        for (bool first = true; code == SQLITE_OK && (code = sqlite3_step(statement)) == SQLITE_ROW; first = false) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
            answer += (first ? "" : "\n") + std::string(text ? text : "");
            code = SQLITE_OK;
        }
        if (code != SQLITE_DONE)
            answer = std::string("<error: ") + sqlite3_errmsg(db) + ">";
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return answer;
}

// An ISO 8601 time ("2024-03-09T23:59:59+02:00") in microseconds since the epoch.
inline std::int64_t at(const char *iso)
{
    GDateTime *time = g_date_time_new_from_iso8601(iso, nullptr);
    const std::int64_t result = time ? g_date_time_to_unix(time) * 1000000 + g_date_time_get_microsecond(time) : -1;
    if (time)
        g_date_time_unref(time);
    return result;
}

} // namespace historytest
