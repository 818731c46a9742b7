#pragma once

#include "ProcessSingleton.h"

#include <QDateTime>
#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace corvane {

class DesktopServices;

/**
 * @brief The user's first name and the computer's name for the greeting card and the welcome
 * tour, read afresh on every call, from the desktop the app (or a test) hands in.
 */
class UserGreeting : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static UserGreeting &instance();
    static UserGreeting *create(QQmlEngine *, QJSEngine *) { return processSingleton<UserGreeting>(); }

    /** Not owned; nullptr: no desktop, so no names. */
    void setDesktopServices(DesktopServices *desktop);

    Q_INVOKABLE QString firstName() const;
    Q_INVOKABLE QString computerName() const;
    /** "Good morning, Maria" for `now`. */
    Q_INVOKABLE QString greetingLine(const QDateTime &now) const;
    /** "Hey Maria, welcome". */
    Q_INVOKABLE QString welcomeLine() const;

private:
    explicit UserGreeting(QObject *parent = nullptr);

    DesktopServices *m_desktop = nullptr;
};

} // namespace corvane
