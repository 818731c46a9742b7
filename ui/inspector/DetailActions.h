#pragma once

#include "DetectedDetail.h"
#include "ServiceHosts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

#include <optional>

namespace corvane {

/**
 * What a detail's action opens (dates excepted: they write a calendar file). Addresses go to a
 * `geo:` handler when the desktop has one, else to a web map search.
 */
QUrl actionURL(const DetectedDetail &detail, const ServiceHosts &hosts = {}, bool hasGeoHandler = false);

/** The event's length: the detected duration, or an hour when none was given. */
double eventDuration(const DetectedDetail &detail);

/**
 * A one-event iCalendar file (RFC 5545): CRLF line ends, TEXT escaped, lines folded at 75
 * octets, times in UTC written with the C locale whatever the user's calendar.
 */
QByteArray buildICS(const QString &title, const QDateTime &start, double durationSeconds, const QDateTime &now, const QUuid &uid);

/** Writes "Corvane Event.ics" (0600) into `folder`; the path, or nothing when it failed. */
std::optional<QString> writeCalendarEvent(const QString &folder, const QByteArray &ics);

/** Runs a detail's action with the inspector's desktop. */
void performDetail(const DetectedDetail &detail, const ServiceHosts &hosts = {});

} // namespace corvane
