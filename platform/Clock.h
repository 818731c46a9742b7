#pragma once

#include <QDateTime>

#include <functional>
#include <memory>

namespace corvane {

/** @brief A scheduled callback; destroying the handle cancels it. */
class TimerHandle
{
public:
    virtual ~TimerHandle() = default;
    /** Stops the callback from running (again). Safe to call more than once. */
    virtual void cancel() = 0;
    /** True while the callback is still due (single-shot) or repeating. */
    virtual bool isActive() const = 0;
};

/**
 * @brief Wall-clock time and timers, injectable so timed behaviour is tested without sleeping.
 *
 * Callbacks run on the thread that owns the clock (the main thread), never re-entrantly
 * from schedule(). A callback may destroy its own handle.
 */
class Clock
{
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;

    /** Runs @p callback once, @p ms milliseconds from now. */
    [[nodiscard]] virtual std::unique_ptr<TimerHandle> schedule(int ms, std::function<void()> callback) = 0;

    /** Runs @p callback every @p ms milliseconds until the handle is cancelled or destroyed. */
    [[nodiscard]] virtual std::unique_ptr<TimerHandle> scheduleRepeating(int ms, std::function<void()> callback) = 0;
};

} // namespace corvane
