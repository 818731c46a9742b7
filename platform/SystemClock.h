#pragma once

#include "Clock.h"

namespace corvane {

/** @brief The real clock: system time and QTimer (coarse timers, about 5% tolerance). */
class SystemClock : public Clock
{
public:
    QDateTime now() const override;
    std::unique_ptr<TimerHandle> schedule(int ms, std::function<void()> callback) override;
    std::unique_ptr<TimerHandle> scheduleRepeating(int ms, std::function<void()> callback) override;
};

} // namespace corvane
