#include "StatusPopoverHost.h"

#include "QmlWindow.h"
#include "StatusItemController.h"

namespace corvane {

StatusPopoverHost::StatusPopoverHost(StatusItemController &statusItem, Actions actions, QObject *parent)
    : PopoverHost(parent)
    , m_statusItem(statusItem)
    , m_actions(std::move(actions))
{
    QmlWindow &popover = m_statusItem.popover();
    connect(&popover, &QmlWindow::built, this,
            [this](QQuickWindow *window) { connect(window, &QWindow::visibleChanged, this, &PopoverHost::isShownChanged); });
}

bool StatusPopoverHost::isShown() const { return m_statusItem.isShown(); }

void StatusPopoverHost::performClose() { m_statusItem.performClose(); }

void StatusPopoverHost::showMainWindow()
{
    m_statusItem.performClose();
    m_actions.showMainWindow();
}

void StatusPopoverHost::showSettingsWindow()
{
    m_statusItem.performClose();
    m_actions.showSettingsWindow();
}

void StatusPopoverHost::quit() { m_actions.quit(); }

} // namespace corvane
