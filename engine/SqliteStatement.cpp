#include "SqliteStatement.h"

#include <sqlite3.h>

namespace corvane {

SqliteHandle::~SqliteHandle() { sqlite3_close(m_db); }

sqlite3 **SqliteHandle::receive()
{
    sqlite3_close(m_db);
    m_db = nullptr;
    return &m_db;
}

ClipDatabase::Error sqliteError(sqlite3 *db, ClipDatabase::Error::Kind kind)
{
    const char *message = db ? sqlite3_errmsg(db) : nullptr;
    return ClipDatabase::Error(kind, message && *message ? QString::fromUtf8(message) : QString());
}

SqliteStatement::SqliteStatement(sqlite3 *db, const char *sql)
    : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
        auto error = sqliteError(db, ClipDatabase::Error::Kind::prepare);
        sqlite3_finalize(m_stmt);
        throw error;
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

void SqliteStatement::check(int rc)
{
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, ClipDatabase::Error::Kind::prepare);
}

SqliteStatement &SqliteStatement::bind(int index, std::int64_t value)
{
    check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, double value)
{
    check(sqlite3_bind_double(m_stmt, index, value));
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text64(m_stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, const std::optional<QString> &value)
{
    return value ? bind(index, *value) : bindNull(index);
}

SqliteStatement &SqliteStatement::bindBlob(int index, const QByteArray &value)
{
    if (value.isEmpty())
        return bindNull(index);
    check(sqlite3_bind_blob64(m_stmt, index, value.constData(), sqlite3_uint64(value.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement &SqliteStatement::bindNull(int index)
{
    check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw sqliteError(m_db, ClipDatabase::Error::Kind::step);
}

void SqliteStatement::run()
{
    while (step()) { }
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool SqliteStatement::isNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

std::int64_t SqliteStatement::int64(int column) const { return sqlite3_column_int64(m_stmt, column); }

double SqliteStatement::real(int column) const { return sqlite3_column_double(m_stmt, column); }

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView SqliteStatement::bytes(int column) const
{
    const void *data = sqlite3_column_blob(m_stmt, column);
    return QByteArrayView(static_cast<const char *>(data), sqlite3_column_bytes(m_stmt, column));
}

std::optional<QByteArrayView> SqliteStatement::optionalBytes(int column) const
{
    // The blob form skips the terminating zero that sqlite3_column_text may reallocate for. It
    // gives no pointer for NULL and also for an empty value, which only the type tells apart.
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
    if (!data)
        return isNull(column) ? std::nullopt : std::optional(QByteArrayView());
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

std::optional<QString> SqliteStatement::optionalText(int column) const
{
    const std::optional<QByteArrayView> utf8 = optionalBytes(column);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

QByteArray SqliteStatement::blob(int column) const
{
    const void *data = sqlite3_column_blob(m_stmt, column);
    return QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(m_stmt, column));
}

void SqliteStatement::copyValue(int column, SqliteStatement &target, int index) const
{
    target.check(sqlite3_bind_value(target.m_stmt, index, sqlite3_column_value(m_stmt, column)));
}

SqliteTransaction::SqliteTransaction(sqlite3 *db, Mode mode)
    : m_db(db)
{
    SqliteStatement(db, mode == Mode::immediate ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED").run();
}

SqliteTransaction::~SqliteTransaction()
{
    if (!m_done)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    SqliteStatement(m_db, "COMMIT").run();
    m_done = true;
}

} // namespace corvane
