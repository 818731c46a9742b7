// The edits, deletions and side tables of ClipDatabase.
#include "ClipDatabase.h"

#include "ClipTextSource.h"
#include "SqliteStatement.h"

#include <QHash>
#include <QSet>

namespace corvane {

std::int64_t ClipDatabase::clipCount()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT count(*) FROM clips");
    statement.step();
    return statement.int64(0);
}

QList<std::pair<ClipGroup, std::int64_t>> ClipDatabase::countsByGroup()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT kind, count(*) FROM clips GROUP BY kind");
    QHash<QString, std::int64_t> counts;
    while (statement.step())
        counts.insert(statement.text(0), statement.int64(1));
    QList<std::pair<ClipGroup, std::int64_t>> result;
    for (ClipGroup group : ClipGroups::allCases) {
        if (const std::int64_t count = counts.value(ClipGroups::rawValue(group)); count > 0)
            result.append({group, count});
    }
    return result;
}

void ClipDatabase::editClips(const QList<std::int64_t> &ids, const std::function<void(qsizetype)> &write)
{
    // The prunable total follows each row's share before and after its edit; a failure forgets it.
    std::optional<std::int64_t> prunable = std::exchange(m_prunableBytes, std::nullopt);
    SqliteStatement share(m_db, R"sql(
        SELECT byte_size + IFNULL(length(thumbnail), 0) FROM clips
        WHERE id = ?1 AND pinned = 0 AND tags = 0)sql");
    const auto shareOf = [&share](std::int64_t id) {
        share.bind(1, id);
        const std::int64_t bytes = share.step() ? share.int64(0) : 0;
        share.reset();
        return bytes;
    };
    SqliteTransaction transaction(m_db);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (prunable)
            *prunable -= shareOf(ids[i]);
        write(i);
        if (prunable)
            *prunable += shareOf(ids[i]);
    }
    transaction.commit();
    m_prunableBytes = prunable;
}

void ClipDatabase::setPinned(std::int64_t id, bool pinned, double pinnedAt)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "UPDATE clips SET pinned = ?1, pinned_at = ?2 WHERE id = ?3");
    editClips({id}, [&](qsizetype) {
        statement.bind(1, int(pinned));
        if (pinned)
            statement.bind(2, pinnedAt);
        else
            statement.bindNull(2);
        statement.bind(3, id).run();
    });
}

void ClipDatabase::setTags(std::int64_t id, std::int64_t mask) { setTags({{id, mask}}); }

void ClipDatabase::setTags(const QList<std::pair<std::int64_t, std::int64_t>> &masks)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "UPDATE clips SET tags = ?1 WHERE id = ?2");
    QList<std::int64_t> ids;
    for (const auto &entry : masks)
        ids.append(entry.first);
    editClips(ids, [&](qsizetype i) {
        statement.bind(1, masks[i].second).bind(2, masks[i].first).run();
        statement.reset();
    });
}

namespace {

void setOptionalText(sqlite3 *db, const char *sql, std::int64_t id, const std::optional<QString> &value)
{
    SqliteStatement statement(db, sql);
    statement.bind(1, value).bind(2, id).run();
}

} // namespace

void ClipDatabase::setNote(std::int64_t id, const std::optional<QString> &note)
{
    std::lock_guard lock(m_mutex);
    setOptionalText(m_db, "UPDATE clips SET note = ?1 WHERE id = ?2", id, note);
}

void ClipDatabase::setSummary(std::int64_t id, const std::optional<QString> &summary)
{
    std::lock_guard lock(m_mutex);
    setOptionalText(m_db, "UPDATE clips SET summary = ?1 WHERE id = ?2", id, summary);
}

void ClipDatabase::setSmartTitle(std::int64_t id, const std::optional<QString> &smartTitle)
{
    std::lock_guard lock(m_mutex);
    setOptionalText(m_db, "UPDATE clips SET smart_title = ?1 WHERE id = ?2", id, smartTitle);
}

void ClipDatabase::deleteClip(std::int64_t id) { deleteClips({id}); }

void ClipDatabase::deleteClips(const QList<std::int64_t> &ids)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "DELETE FROM clips WHERE id = ?1");
    editClips(ids, [&](qsizetype i) {
        statement.bind(1, ids[i]).run();
        statement.reset();
    });
    ClipTextSource::shared().forget(m_textSource, {ids.constData(), std::size_t(ids.size())});
}

std::optional<ClipDatabase::LinkPreviewRecord> ClipDatabase::linkPreview(const QString &key)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT title, site_name, image, icon FROM link_previews WHERE key = ?1");
    statement.bind(1, key);
    if (!statement.step())
        return std::nullopt;
    LinkPreviewRecord record;
    record.title = statement.optionalText(0);
    record.siteName = statement.optionalText(1);
    if (!statement.isNull(2))
        record.image = statement.blob(2);
    if (!statement.isNull(3))
        record.icon = statement.blob(3);
    return record;
}

void ClipDatabase::saveLinkPreview(const LinkPreviewRecord &record, const QString &key)
{
    const double now = m_now();
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, R"sql(
        INSERT OR REPLACE INTO link_previews (key, title, site_name, image, icon, fetched_at)
        VALUES (?1, ?2, ?3, ?4, ?5, ?6))sql");
    statement.bind(1, key).bind(2, record.title).bind(3, record.siteName);
    statement.bindBlob(4, record.image.value_or(QByteArray()));
    statement.bindBlob(5, record.icon.value_or(QByteArray()));
    statement.bind(6, now).run();
}

QStringList ClipDatabase::deleteLinkPreviews(const std::function<bool(const QString &key)> &keep)
{
    std::lock_guard lock(m_mutex);
    QStringList doomed;
    {
        SqliteStatement keys(m_db, "SELECT key FROM link_previews");
        while (keys.step()) {
            const QString key = keys.text(0);
            if (!keep(key))
                doomed.append(key);
        }
    }
    if (doomed.isEmpty())
        return doomed;
    SqliteTransaction transaction(m_db);
    SqliteStatement remove(m_db, "DELETE FROM link_previews WHERE key = ?1");
    for (const QString &key : doomed) {
        remove.bind(1, key).run();
        remove.reset();
    }
    transaction.commit();
    return doomed;
}

void ClipDatabase::checkpoint()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement(m_db, "PRAGMA wal_checkpoint(TRUNCATE)").run();
}

std::optional<ClipDatabase::SourceIconRecord> ClipDatabase::sourceIcon(const QString &key)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT png, fetched_at FROM source_icons WHERE key = ?1");
    statement.bind(1, key);
    if (!statement.step())
        return std::nullopt;
    return SourceIconRecord{statement.blob(0), statement.real(1)};
}

void ClipDatabase::saveSourceIcon(const QString &key, const QByteArray &png)
{
    const double now = m_now();
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "INSERT OR REPLACE INTO source_icons (key, png, fetched_at) VALUES (?1, ?2, ?3)");
    statement.bind(1, key).bindBlob(2, png).bind(3, now).run();
}

} // namespace corvane
