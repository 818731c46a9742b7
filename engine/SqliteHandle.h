#pragma once

struct sqlite3;

namespace corvane {

/** @brief An SQLite connection, closed when the handle goes out of scope. */
class SqliteHandle
{
public:
    SqliteHandle() = default;
    ~SqliteHandle();
    SqliteHandle(const SqliteHandle &) = delete;
    SqliteHandle &operator=(const SqliteHandle &) = delete;

    operator sqlite3 *() const { return m_db; }
    /** Where sqlite3_open_v2 puts the new connection; one held before is closed first. */
    sqlite3 **receive();

private:
    sqlite3 *m_db = nullptr;
};

} // namespace corvane
