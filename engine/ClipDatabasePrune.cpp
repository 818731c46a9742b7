// Pruning the history to the storage limit.
#include "ClipDatabase.h"

#include "ClipTextSource.h"
#include "SqliteStatement.h"

namespace corvane {

std::int64_t ClipDatabase::prunableBytes()
{
    noticeOtherWriters();
    if (!m_prunableBytes) {
        SqliteStatement sum(m_db, R"sql(
            SELECT IFNULL(SUM(byte_size + IFNULL(length(thumbnail), 0)), 0) FROM clips
            WHERE pinned = 0 AND tags = 0)sql");
        sum.step();
        m_prunableBytes = sum.int64(0);
    }
    return *m_prunableBytes;
}

QList<std::int64_t> ClipDatabase::prune(std::int64_t limitBytes)
{
    if (limitBytes <= 0)
        throw Error(Error::Kind::step, QStringLiteral("Refusing to prune to a storage limit of %1 bytes").arg(limitBytes));
    std::lock_guard lock(m_mutex);
    const std::int64_t total = prunableBytes();
    if (total <= limitBytes)
        return {};

    // Taken newest first, a clip goes when the running total up to it exceeds the limit, that is
    // when the clips older than it hold less than the excess. Walking oldest first, the walk stops
    // at the first clip that stays, so a full history costs a few rows per capture, not a scan.
    // ROWS, not the default RANGE frame: clips with equal dates must get distinct totals.
    const std::int64_t excess = total - limitBytes;
    QList<std::int64_t> deleted;
    std::int64_t deletedBytes = 0;
    SqliteTransaction transaction(m_db);
    {
        SqliteStatement oldestFirst(m_db, R"sql(
            SELECT id, size, IFNULL(SUM(size) OVER (
                    ORDER BY created_at ASC, id ASC
                    ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING), 0)
            FROM (SELECT id, created_at, byte_size + IFNULL(length(thumbnail), 0) AS size
                  FROM clips WHERE pinned = 0 AND tags = 0)
            ORDER BY created_at ASC, id ASC)sql");
        while (oldestFirst.step() && oldestFirst.int64(2) < excess) {
            deleted.append(oldestFirst.int64(0));
            deletedBytes += oldestFirst.int64(1);
        }
    }
    {
        SqliteStatement remove(m_db, "DELETE FROM clips WHERE id = ?1");
        for (std::int64_t id : deleted) {
            remove.bind(1, id).run();
            remove.reset();
        }
    }
    transaction.commit();
    ClipTextSource::shared().forget(m_textSource, {deleted.constData(), std::size_t(deleted.size())});
    m_prunableBytes = total - deletedBytes;
    SqliteStatement(m_db, "PRAGMA incremental_vacuum").run();
    return deleted;
}

} // namespace corvane
