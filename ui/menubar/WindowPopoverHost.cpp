#include "WindowPopoverHost.h"

#include <QCoreApplication>

namespace corvane {

void WindowPopoverHost::setWindow(QQuickWindow *window)
{
    if (m_window == window)
        return;
    if (m_window)
        disconnect(m_window, nullptr, this, nullptr);
    m_window = window;
    if (m_window)
        connect(m_window, &QWindow::visibleChanged, this, &PopoverHost::isShownChanged);
    emit windowChanged();
    emit isShownChanged();
}

void WindowPopoverHost::performClose()
{
    if (m_window)
        m_window->close();
}

void WindowPopoverHost::quit() { QCoreApplication::quit(); }

} // namespace corvane
