#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace corvane {

class DesktopServices;

/** @brief The words the sidebar and the welcome tour greet the user with. */
namespace Greeting {

/**
 * The first name in an account's full name: honorifics and initials are passed over, the first
 * letter is upper-cased; "there" when the name holds nothing usable.
 */
QString firstNameFromFullName(const QString &fullName);
/** firstNameFromFullName of the account's full name. */
QString userFirstName(const DesktopServices &desktop);

/** "Good morning" (5-11), "Good afternoon" (12-16), "Good evening" (17-21), else "Hello". */
QString greetingForHour(int hour);
/** The greeting for the local hour of `when`. */
QString greeting(const QDateTime &when);
/** "Good morning, Maria". */
QString greetingLine(const QDateTime &when, const QString &firstName);
/** "Hey Maria, welcome". */
QString welcomeLine(const QString &firstName);
/** "12 items · 3 pinned" ("1 item" for one). */
QString countsLine(std::int64_t items, std::int64_t pinned);

} // namespace Greeting
} // namespace corvane
