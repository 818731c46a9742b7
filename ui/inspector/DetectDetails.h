#pragma once

#include "DetectedDetail.h"

#include <QList>
#include <QString>

namespace corvane {

/** Only this many UTF-16 units of a text are scanned. */
inline constexpr qsizetype detailScanLimit = 5000;

/**
 * The details found in the first 5,000 units of `text`, in text order, at most `limit`, each with
 * a new id. Where detectors overlap, the earliest match wins; on equal starts link, date, flight,
 * phone, address in that order. A label seen before (ignoring case) is not listed again. Safe on
 * any thread.
 */
QList<DetectedDetail> detectDetails(const QString &text, int limit, const DetectContext &context = {});

/** The detectors' matches merged by position and priority (what detectDetails lists from). */
QList<DetectorMatch> mergeMatches(QList<DetectorMatch> matches);

} // namespace corvane
