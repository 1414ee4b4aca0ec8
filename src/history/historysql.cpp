#include "history/historysql.h"

#include <sqlite3.h>

Sql::Sql(HistoryDatabase &db, const char *text)
    : m_db(db), m_statement(db.statement(text)), m_failed(m_statement == nullptr)
{
}

Sql::~Sql()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

Sql &Sql::bind(int index, std::int64_t value)
{
    if (!m_failed)
        bound(sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

Sql &Sql::bind(int index, double value)
{
    if (!m_failed)
        bound(sqlite3_bind_double(m_statement, index, value));
    return *this;
}

Sql &Sql::bind(int index, const std::string &value)
{
    if (!m_failed)
        bound(sqlite3_bind_text64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

void Sql::bound(int code)
{
    if (code != SQLITE_OK) {
        m_failed = true;
        m_db.noteResult(code);
    }
}

bool Sql::next()
{
    if (m_failed)
        return false;
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE) {
        m_failed = true;
        m_db.noteResult(code);
    }
    return false;
}

bool Sql::run()
{
    while (next()) {
    }
    return !m_failed;
}

std::int64_t Sql::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double Sql::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

std::string Sql::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return data ? std::string(data, size_t(sqlite3_column_bytes(m_statement, column))) : std::string();
}
