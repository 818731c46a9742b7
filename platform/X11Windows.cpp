#include "X11Windows.h"

#include "DesktopEntries.h"
#include "X11ActiveWindow.h"
#include "X11Support.h"

#include <QFileInfo>

namespace corvane::X11Windows {

QList<quint32> clientList(xcb_connection_t *connection, xcb_window_t root)
{
    return X11Support::property32(connection, root, X11Support::atom(connection, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
}

std::optional<AppIdentity> identify(xcb_connection_t *connection, const DesktopEntries &entries, xcb_window_t window)
{
    const auto wmClass = X11Support::property(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    // WM_CLASS is "instance\0class\0".
    const QList<QByteArray> parts = wmClass ? wmClass->split('\0') : QList<QByteArray>();
    const QString instance = parts.size() > 0 ? QString::fromLocal8Bit(parts.at(0)) : QString();
    const QString klass = parts.size() > 1 ? QString::fromLocal8Bit(parts.at(1)) : QString();
    const QList<quint32> pids
        = X11Support::property32(connection, window, X11Support::atom(connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
    const qint64 pid = pids.isEmpty() ? 0 : qint64(pids.first());
    const QString executable = pid > 0 ? QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() : QString();
    auto identity = X11ActiveWindow::identify(entries, instance, klass, executable);
    if (identity)
        identity->pid = pid;
    return identity;
}

bool isRegular(xcb_connection_t *connection, xcb_window_t window)
{
    const auto atom = [connection](const char *name) { return X11Support::atom(connection, name); };
    const QList<quint32> types = X11Support::property32(connection, window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
    if (!types.isEmpty() && !types.contains(atom("_NET_WM_WINDOW_TYPE_NORMAL")))
        return false;
    const QList<quint32> states = X11Support::property32(connection, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    return !states.contains(atom("_NET_WM_STATE_SKIP_TASKBAR"));
}

} // namespace corvane::X11Windows
