#pragma once

#include "Clock.h"

#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief A clock that only moves when told to.
 *
 * advance() fires every callback that falls due, in due-time order (ties in scheduling order),
 * with now() set to each callback's due time while it runs. Callbacks scheduled while advancing
 * fire too when they fall inside the advanced span.
 */
class FakeClock : public Clock
{
public:
    /** Starts at 2026-01-01 12:00 UTC unless given another time. */
    explicit FakeClock(QDateTime start = {});
    ~FakeClock() override;

    QDateTime now() const override;
    std::unique_ptr<TimerHandle> schedule(int ms, std::function<void()> callback) override;
    std::unique_ptr<TimerHandle> scheduleRepeating(int ms, std::function<void()> callback) override;

    void advance(qint64 ms);
    /** Jumps the time without firing anything (a wall-clock change). */
    void setNow(const QDateTime &time);
    /** Callbacks still due (cancelled ones excluded). */
    int pendingCount() const;

    struct Entry;

private:
    std::unique_ptr<TimerHandle> add(qint64 ms, bool repeating, std::function<void()> callback);

    QDateTime m_start;
    qint64 m_elapsed = 0;
    std::uint64_t m_nextSequence = 0;
    std::vector<std::shared_ptr<Entry>> m_entries;
};

} // namespace corvane
