#include "SourceRanking.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvane::SourceRanking {
namespace {

/** @brief Accumulated weight and newest date of one source key. */
struct Entry {
    QString key;
    double score = 0;
    QDateTime newest;
};

constexpr double halfLifeDays = 7.0;
constexpr double secondsPerDay = 86400.0;

} // namespace

QStringList rank(const QList<std::pair<QString, QDateTime>> &clips)
{
    QDateTime newestOverall;
    for (const auto &[key, date] : clips) {
        if (date.isValid() && (!newestOverall.isValid() || date > newestOverall))
            newestOverall = date;
    }
    std::vector<Entry> entries;
    QHash<QString, size_t> indexOf;
    for (const auto &[key, date] : clips) {
        auto found = indexOf.constFind(key);
        if (found == indexOf.cend()) {
            found = indexOf.insert(key, entries.size());
            entries.push_back({key, 0, {}});
        }
        Entry &entry = entries[*found];
        // An invalid date counts as very old rather than breaking the order.
        if (!date.isValid())
            continue;
        const double ageDays = double(date.msecsTo(newestOverall)) / 1000.0 / secondsPerDay;
        entry.score += std::pow(0.5, ageDays / halfLifeDays);
        if (!entry.newest.isValid() || date > entry.newest)
            entry.newest = date;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.newest != b.newest)
            return a.newest.isValid() && (!b.newest.isValid() || a.newest > b.newest);
        return a.key < b.key;
    });
    QStringList keys;
    keys.reserve(qsizetype(entries.size()));
    for (const Entry &entry : entries)
        keys.append(entry.key);
    return keys;
}

} // namespace corvane::SourceRanking
