#pragma once

#include "PopoverHost.h"

#include <functional>

namespace corvane {

class StatusItemController;

/** @brief Lets the popover close itself, bring the app's windows forward or quit. */
class StatusPopoverHost : public PopoverHost
{
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> showMainWindow;
        std::function<void()> showSettingsWindow;
        std::function<void()> quit;
    };

    StatusPopoverHost(StatusItemController &statusItem, Actions actions, QObject *parent = nullptr);

    bool isShown() const override;
    void performClose() override;
    void showMainWindow() override;
    void showSettingsWindow() override;
    void quit() override;

private:
    StatusItemController &m_statusItem;
    Actions m_actions;
};

} // namespace corvane
