#include "SourceRanking.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace corvane::SourceRanking {
namespace {

constexpr double halfLifeDays = 7.0;
constexpr double secondsPerDay = 86400.0;

} // namespace

double weight(double ageSeconds) { return std::exp2(-ageSeconds / secondsPerDay / halfLifeDays); }

void add(Tally &tally, double createdAt, double newestOverall)
{
    tally.weight += weight(newestOverall - createdAt);
    if (!tally.dated || createdAt > tally.newest)
        tally.newest = createdAt;
    tally.dated = true;
}

bool before(const Tally &a, const Tally &b)
{
    if (a.weight != b.weight)
        return a.weight > b.weight;
    if (a.dated != b.dated || a.newest != b.newest)
        return a.dated && (!b.dated || a.newest > b.newest);
    return a.key < b.key;
}

QStringList rank(const QList<std::pair<QString, QDateTime>> &clips)
{
    std::optional<double> newestOverall;
    for (const auto &[key, date] : clips) {
        if (date.isValid())
            newestOverall = std::max(newestOverall.value_or(-1e300), date.toMSecsSinceEpoch() / 1000.0);
    }
    std::vector<Tally> tallies;
    QHash<QString, size_t> indexOf;
    for (const auto &[key, date] : clips) {
        auto found = indexOf.constFind(key);
        if (found == indexOf.cend()) {
            found = indexOf.insert(key, tallies.size());
            tallies.push_back({key});
        }
        // An invalid date counts as very old rather than breaking the order.
        if (date.isValid())
            add(tallies[*found], date.toMSecsSinceEpoch() / 1000.0, *newestOverall);
    }
    std::sort(tallies.begin(), tallies.end(), before);
    QStringList keys;
    keys.reserve(qsizetype(tallies.size()));
    for (const Tally &tally : tallies)
        keys.append(tally.key);
    return keys;
}

} // namespace corvane::SourceRanking
