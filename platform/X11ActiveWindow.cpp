#include "X11ActiveWindow.h"

#include "DesktopEntries.h"
#include "X11Support.h"
#include "X11Windows.h"

#include <QSet>

namespace corvane {

struct X11ActiveWindow::Private {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;

    xcb_atom_t atom(const char *name) const { return X11Support::atom(connection, name); }
};

X11ActiveWindow::X11ActiveWindow(const DesktopEntries &entries)
    : m_entries(entries)
    , d(new Private)
{
    d->connection = X11Support::connection();
    d->root = X11Support::rootWindow(d->connection);
}

X11ActiveWindow::~X11ActiveWindow() { delete d; }

bool X11ActiveWindow::isAvailable() const { return d->connection && d->root; }

std::optional<AppIdentity> X11ActiveWindow::frontmostApp() const
{
    if (!isAvailable())
        return std::nullopt;
    const QList<quint32> active = X11Support::property32(d->connection, d->root, d->atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (active.isEmpty() || active.first() == 0)
        return std::nullopt;
    return X11Windows::identify(d->connection, m_entries, active.first());
}

QList<AppIdentity> X11ActiveWindow::runningApps() const
{
    QList<AppIdentity> apps;
    if (!isAvailable())
        return apps;
    QSet<QString> seen;
    for (const quint32 window : X11Windows::clientList(d->connection, d->root)) {
        if (!X11Windows::isRegular(d->connection, window))
            continue;
        const auto identity = X11Windows::identify(d->connection, m_entries, window);
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
