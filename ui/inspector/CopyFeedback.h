#pragma once

#include <functional>
#include <memory>

namespace corvane {

class Clock;
class TimerHandle;

/**
 * @brief The "Copied" check mark of the copy button: on after a copy that worked, off 1.4 s after
 * the last one. Each copy restarts the one timer, so a second click keeps the mark its full time.
 */
class CopyFeedback
{
public:
    static constexpr int showMs = 1400;

    /** Without a clock (a view made before its store) nothing is shown until `setClock`. */
    CopyFeedback(Clock *clock, std::function<void()> changed);
    ~CopyFeedback();

    bool copied() const { return m_copied; }
    /** After a copy: `succeeded` false (the store warned) clears the mark rather than showing it. */
    void copyFinished(bool succeeded);
    /** Another clip: the mark belongs to the one that was copied. */
    void reset();
    void setClock(Clock *clock);

private:
    void set(bool copied);

    Clock *m_clock;
    std::function<void()> m_changed;
    std::unique_ptr<TimerHandle> m_timer;
    bool m_copied = false;
};

} // namespace corvane
