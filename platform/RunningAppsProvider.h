#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace corvane {

/** @brief One running application as the desktop reports it, one entry per top-level window. */
struct RunningApp {
    /** Desktop-entry id, else the lower-cased WM_CLASS class; empty when the window names no app. */
    QString id;
    /** The desktop entry's Name; empty when there is none. */
    QString name;
    /** A normal window that wants a taskbar entry (docks, panels and tool windows are not). */
    bool regular = true;
    bool operator==(const RunningApp &) const = default;
};

/**
 * @brief The applications running on the desktop and when a new one appears.
 *
 * Where the desktop cannot be observed (no X11), isAvailable() is false and the list is empty.
 */
class RunningAppsProvider : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool isAvailable() const = 0;
    /** Other programs' apps in window-list order; Corvane's own windows are left out. Repeats allowed. */
    virtual QList<RunningApp> runningApps() const = 0;

signals:
    /** The desktop's window list changed (a window opened or closed). */
    void windowListChanged();
};

} // namespace corvane
