#pragma once

#include <QByteArray>
#include <QList>

#include <xcb/xcb.h>

#include <optional>

namespace corvane::X11Support {

/** Qt's own X connection, or null when Qt runs on another platform. Main thread only. */
xcb_connection_t *connection();
/** The root window of the default screen (0 without a connection). */
xcb_window_t rootWindow(xcb_connection_t *connection);
/** The atom of @p name, interned once per process. */
xcb_atom_t atom(xcb_connection_t *connection, const char *name);
/** A property's raw value (at most @p maxBytes), or nothing when unset. */
std::optional<QByteArray> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                   quint32 maxBytes = 64 * 1024);
/** A property of 32-bit items (windows, atoms, cardinals). */
QList<quint32> property32(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type);

} // namespace corvane::X11Support
