#pragma once

#include "history/historydatabase.h"

#include <cstdint>
#include <string>

// One use of a kept statement of the history database: bound, stepped and
// reset when it goes out of scope. A failure is noted on the database, which
// decides whether the file is damaged.
class Sql
{
public:
    Sql(HistoryDatabase &db, const char *text);
    ~Sql();
    Sql(const Sql &) = delete;
    Sql &operator=(const Sql &) = delete;

    Sql &bind(int index, std::int64_t value);
    Sql &bind(int index, double value);
    Sql &bind(int index, const std::string &value);

    // Steps to the next row: true while there is one.
    bool next();
    // Steps to the end: true when it got there without an error.
    bool run();
    bool failed() const { return m_failed; }

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;

private:
    void bound(int code);

    HistoryDatabase &m_db;
    sqlite3_stmt *m_statement;
    bool m_failed;
};
