#pragma once

#include "DesktopSettings.h"

namespace corvane {

/** @brief Desktop settings a test switches; emits like the real one. */
class FakeDesktopSettings : public DesktopSettings
{
    Q_OBJECT

public:
    explicit FakeDesktopSettings(QObject *parent = nullptr)
        : DesktopSettings(parent)
    {
    }

    void setReduceMotion(bool on) { update(on, reduceTransparency()); }
    void setReduceTransparency(bool on) { update(reduceMotion(), on); }
};

} // namespace corvane
