#pragma once

#include "ActiveWindow.h"

namespace corvane {

/** @brief Frontmost and running apps set by the test. */
class FakeActiveWindow : public ActiveWindow
{
public:
    bool isAvailable() const override { return m_available; }
    std::optional<AppIdentity> frontmostApp() const override { return m_frontmost; }
    QList<AppIdentity> runningApps() const override { return m_running; }
    bool isSecureInputActive() const override { return m_secureInput; }

    void setAvailable(bool available) { m_available = available; }
    void setFrontmostApp(std::optional<AppIdentity> app) { m_frontmost = std::move(app); }
    void setRunningApps(QList<AppIdentity> apps) { m_running = std::move(apps); }
    void setSecureInputActive(bool active) { m_secureInput = active; }

private:
    bool m_available = true;
    std::optional<AppIdentity> m_frontmost;
    QList<AppIdentity> m_running;
    bool m_secureInput = false;
};

} // namespace corvane
