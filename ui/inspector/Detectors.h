#pragma once

#include "DetectedDetail.h"

#include <QList>
#include <QString>

namespace corvane {

/** http(s):// and www. links (www. given https://), and e-mail addresses as blocking matches. */
QList<DetectorMatch> detectLinks(const QString &text);
/**
 * Valid phone numbers of the context's region or in international form (libphonenumber).
 * Stretches that start inside a `claimed` match (which would win the merge) are not looked at.
 */
QList<DetectorMatch> detectPhones(const QString &text, const DetectContext &context, const QList<DetectorMatch> &claimed = {});
/** Dates, times and ranges; the grammar is described in DateDetector.cpp. */
QList<DetectorMatch> detectDates(const QString &text, const DetectContext &context);
/** Flight numbers of the airlines in AirlineTable. */
QList<DetectorMatch> detectFlights(const QString &text);
/** Street addresses in US/UK, German and French forms. */
QList<DetectorMatch> detectAddresses(const QString &text);

} // namespace corvane
