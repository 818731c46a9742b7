#include "ClipboardMonitor.h"

#include "ClipboardService.h"
#include "Clock.h"
#include "PrivacyPolicy.h"

namespace corvane {

namespace {

std::optional<QString> present(const QString &value)
{
    return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
}

} // namespace

ClipboardMonitor::ClipboardMonitor(ClipboardService &clipboard, const ActiveWindow &activeWindow, Clock &clock,
                                   std::function<Settings()> settings)
    : m_clipboard(clipboard), m_activeWindow(activeWindow), m_clock(clock), m_settings(std::move(settings))
{
}

ClipboardMonitor::~ClipboardMonitor() = default;

void ClipboardMonitor::start()
{
    if (m_timer)
        return;
    m_lastSeen = m_clipboard.changeCount();
    m_timer = m_clock.scheduleRepeating(pollInterval, [this] { poll(); });
}

void ClipboardMonitor::stop()
{
    m_timer.reset();
    m_attempt.reset();
}

void ClipboardMonitor::recordOwnWrite(qint64 changeCount)
{
    m_ownWrite = changeCount;
}

void ClipboardMonitor::poll()
{
    const qint64 count = m_clipboard.changeCount();
    // A retry never reads a newer copy: that one is judged from the start.
    if (m_attempt && m_attempt->changeCount != count)
        m_attempt.reset();
    if (!m_attempt) {
        if (count == m_lastSeen)
            return;
        m_lastSeen = count;
        if (count == m_ownWrite)
            return;
        m_attempt = Attempt{count, m_activeWindow.frontmostApp(), m_activeWindow.isSecureInputActive(), 0};
    }
    attempt();
}

void ClipboardMonitor::attempt()
{
    Attempt &current = *m_attempt;
    const Settings settings = m_settings ? m_settings() : Settings();
    // Formats are fetched on every try: an owner that was slow to answer may add a marker.
    const QStringList formats = m_clipboard.formats();
    const std::optional<QString> appName = current.app ? present(current.app->name) : std::nullopt;
    const std::optional<QString> appID = current.app ? present(current.app->id) : std::nullopt;
    const PrivacyPolicy::Verdict verdict = PrivacyPolicy::verdict(
        formats, appName, appID, current.secureInput, settings.userExclusions, settings.nameRuleOverrides);
    if (!verdict.isRecord()) {
        m_attempt.reset();
        if (verdict.kind == PrivacyPolicy::Verdict::Kind::skip && onSkip)
            onSkip(appName.value_or(unknownApp), verdict.reason);
        return;
    }

    ++current.reads;
    std::optional<Payload> payload = Payload::read(m_clipboard, formats, settings.imageFilesAsImages);
    if (m_clipboard.changeCount() != current.changeCount || (payload && payload->changeCount != current.changeCount)) {
        m_attempt.reset(); // changed while reading: the next tick takes the newer copy
        return;
    }
    if (!payload) {
        if (current.reads >= maxReads)
            m_attempt.reset();
        return;
    }
    const std::optional<AppIdentity> app = current.app;
    m_attempt.reset();
    if (onCapture)
        onCapture(*payload, app);
}

} // namespace corvane
