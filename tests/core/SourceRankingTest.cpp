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
        // Ten years back a clip still weighs, however small: more of them still win.
        {"oldBulkStillCounts", {{"m", daysAgo(3650)}, {"m", daysAgo(3650)}, {"n", daysAgo(3650)}, {"o", daysAgo(0)}}, {"o", "m", "n"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SourceRanking::rank(c.clips), c.ranked) << c.name;
}

TEST(SourceRanking, WeightsAreExactWhateverTheOrderOfAddingAndTakingOut)
{
    const double dates[] = {1.7e9, 1.7e9 - 86400.5, 1.7e9 - 3 * 604800, 1.2e9, 1.7e9 + 0.001, 0, -5, 5e9};
    SourceRanking::Weight forwards;
    SourceRanking::Weight backwards;
    for (double date : dates)
        forwards.add(date);
    for (auto it = std::rbegin(dates); it != std::rend(dates); ++it)
        backwards.add(*it);
    EXPECT_EQ(forwards, backwards);

    // Taking a clip out undoes adding it exactly, carries and borrows included.
    SourceRanking::Weight some = forwards;
    some.add(1.65e9);
    some.remove(1.65e9);
    EXPECT_EQ(some, forwards);
    for (double date : dates)
        some.remove(date);
    EXPECT_TRUE(some.isZero());
    SourceRanking::Weight many;
    for (int i = 0; i < 3000; ++i)
        many.add(1.7e9);
    for (int i = 0; i < 3000; ++i)
        many.remove(1.7e9);
    EXPECT_TRUE(many.isZero());

    // Two clips a week (half life) older weigh as one clip.
    SourceRanking::Weight two;
    two.add(1.7e9 - 604800);
    two.add(1.7e9 - 604800);
    SourceRanking::Weight one;
    one.add(1.7e9);
    EXPECT_EQ(two, one);
    two.add(1.0);
    EXPECT_GT(two, one);
}

} // namespace
