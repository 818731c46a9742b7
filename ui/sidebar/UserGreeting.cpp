#include "UserGreeting.h"

#include "Greeting.h"
#include "DesktopServices.h"

namespace corvane {

UserGreeting &UserGreeting::instance()
{
    static UserGreeting greeting;
    return greeting;
}

UserGreeting::UserGreeting(QObject *parent)
    : QObject(parent)
{
}

void UserGreeting::setDesktopServices(DesktopServices *desktop) { m_desktop = desktop; }

// Without the application's desktop (set at start-up) the greeting names no one.
QString UserGreeting::firstName() const
{
    return m_desktop ? Greeting::userFirstName(*m_desktop) : Greeting::firstNameFromFullName(QString());
}

QString UserGreeting::computerName() const { return m_desktop ? m_desktop->computerName() : QString(); }

QString UserGreeting::greetingLine(const QDateTime &now) const { return Greeting::greetingLine(now, firstName()); }

QString UserGreeting::welcomeLine() const { return Greeting::welcomeLine(firstName()); }

} // namespace corvane
