#include "UserGreeting.h"

#include "Greeting.h"
#include "LinuxDesktopServices.h"

namespace corvane {

UserGreeting &UserGreeting::instance()
{
    static UserGreeting greeting;
    return greeting;
}

UserGreeting::UserGreeting(QObject *parent) : QObject(parent) {}

void UserGreeting::setDesktopServices(DesktopServices *desktop) { m_desktop = desktop; }

const DesktopServices &UserGreeting::desktop() const
{
    static const LinuxDesktopServices system;
    if (m_desktop)
        return *m_desktop;
    return system;
}

QString UserGreeting::firstName() const { return Greeting::userFirstName(desktop()); }

QString UserGreeting::computerName() const { return desktop().computerName(); }

QString UserGreeting::greetingLine(const QDateTime &now) const { return Greeting::greetingLine(now, firstName()); }

QString UserGreeting::welcomeLine() const { return Greeting::welcomeLine(firstName()); }

} // namespace corvane
