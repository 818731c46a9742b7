#include "AppSettings.h"
#include "Logging.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "DerivedListCache.h"

#include <QDebug>

namespace corvane {

QList<std::int64_t> ClipboardStore::prune()
{
    if (!m_database)
        return {};
    try {
        const QList<std::int64_t> deleted = m_database->prune(m_settings->storageLimit());
        evictImages(deleted);
        return deleted;
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: pruning the history failed:" << error.message();
        return {};
    }
}

void ClipboardStore::togglePin(qint64 id)
{
    const ClipRef target = clip(id);
    if (!target || !m_database)
        return;
    const bool pinning = !target->isPinned;
    if (pinning) {
        if (m_clips.pinnedCount() >= pinLimit) {
            showNotice(QStringLiteral("Pin limit reached — unpin an item to pin another (%1 max)").arg(pinLimit),
                       Notice::Kind::warning);
            return;
        }
    }
    try {
        m_database->setPinned(id, pinning, now().toMSecsSinceEpoch() / 1000.0);
    } catch (const ClipDatabase::Error &error) {
        showNotice(QStringLiteral("Couldn’t %1: %2").arg(pinning ? u"pin" : u"unpin", error.message()), Notice::Kind::warning);
        return;
    }
    reloadClips({id}, pinning ? QList<std::int64_t>() : prune());
    if (pinning && onSummaryWanted) {
        if (ClipRef pinned = clip(id))
            onSummaryWanted(*pinned);
    }
}

void ClipboardStore::toggleTag(int tag, qint64 id)
{
    const auto colorTag = ColorTags::fromRawValue(tag);
    const ClipRef target = clip(id);
    if (!colorTag || !target || !m_database)
        return;
    ClipList affected = isInMultipleSelection(id) ? selectedClips() : ClipList{target};
    const std::int64_t bit = ColorTags::bit(*colorTag);
    const bool adding = (target->tagMask & bit) == 0;
    QList<std::pair<std::int64_t, std::int64_t>> masks;
    for (const ClipRef &clip : affected)
        masks.append({clip->id, adding ? (clip->tagMask | bit) : (clip->tagMask & ~bit)});
    try {
        m_database->setTags(masks); // one transaction: all clips or none
    } catch (const ClipDatabase::Error &error) {
        showNotice(QStringLiteral("Couldn’t save the tag: ") + error.message(), Notice::Kind::warning);
        return;
    }
    QList<std::int64_t> changed;
    for (const auto &[clipID, mask] : masks)
        changed.append(clipID);
    reloadClips(changed, adding ? QList<std::int64_t>() : prune());
}

void ClipboardStore::deleteClip(qint64 id)
{
    if (!m_database || !m_clips.contains(id))
        return;
    // Worked out before the row goes, from the list the user sees.
    const bool anchored = selectedID() == id;
    const std::optional<std::int64_t> newAnchor = anchored ? Selection::successor(id, visibleOrder()) : std::nullopt;
    try {
        m_database->deleteClip(id);
    } catch (const ClipDatabase::Error &error) {
        // The clip stays, so the selection stays with it.
        showNotice(QStringLiteral("Couldn’t delete: ") + error.message(), Notice::Kind::warning);
        return;
    }
    m_images.evict(id);
    if (anchored)
        setSelection(newAnchor, newAnchor ? QSet<std::int64_t>{*newAnchor} : QSet<std::int64_t>{});
    reloadClips({}, {id});
}

void ClipboardStore::deleteClips(const QList<std::int64_t> &ids)
{
    if (!m_database || ids.isEmpty())
        return;
    try {
        m_database->deleteClips(ids);
    } catch (const ClipDatabase::Error &error) {
        showNotice(QStringLiteral("Couldn’t delete: ") + error.message(), Notice::Kind::warning);
        return;
    }
    evictImages(ids);
    const QSet<std::int64_t> removed(ids.begin(), ids.end());
    if (m_selection.retain([&removed](std::int64_t id) { return !removed.contains(id); }))
        emit selectionChanged();
    reloadClips({}, ids);
}

void ClipboardStore::saveNote(const QString &text, qint64 id)
{
    const ClipRef target = clip(id);
    if (!target || !m_database)
        return;
    const QString trimmed = text.trimmed();
    const std::optional<QString> note = trimmed.isEmpty() ? std::nullopt : std::optional(trimmed);
    if (note == target->note)
        return;
    try {
        m_database->setNote(id, note);
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: saving note failed:" << error.message();
        // The field keeps the edited text; without a notice the user would think it was saved.
        showNotice(QStringLiteral("Couldn’t save the note: ") + error.message(), Notice::Kind::warning);
        return;
    }
    reloadClips({id});
}

namespace {

/** Moves a source key from one list to the end of the other, once. */
void moveKey(const QString &key, QStringList &from, QStringList &to)
{
    from.removeAll(key);
    if (!to.contains(key))
        to.append(key);
}

} // namespace

void ClipboardStore::keepSource(const QString &key)
{
    QStringList hidden = m_settings->hiddenSources();
    QStringList kept = m_settings->keptSources();
    moveKey(key, hidden, kept);
    m_settings->setHiddenSources(hidden);
    m_settings->setKeptSources(kept);
}

void ClipboardStore::hideSource(const QString &key)
{
    QStringList kept = m_settings->keptSources();
    QStringList hidden = m_settings->hiddenSources();
    moveKey(key, kept, hidden);
    m_settings->setKeptSources(kept);
    m_settings->setHiddenSources(hidden);
}

void ClipboardStore::unkeepSource(const QString &key)
{
    // Straight to "neither kept nor hidden": going through hideSource would persist a hidden
    // state first and make the sidebar drop the source for a moment.
    QStringList kept = m_settings->keptSources();
    if (kept.removeAll(key) > 0)
        m_settings->setKeptSources(kept);
    unhideSource(key);
}

void ClipboardStore::unhideSource(const QString &key)
{
    QStringList hidden = m_settings->hiddenSources();
    if (hidden.removeAll(key) > 0)
        m_settings->setHiddenSources(hidden);
}

} // namespace corvane
