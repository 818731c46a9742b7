#include "X11RunningApps.h"
#include "XcbReply.h"

#include "X11Support.h"
#include "X11Windows.h"

#include <QCoreApplication>

#include <cstdlib>

namespace corvane {

X11RunningApps::X11RunningApps(const DesktopEntries &entries, QObject *parent)
    : RunningAppsProvider(parent)
    , m_entries(entries)
    , m_connection(X11Support::connection())
    , m_root(X11Support::rootWindow(m_connection))
{
    if (!isAvailable())
        return;
    m_clientListAtom = X11Support::atom(m_connection, "_NET_CLIENT_LIST");
    // Add property changes to the root's event mask Qt already chose, without dropping its bits.
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, m_root), nullptr));
    const quint32 mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11RunningApps::~X11RunningApps()
{
    if (isAvailable() && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11RunningApps::isAvailable() const { return m_connection && m_root; }

QList<RunningApp> X11RunningApps::runningApps() const
{
    QList<RunningApp> apps;
    if (!isAvailable())
        return apps;
    const qint64 self = QCoreApplication::applicationPid();
    for (const quint32 window : X11Windows::clientList(m_connection, m_root)) {
        const auto identity = X11Windows::identify(m_connection, m_entries, window);
        if (!identity || identity->pid == self)
            continue;
        apps.append({identity->id, identity->name, X11Windows::isRegular(m_connection, window)});
    }
    return apps;
}

bool X11RunningApps::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    if (notify->window == m_root && notify->atom == m_clientListAtom)
        emit windowListChanged();
    return false;
}

} // namespace corvane
