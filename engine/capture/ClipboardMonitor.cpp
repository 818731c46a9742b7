#include "ClipboardMonitor.h"

#include "ClipboardService.h"
#include "Clock.h"
#include "PrivacyPolicy.h"

namespace corvane {

namespace {

std::optional<QString> present(const QString &value) { return value.isEmpty() ? std::nullopt : std::optional<QString>(value); }

} // namespace

ClipboardMonitor::ClipboardMonitor(ClipboardService &clipboard, ClipboardSource &source, const ActiveWindow &activeWindow,
                                   Clock &clock, std::function<Settings()> settings)
    : m_clipboard(clipboard)
    , m_source(source)
    , m_activeWindow(activeWindow)
    , m_clock(clock)
    , m_settings(std::move(settings))
{
}

ClipboardMonitor::~ClipboardMonitor() { QObject::disconnect(m_changed); }

void ClipboardMonitor::start(std::optional<qint64> seenBefore)
{
    if (m_timer)
        return;
    // The first poll reads a copy made since `seenBefore`.
    m_lastSeen = seenBefore.value_or(m_clipboard.changeCount());
    m_timer = m_clock.scheduleRepeating(pollInterval, [this] { poll(); });
    // Where the clipboard reports a new owner (XFixes under X11), look at once; the poll covers
    // the rest. Queued, so our own write has recorded its change count by then.
    m_changed = QObject::connect(
        &m_clipboard, &ClipboardService::changed, &m_clipboard,
        [this, alive = std::weak_ptr<bool>(m_alive)] {
            if (!alive.expired() && m_timer && m_clipboard.changeCount() != m_lastSeen)
                poll();
        },
        Qt::QueuedConnection);
}

void ClipboardMonitor::stop()
{
    QObject::disconnect(m_changed);
    m_timer.reset();
    m_attempt.reset();
}

void ClipboardMonitor::finish()
{
    if (!m_timer)
        return;
    poll();
    m_timer.reset();
    if (m_attempt && !m_attempt->busy)
        m_attempt.reset(); // no more ticks to retry on
}

void ClipboardMonitor::poll()
{
    const qint64 count = m_clipboard.changeCount();
    // A retry never reads a newer copy: that one is judged from the start.
    if (m_attempt && m_attempt->changeCount != count)
        m_attempt.reset();
    if (m_attempt) {
        if (!m_attempt->busy)
            attempt();
        return;
    }
    if (count == m_lastSeen)
        return;
    m_lastSeen = count;
    if (ownChangeCount && count == ownChangeCount())
        return;
    m_attempt = Attempt{++m_nextAttempt, count, m_activeWindow.frontmostApp(), m_activeWindow.isSecureInputActive()};
    attempt();
}

ClipboardMonitor::Attempt *ClipboardMonitor::current(quint64 id)
{
    if (!m_attempt || m_attempt->id != id)
        return nullptr;
    if (m_attempt->changeCount != m_clipboard.changeCount()) {
        m_attempt.reset();
        return nullptr;
    }
    return &*m_attempt;
}

void ClipboardMonitor::attempt()
{
    // Formats are fetched on every try: an owner that was slow to answer may add a marker.
    m_attempt->busy = true;
    const quint64 id = m_attempt->id;
    std::weak_ptr<bool> alive = m_alive;
    m_source.fetchFormats([this, alive, id](const ClipboardSource::Formats &formats) {
        if (!alive.expired() && current(id))
            judge(formats);
    });
}

void ClipboardMonitor::judge(const ClipboardSource::Formats &formats)
{
    Attempt &attempt = *m_attempt;
    const Settings settings = m_settings ? m_settings() : Settings();
    const std::optional<QString> appName = attempt.app ? present(attempt.app->name) : std::nullopt;
    const std::optional<QString> appID = attempt.app ? present(attempt.app->id) : std::nullopt;
    const PrivacyPolicy::Verdict verdict = PrivacyPolicy::verdict(formats.formats, appName, appID, attempt.secureInput,
                                                                  settings.userExclusions, settings.nameRuleOverrides);
    if (!verdict.isRecord()) {
        m_attempt.reset();
        if (verdict.kind == PrivacyPolicy::Verdict::Kind::skip && onSkip)
            onSkip(appName.value_or(unknownApp), verdict.reason);
        return;
    }
    ++attempt.reads;
    const quint64 id = attempt.id;
    std::weak_ptr<bool> alive = m_alive;
    m_source.fetchPayload(formats, settings.imageFilesAsImages, [this, alive, id](std::optional<Payload> payload, bool stale) {
        if (!alive.expired() && current(id))
            received(std::move(payload), stale);
    });
}

void ClipboardMonitor::received(std::optional<Payload> payload, bool stale)
{
    Attempt &attempt = *m_attempt;
    attempt.busy = false;
    if (stale) {
        m_attempt.reset(); // the next tick takes the newer copy
        return;
    }
    if (!payload) {
        if (attempt.reads >= maxReads)
            m_attempt.reset();
        return;
    }
    const std::optional<AppIdentity> app = attempt.app;
    m_attempt.reset();
    if (onCapture)
        onCapture(*payload, app);
}

} // namespace corvane
