#include "X11Support.h"
#include "XcbReply.h"

#include <QGuiApplication>
#include <QHash>

#include <cstdlib>
#include <cstring>

namespace corvane::X11Support {

xcb_connection_t *connection()
{
    auto *app = qGuiApp;
    if (!app)
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t *connection)
{
    if (!connection)
        return 0;
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : 0;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    static QHash<QByteArray, xcb_atom_t> cache;
    const QByteArray key(name);
    if (auto found = cache.constFind(key); found != cache.cend())
        return *found;
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE)
        cache.insert(key, value);
    return value;
}

std::optional<QByteArray> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                   quint32 maxBytes)
{
    if (!connection || !window || property == XCB_ATOM_NONE)
        return std::nullopt;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, property, type, 0, (maxBytes + 3) / 4);
    // Taking the error here keeps it out of Qt's event queue: windows of other programs may
    // vanish at any moment, and a BadWindow is no news.
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, &error));
    const XcbReply<xcb_generic_error_t> ignored(error);
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    const int bytes = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), bytes);
}

QList<quint32> property32(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    QList<quint32> items;
    const auto value = X11Support::property(connection, window, property, type, 256 * 1024);
    if (!value)
        return items;
    const qsizetype count = value->size() / qsizetype(sizeof(quint32));
    items.resize(count);
    std::memcpy(items.data(), value->constData(), size_t(count) * sizeof(quint32));
    return items;
}

} // namespace corvane::X11Support
