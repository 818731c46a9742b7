#pragma once

#include "ClipDatabase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace corvane {

/** The database error of a failed call, with the connection's current message. Call under the lock. */
ClipDatabase::Error sqliteError(sqlite3 *db, ClipDatabase::Error::Kind kind);

/**
 * @brief One prepared statement, finalised when it goes out of scope.
 *
 * Every bind is checked (a failed bind throws the `prepare` error instead of storing NULL).
 * Used only while the caller holds the connection's lock.
 */
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Parameters are 1-based, as in SQLite.
    SqliteStatement &bind(int index, std::int64_t value);
    SqliteStatement &bind(int index, int value) { return bind(index, std::int64_t{value}); }
    SqliteStatement &bind(int index, double value);
    SqliteStatement &bind(int index, const QString &value);
    SqliteStatement &bind(int index, const std::optional<QString> &value);
    /** An empty array binds NULL. */
    SqliteStatement &bindBlob(int index, const QByteArray &value);
    SqliteStatement &bindNull(int index);

    /** Advances to the next row; false when done. */
    bool step();
    /** Steps to completion, ignoring rows. */
    void run();
    /** Rewinds for another run with new bindings. */
    void reset();

    // Columns are 0-based, as in SQLite.
    bool isNull(int column) const;
    std::int64_t int64(int column) const;
    double real(int column) const;
    QString text(int column) const;
    /** The column's bytes without copying; valid until the next step. */
    QByteArrayView bytes(int column) const;
    /** A text column's UTF-8 bytes without copying, or nothing for NULL; valid until the next step. */
    std::optional<QByteArrayView> optionalBytes(int column) const;
    std::optional<QString> optionalText(int column) const;
    QByteArray blob(int column) const;
    /** Binds this row's `column`, whatever its type, to `index` of another statement. */
    void copyValue(int column, SqliteStatement &target, int index) const;

private:
    void check(int rc);

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

/**
 * @brief BEGIN ... COMMIT; rolls back unless committed. Used under the lock.
 *
 * Writes take the write lock at once (IMMEDIATE); reads that must see one snapshot across
 * several statements start DEFERRED.
 */
class SqliteTransaction
{
public:
    enum class Mode { immediate, deferred };
    explicit SqliteTransaction(sqlite3 *db, Mode mode = Mode::immediate);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction &) = delete;
    SqliteTransaction &operator=(const SqliteTransaction &) = delete;
    void commit();

private:
    sqlite3 *m_db;
    bool m_done = false;
};

} // namespace corvane
