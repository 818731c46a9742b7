#pragma once

#include "RunningAppsProvider.h"

namespace corvane {

/** @brief Running apps set by the test; setApps() announces a window-list change. */
class FakeRunningApps : public RunningAppsProvider
{
public:
    bool isAvailable() const override { return m_available; }
    QList<RunningApp> runningApps() const override
    {
        ++m_reads;
        return m_available ? m_apps : QList<RunningApp>();
    }

    void setAvailable(bool available) { m_available = available; }
    void setApps(QList<RunningApp> apps)
    {
        m_apps = std::move(apps);
        emit windowListChanged();
    }
    int reads() const { return m_reads; }

private:
    bool m_available = true;
    QList<RunningApp> m_apps;
    mutable int m_reads = 0;
};

} // namespace corvane
