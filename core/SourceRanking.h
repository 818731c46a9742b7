#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace corvane::SourceRanking {

/**
 * Orders source keys by recency-weighted frequency: each clip adds 0.5^(age in days / 7), age
 * counted from the newest date in the input (so no clock is needed). Ties: newest date first,
 * then key ascending. Each key appears once.
 */
QStringList rank(const QList<std::pair<QString, QDateTime>> &clips);

/** @brief One key's clips summed up for ranking: weights and newest date, seconds since 1970. */
struct Tally {
    QString key;
    double weight = 0;
    double newest = 0;
    bool dated = false;
};

/** A clip's weight: 0.5^(age in days / 7), `ageSeconds` behind the newest clip of the input. */
double weight(double ageSeconds);
/** Adds one dated clip to a tally. */
void add(Tally &tally, double createdAt, double newestOverall);
/** Whether `a` ranks before `b` in rank() order. */
bool before(const Tally &a, const Tally &b);

} // namespace corvane::SourceRanking
