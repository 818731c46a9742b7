#include "SourceRanking.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

#include <QTimeZone>

using namespace corvane;

namespace {

TEST(SourceRanking, RecencyWeightedFrequency)
{
    const QDateTime newest(QDate(2024, 5, 20), QTime(12, 0), QTimeZone::utc());
    auto daysAgo = [&](double days) { return newest.addSecs(qint64(-days * 86400)); };
    const struct {
        const char *name;
        QList<std::pair<QString, QDateTime>> clips;
        QStringList ranked;
    } cases[] = {
        {"empty", {}, {}},
        {"moreClipsWin", {{"a", daysAgo(0)}, {"b", daysAgo(0)}, {"b", daysAgo(1)}}, {"b", "a"}},
        // Three clips five weeks ago weigh 3/32; one clip a week ago weighs 1/2.
        {"recentBeatsOldBulk",
         {{"old", daysAgo(35)}, {"old", daysAgo(35)}, {"old", daysAgo(35)}, {"new", daysAgo(7)}},
         {"new", "old"}},
        // Age counts from the newest date in the input, not from a clock.
        {"relativeToNewest", {{"x", daysAgo(400)}, {"y", daysAgo(401)}}, {"x", "y"}},
        // Equal scores: newest date first, then key ascending.
        {"tieByNewestDate", {{"a", daysAgo(7)}, {"a", daysAgo(7)}, {"b", daysAgo(0)}}, {"b", "a"}},
        {"tieByKey", {{"web:b.example", daysAgo(2)}, {"web:a.example", daysAgo(2)}}, {"web:a.example", "web:b.example"}},
        {"invalidDateLast", {{"z", QDateTime()}, {"a", daysAgo(3)}}, {"a", "z"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SourceRanking::rank(c.clips), c.ranked) << c.name;
}

} // namespace
