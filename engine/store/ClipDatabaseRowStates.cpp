// The store's cheap reload: which rows changed, without reading texts or thumbnails.
#include "ClipDatabase.h"

#include "SqliteStatement.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

namespace corvane {

QList<ClipDatabase::RowState> ClipDatabase::rowStates()
{
    std::lock_guard lock(m_mutex);
    QList<RowState> states;
    {
        SqliteStatement count(m_db, "SELECT count(*) FROM clips");
        count.step();
        states.reserve(qsizetype(count.int64(0)));
    }
    SqliteStatement statement(m_db,
                              "SELECT id, created_at, pinned, pinned_at, tags, byte_size, image_width, image_height, "
                              "length(thumbnail), note, summary, smart_title, detail FROM clips");
    while (statement.step()) {
        RowState state;
        state.id = statement.int64(0);
        state.createdAt = statement.real(1);
        state.pinned = statement.int64(2) != 0;
        if (!statement.isNull(3))
            state.pinnedAt = statement.real(3);
        state.tags = statement.int64(4);
        state.byteSize = statement.int64(5);
        if (!statement.isNull(6) && !statement.isNull(7))
            state.imageSize = QSize(int(statement.int64(6)), int(statement.int64(7)));
        state.thumbnailLength = statement.isNull(8) ? 0 : statement.int64(8);
        state.note = statement.optionalText(9);
        state.summary = statement.optionalText(10);
        state.smartTitle = statement.optionalText(11);
        state.detail = statement.optionalText(12);
        states.append(std::move(state));
    }
    return states;
}

void ClipDatabase::startChangeJournal()
{
    // Called inside each write, which holds m_mutex (and the connection's own mutex).
    sqlite3_update_hook(
        m_db,
        [](void *self, int, const char *, const char *table, sqlite3_int64 row) {
            if (std::strcmp(table, "clips") == 0) {
                auto *database = static_cast<ClipDatabase *>(self);
                database->m_changedIDs.insert(row);
                ++database->m_clipWrites;
            }
        },
        this);
}

std::optional<QSet<std::int64_t>> ClipDatabase::takeChangedIDs()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement version(m_db, "PRAGMA data_version");
    version.step();
    const bool complete = m_journalComplete && version.int64(0) == m_journalVersion;
    m_journalVersion = version.int64(0);
    m_journalComplete = true;
    QSet<std::int64_t> changed = std::exchange(m_changedIDs, {});
    if (!complete)
        return std::nullopt;
    return changed;
}

} // namespace corvane
