#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace corvane::SourceRanking {

/**
 * Orders source keys by recency-weighted frequency: each clip adds 0.5^(age in days / 7), age
 * counted from the newest date in the input (so no clock is needed). Ties: newest date first,
 * then key ascending. Each key appears once.
 */
QStringList rank(const QList<std::pair<QString, QDateTime>> &clips);

} // namespace corvane::SourceRanking
