#include "AppSettings.h"
#include "ClipboardStore.h"
#include "Clock.h"
#include "DerivedListCache.h"

namespace corvane {

// --- Notices, pause and revealed secrets ---------------------------------------------------------

void ClipboardStore::showNotice(const QString &message, Notice::Kind kind) { m_notices.show(message, kind); }

void ClipboardStore::dismissNotice() { m_notices.dismiss(); }

void ClipboardStore::pause(std::optional<double> seconds) { m_pause.pause(seconds); }

void ClipboardStore::resume() { m_pause.resume(); }

void ClipboardStore::reveal(qint64 id)
{
    if (m_revealed.contains(id) || m_clips.contains(id))
        m_revealed.toggle(id);
}

void ClipboardStore::hideAllSecrets() { m_revealed.hideAll(); }

QVariantList ClipboardStore::revealedSecretValues() const
{
    QVariantList ids;
    for (std::int64_t id : m_revealed.ids())
        ids.append(qint64(id));
    return ids;
}

// --- Capture entry points ------------------------------------------------------------------------

bool ClipboardStore::acceptsCapture(bool isImage) const
{
    return !isPaused() && m_database && !m_database->isReadOnly() && (!isImage || m_settings->recordImages());
}

void ClipboardStore::recordSkip(const QString &appName, const QString &reason)
{
    const QString name = appName.trimmed().isEmpty() ? QStringLiteral("Unknown app") : appName;
    m_recentSkips.prepend(SkippedCopy{QUuid::createUuid(), now(), name, reason});
    if (m_recentSkips.size() > recentSkipLimit)
        m_recentSkips.resize(recentSkipLimit);
    emit recentSkipsChanged();
}

QVariantList ClipboardStore::recentSkipValues() const
{
    QVariantList skips;
    for (const SkippedCopy &skip : m_recentSkips)
        skips.append(skip.toVariantMap());
    return skips;
}

void ClipboardStore::clipsRecorded(const QList<std::int64_t> &recordedIDs, const std::optional<QList<std::int64_t>> &prunedIDs)
{
    const std::optional<std::int64_t> lastID = recordedIDs.isEmpty() ? std::nullopt : std::optional(recordedIDs.last());
    if (prunedIDs)
        reloadClips(recordedIDs, *prunedIDs);
    else
        reload();
    const ClipRef added = lastID ? clip(*lastID) : nullptr;
    setLastAddedID(added ? std::optional(added->id) : std::nullopt);
    if (added)
        sourceIcon(added->sourceKey());
    if (onCaptureFeedback)
        onCaptureFeedback();
    if (added && onSummaryWanted)
        onSummaryWanted(*added);
}

void ClipboardStore::captureWarning(const QString &message) { showNotice(message, Notice::Kind::warning); }

QImage ClipboardStore::sourceIcon(const std::optional<QString> &key) { return key ? m_icons->icon(*key) : QImage(); }

QVariant ClipboardStore::lastAddedIDValue() const
{
    return m_lastAddedID ? QVariant::fromValue(qint64(*m_lastAddedID)) : QVariant();
}

QVariant ClipboardStore::quickLookClipValue() const
{
    return m_quickLookID ? QVariant::fromValue(qint64(*m_quickLookID)) : QVariant();
}

void ClipboardStore::setQuickLookClipValue(const QVariant &id)
{
    bool ok = false;
    const qint64 value = id.toLongLong(&ok);
    setQuickLookClip(id.isValid() && !id.isNull() && ok ? std::optional<std::int64_t>(value) : std::nullopt);
}

} // namespace corvane
