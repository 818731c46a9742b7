#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTimeZone>

#include <cstdint>
#include <optional>

namespace corvane::ClipText {

/** A byte count in decimal file-size units: "0 bytes", "1 byte", "12 KB", "1.5 MB", "1 GB". */
QString byteCount(std::int64_t bytes);

/**
 * A short age: "just now", "5 min ago", "3 hr ago", "yesterday", "4 days ago", "Mar 5" or
 * "Mar 5, 2024". Calendar days are counted in `zone`, so DST days are handled.
 */
QString relativeTime(const QDateTime &from, const QDateTime &now, const QTimeZone &zone);

/** The numeric id (6-12 digits after "id") of an App Store link in the text, or nothing. */
std::optional<QString> appStoreID(QStringView text);

/** "Today", "Yesterday" or "Tuesday, March 5" (", 2024" when the year differs), in `zone`. */
QString dayTitle(const QDateTime &day, const QDateTime &now, const QTimeZone &zone);

/** Start of the calendar day holding `moment` in `zone`, and of the day after (DST-safe). */
QDateTime startOfDay(const QDateTime &moment, const QTimeZone &zone);
QDateTime startOfNextDay(const QDateTime &moment, const QTimeZone &zone);

} // namespace corvane::ClipText
