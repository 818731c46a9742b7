#pragma once

#include "RunningAppsProvider.h"

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

namespace corvane {

class DesktopEntries;

/**
 * @brief Running apps from the root window's _NET_CLIENT_LIST over Qt's X connection, matched to
 * desktop entries; a PropertyNotify of that list reports a change. Main thread.
 */
class X11RunningApps : public RunningAppsProvider, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11RunningApps(const DesktopEntries &entries, QObject *parent = nullptr);
    ~X11RunningApps() override;

    bool isAvailable() const override;
    QList<RunningApp> runningApps() const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    const DesktopEntries &m_entries;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_clientListAtom = 0;
};

} // namespace corvane
