#include "CopyFeedback.h"

#include "Clock.h"

namespace corvane {

CopyFeedback::CopyFeedback(Clock *clock, std::function<void()> changed)
    : m_clock(clock)
    , m_changed(std::move(changed))
{
}

CopyFeedback::~CopyFeedback() = default;

void CopyFeedback::copyFinished(bool succeeded)
{
    if (!succeeded || !m_clock) {
        reset();
        return;
    }
    m_timer = m_clock->schedule(showMs, [this] { set(false); });
    set(true);
}

void CopyFeedback::reset()
{
    m_timer.reset();
    set(false);
}

void CopyFeedback::setClock(Clock *clock)
{
    if (m_clock == clock)
        return;
    reset();
    m_clock = clock;
}

void CopyFeedback::set(bool copied)
{
    if (m_copied == copied)
        return;
    m_copied = copied;
    if (m_changed)
        m_changed();
}

} // namespace corvane
