#pragma once

#include "Notice.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace corvane {

class Clock;
class TimerHandle;

/** @brief Whether recording is paused, until when, and the timed resume. */
class PauseState
{
public:
    /** `changed` runs after every real change, with the new paused state. */
    PauseState(Clock &clock, std::function<void(bool isPaused)> changed);
    ~PauseState();

    bool isPaused() const { return m_isPaused; }
    /** Invalid for a pause without an end. */
    QDateTime end() const { return m_end; }
    /** Pauses; above 0 seconds it resumes by itself then. A new pause replaces the old one's end. */
    void pause(std::optional<double> seconds);
    void resume();

private:
    Clock &m_clock;
    std::function<void(bool)> m_changed;
    bool m_isPaused = false;
    QDateTime m_end;
    std::unique_ptr<TimerHandle> m_resumeTimer;
};

/** @brief The one notice shown at a time, cleared when its lifetime ends. */
class NoticeBoard
{
public:
    NoticeBoard(Clock &clock, std::function<void()> changed);
    ~NoticeBoard();

    const std::optional<Notice> &current() const { return m_notice; }
    /** Replaces the current notice; the new one lives its full time. */
    void show(const QString &message, Notice::Kind kind);
    void dismiss();

private:
    Clock &m_clock;
    std::function<void()> m_changed;
    std::optional<Notice> m_notice;
    std::unique_ptr<TimerHandle> m_timer;
};

/** @brief The secret clips shown in clear, each hidden again a minute after it was revealed. */
class RevealedSecrets
{
public:
    static constexpr int revealMilliseconds = 60'000;

    RevealedSecrets(Clock &clock, std::function<void()> changed);
    ~RevealedSecrets();

    const QSet<std::int64_t> &ids() const { return m_ids; }
    bool contains(std::int64_t id) const { return m_ids.contains(id); }
    /** Hides a revealed clip; reveals a hidden one for revealMilliseconds. */
    void toggle(std::int64_t id);
    void hideAll();
    /** Keeps only the ids that still `exist`. */
    void retain(const std::function<bool(std::int64_t)> &exists);

private:
    void set(QSet<std::int64_t> ids);

    Clock &m_clock;
    std::function<void()> m_changed;
    QSet<std::int64_t> m_ids;
    QHash<std::int64_t, std::shared_ptr<TimerHandle>> m_timers;
};

} // namespace corvane
