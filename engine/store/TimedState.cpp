#include "TimedState.h"

#include "Clock.h"

#include <limits>

namespace corvane {

PauseState::PauseState(Clock &clock, std::function<void(bool)> changed)
    : m_clock(clock)
    , m_changed(std::move(changed))
{
}

PauseState::~PauseState() = default;

void PauseState::pause(std::optional<double> seconds)
{
    // A new pause always replaces the old one's end, so an earlier timed resume cannot fire.
    m_resumeTimer.reset();
    QDateTime end;
    if (seconds && *seconds > 0) {
        end = m_clock.now().addMSecs(qint64(*seconds * 1000.0));
        m_resumeTimer
            = m_clock.schedule(int(std::min(*seconds * 1000.0, double(std::numeric_limits<int>::max()))), [this] { resume(); });
    }
    const bool changed = !m_isPaused || end != m_end;
    m_isPaused = true;
    m_end = end;
    if (changed)
        m_changed(true);
}

void PauseState::resume()
{
    m_resumeTimer.reset();
    if (!m_isPaused)
        return;
    m_isPaused = false;
    m_end = QDateTime();
    m_changed(false);
}

NoticeBoard::NoticeBoard(Clock &clock, std::function<void()> changed)
    : m_clock(clock)
    , m_changed(std::move(changed))
{
}

NoticeBoard::~NoticeBoard() = default;

void NoticeBoard::show(const QString &message, Notice::Kind kind)
{
    const Notice notice = Notice::make(message, kind);
    m_notice = notice;
    // Only this notice's own expiry may clear it; a newer one lives its full time.
    m_timer = m_clock.schedule(notice.lifetimeMilliseconds(), [this, id = notice.id] {
        if (m_notice && m_notice->id == id)
            dismiss();
    });
    m_changed();
}

void NoticeBoard::dismiss()
{
    if (!m_notice)
        return;
    m_notice.reset();
    m_timer.reset();
    m_changed();
}

RevealedSecrets::RevealedSecrets(Clock &clock, std::function<void()> changed)
    : m_clock(clock)
    , m_changed(std::move(changed))
{
}

RevealedSecrets::~RevealedSecrets() = default;

void RevealedSecrets::set(QSet<std::int64_t> ids)
{
    for (auto it = m_timers.begin(); it != m_timers.end();)
        it = ids.contains(it.key()) ? std::next(it) : m_timers.erase(it);
    if (ids == m_ids)
        return;
    m_ids = std::move(ids);
    m_changed();
}

void RevealedSecrets::toggle(std::int64_t id)
{
    m_timers.remove(id);
    QSet<std::int64_t> ids = m_ids;
    if (ids.remove(id)) {
        set(std::move(ids));
        return;
    }
    ids.insert(id);
    set(std::move(ids));
    m_timers.insert(id, m_clock.schedule(revealMilliseconds, [this, id] {
        QSet<std::int64_t> remaining = m_ids;
        remaining.remove(id);
        set(std::move(remaining));
    }));
}

void RevealedSecrets::hideAll()
{
    m_timers.clear();
    set({});
}

void RevealedSecrets::retain(const std::function<bool(std::int64_t)> &exists)
{
    QSet<std::int64_t> kept;
    for (std::int64_t id : std::as_const(m_ids)) {
        if (exists(id))
            kept.insert(id);
    }
    set(std::move(kept));
}

} // namespace corvane
