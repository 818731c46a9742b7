#pragma once

#include "ActiveWindow.h"

#include <QList>

#include <xcb/xcb.h>

#include <optional>

namespace corvane {

class DesktopEntries;

/** @brief Reading other clients' top-level windows: the window list, their apps, their kind. */
namespace X11Windows {

/** The root window's _NET_CLIENT_LIST, oldest first. */
QList<quint32> clientList(xcb_connection_t *connection, xcb_window_t root);
/** The window's app from WM_CLASS and _NET_WM_PID matched to a desktop entry (see X11ActiveWindow::identify). */
std::optional<AppIdentity> identify(xcb_connection_t *connection, const DesktopEntries &entries, xcb_window_t window);
/** A normal window (or one of no stated type) that wants a taskbar entry: what a user calls an app window. */
bool isRegular(xcb_connection_t *connection, xcb_window_t window);

} // namespace X11Windows
} // namespace corvane
