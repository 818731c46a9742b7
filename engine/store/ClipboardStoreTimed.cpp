#include "AppSettings.h"
#include "ClipboardStore.h"
#include "Clock.h"
#include "DerivedListCache.h"

namespace corvane {

// --- Notices -------------------------------------------------------------------------------------

void ClipboardStore::showNotice(const QString &message, Notice::Kind kind)
{
    const Notice notice = Notice::make(message, kind);
    m_notice = notice;
    // Only this notice's own expiry may clear it; a newer one lives its full time.
    m_noticeTimer = schedule(notice.lifetimeMilliseconds(), [this, id = notice.id] {
        if (m_notice && m_notice->id == id)
            dismissNotice();
    });
    emit noticeChanged();
}

void ClipboardStore::dismissNotice()
{
    if (!m_notice)
        return;
    m_notice.reset();
    m_noticeTimer.reset();
    emit noticeChanged();
}

// --- Pause ---------------------------------------------------------------------------------------

void ClipboardStore::pause(std::optional<double> seconds)
{
    // A new pause always replaces the old one's end, so an earlier timed resume cannot fire.
    m_resumeTimer.reset();
    QDateTime end;
    if (seconds && *seconds > 0) {
        end = now().addMSecs(qint64(*seconds * 1000.0));
        m_resumeTimer = schedule(int(std::min(*seconds * 1000.0, double(std::numeric_limits<int>::max()))),
                                 [this] { resume(); });
    }
    const bool changed = !m_isPaused || end != m_pauseEnd;
    m_isPaused = true;
    m_pauseEnd = end;
    if (!changed)
        return;
    emit isPausedChanged();
    if (onPauseChanged)
        onPauseChanged(true);
}

void ClipboardStore::resume()
{
    m_resumeTimer.reset();
    if (!m_isPaused)
        return;
    m_isPaused = false;
    m_pauseEnd = QDateTime();
    emit isPausedChanged();
    if (onPauseChanged)
        onPauseChanged(false);
}

// --- Revealed secrets ----------------------------------------------------------------------------

void ClipboardStore::setRevealed(QSet<std::int64_t> revealed)
{
    for (auto it = m_rehideTimers.begin(); it != m_rehideTimers.end();)
        it = revealed.contains(it.key()) ? std::next(it) : m_rehideTimers.erase(it);
    if (revealed == m_revealed)
        return;
    m_revealed = std::move(revealed);
    m_derived->secretsChanged();
    emit revealedSecretsChanged();
}

void ClipboardStore::reveal(qint64 id)
{
    m_rehideTimers.remove(id);
    QSet<std::int64_t> revealed = m_revealed;
    if (revealed.remove(id)) {
        setRevealed(revealed);
        return;
    }
    if (!m_clips.contains(id))
        return;
    revealed.insert(id);
    setRevealed(revealed);
    m_rehideTimers.insert(id, schedule(revealMilliseconds, [this, id] {
                              QSet<std::int64_t> remaining = m_revealed;
                              remaining.remove(id);
                              setRevealed(remaining);
                          }));
}

void ClipboardStore::hideAllSecrets()
{
    m_rehideTimers.clear();
    setRevealed({});
}

QVariantList ClipboardStore::revealedSecretValues() const
{
    QVariantList ids;
    for (std::int64_t id : m_revealed)
        ids.append(qint64(id));
    return ids;
}

// --- Capture entry points ------------------------------------------------------------------------

bool ClipboardStore::acceptsCapture(bool isImage) const
{
    return !m_isPaused && m_database && (!isImage || m_settings->recordImages());
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

void ClipboardStore::clipsRecorded(const QList<std::int64_t> &recordedIDs,
                                   const std::optional<QList<std::int64_t>> &prunedIDs)
{
    const std::optional<std::int64_t> lastID =
        recordedIDs.isEmpty() ? std::nullopt : std::optional(recordedIDs.last());
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

QImage ClipboardStore::sourceIcon(const std::optional<QString> &key)
{
    return key ? m_icons->icon(*key) : QImage();
}

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
