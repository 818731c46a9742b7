// The store's cheap reload: which rows changed, without reading texts or thumbnails.
#include "ClipDatabase.h"

#include "SqliteStatement.h"

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

} // namespace corvane
