#include "X11ActiveWindow.h"

#include "DesktopEntries.h"
#include "X11Support.h"

#include <QFileInfo>
#include <QSet>

namespace corvane {

struct X11ActiveWindow::Private
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;

    xcb_atom_t atom(const char *name) const { return X11Support::atom(connection, name); }

    std::optional<AppIdentity> identify(const DesktopEntries &entries, xcb_window_t window) const
    {
        const auto wmClass = X11Support::property(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
        // WM_CLASS is "instance\0class\0".
        const QList<QByteArray> parts = wmClass ? wmClass->split('\0') : QList<QByteArray>();
        const QString instance = parts.size() > 0 ? QString::fromLocal8Bit(parts.at(0)) : QString();
        const QString klass = parts.size() > 1 ? QString::fromLocal8Bit(parts.at(1)) : QString();
        const QList<quint32> pids = X11Support::property32(connection, window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
        const qint64 pid = pids.isEmpty() ? 0 : qint64(pids.first());
        const QString executable =
            pid > 0 ? QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() : QString();
        auto identity = X11ActiveWindow::identify(entries, instance, klass, executable);
        if (identity)
            identity->pid = pid;
        return identity;
    }

    bool isNormalWindow(xcb_window_t window) const
    {
        const QList<quint32> types =
            X11Support::property32(connection, window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
        if (!types.isEmpty() && !types.contains(atom("_NET_WM_WINDOW_TYPE_NORMAL")))
            return false;
        const QList<quint32> states = X11Support::property32(connection, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
        return !states.contains(atom("_NET_WM_STATE_SKIP_TASKBAR"));
    }
};

X11ActiveWindow::X11ActiveWindow(const DesktopEntries &entries) : m_entries(entries), d(new Private)
{
    d->connection = X11Support::connection();
    d->root = X11Support::rootWindow(d->connection);
}

X11ActiveWindow::~X11ActiveWindow()
{
    delete d;
}

bool X11ActiveWindow::isAvailable() const
{
    return d->connection && d->root;
}

std::optional<AppIdentity> X11ActiveWindow::frontmostApp() const
{
    if (!isAvailable())
        return std::nullopt;
    const QList<quint32> active =
        X11Support::property32(d->connection, d->root, d->atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (active.isEmpty() || active.first() == 0)
        return std::nullopt;
    return d->identify(m_entries, active.first());
}

QList<AppIdentity> X11ActiveWindow::runningApps() const
{
    QList<AppIdentity> apps;
    if (!isAvailable())
        return apps;
    QSet<QString> seen;
    const QList<quint32> windows =
        X11Support::property32(d->connection, d->root, d->atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    for (const quint32 window : windows) {
        if (!d->isNormalWindow(window))
            continue;
        const auto identity = d->identify(m_entries, window);
        if (identity && !seen.contains(identity->id)) {
            seen.insert(identity->id);
            apps.append(*identity);
        }
    }
    return apps;
}

std::optional<AppIdentity> X11ActiveWindow::identify(const DesktopEntries &entries, const QString &wmInstance,
                                                     const QString &wmClass, const QString &executable)
{
    if (const auto id = entries.matchWindow(wmInstance, wmClass, executable)) {
        const auto entry = entries.entry(*id);
        return AppIdentity{*id, entry ? entry->name : QString(), 0};
    }
    const QString name = wmClass.isEmpty() ? wmInstance : wmClass;
    if (name.isEmpty())
        return std::nullopt;
    return AppIdentity{name.toLower(), name, 0};
}

} // namespace corvane
