#include "ClipText.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace corvane;

namespace {

TEST(ClipTextByteCount, UsesDecimalUnitsWithPerUnitPrecision)
{
    const std::pair<std::int64_t, const char *> cases[] = {
        {0, "0 bytes"},
        {1, "1 byte"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1499, "1 KB"},
        {999'499, "999 KB"},
        {999'999, "1 MB"}, // not "1000 KB"
        {1'250'000, "1.3 MB"},
        {250'000'000, "250 MB"},
        {500'000'000, "500 MB"},
        {1'000'000'000, "1 GB"},
        {1'500'000'000, "1.5 GB"},
        {2'000'000'000, "2 GB"},
        {5'000'000'000, "5 GB"},
        {1'234'567'890, "1.23 GB"},
        {3'000'000'000'000, "3 TB"},
        {-2'000, "-2 KB"},
        {std::numeric_limits<std::int64_t>::max(), "9.22 EB"},
        {std::numeric_limits<std::int64_t>::min(), "-9.22 EB"},
    };
    for (const auto &[bytes, text] : cases)
        EXPECT_EQ(ClipText::byteCount(bytes), QString::fromLatin1(text)) << bytes;
}

TEST(ClipTextAppStoreID, TakesSixToTwelveDigitsAfterId)
{
    const std::pair<const char *, const char *> cases[] = {
        {"https://apps.apple.com/us/app/things-3/id904237743", "904237743"},
        {"Get it: https://apps.apple.com/app/id123456?mt=12 now", "123456"},
        {"https://itunes.apple.com/de/app/x/id123456789012", "123456789012"},
        {"https://apps.apple.com/app/id12345", nullptr},         // 5 digits
        {"https://apps.apple.com/app/id1234567890123", nullptr}, // 13 digits
        {"https://example.com/app/id904237743", nullptr},        // not the App Store
        {"https://apps.apple.com/app/myid904237743", nullptr},   // "id" inside a word
        {"id904237743", nullptr},
    };
    for (const auto &[text, id] : cases) {
        const auto found = ClipText::appStoreID(QString::fromLatin1(text));
        if (id)
            EXPECT_EQ(found, std::optional(QString::fromLatin1(id))) << text;
        else
            EXPECT_FALSE(found.has_value()) << text;
    }
}

/** @brief Berlin: DST began 2024-03-31 02:00 (23-hour day) and ended 2024-10-27 03:00 (25 hours). */
class ClipTextCalendar : public testing::Test
{
protected:
    const QTimeZone zone{"Europe/Berlin"};
    QDateTime at(int y, int m, int d, int h, int min = 0) const { return QDateTime(QDate(y, m, d), QTime(h, min), zone); }
};

TEST_F(ClipTextCalendar, RelativeTimeCountsCalendarDays)
{
    ASSERT_TRUE(zone.isValid());
    const QDateTime now = at(2024, 6, 12, 10, 30);
    const std::pair<QDateTime, const char *> cases[] = {
        {now.addSecs(3600), "just now"}, // future
        {now.addSecs(-59), "just now"},
        {now.addSecs(-60), "1 min ago"},
        {now.addSecs(-59 * 60 - 59), "59 min ago"},
        {now.addSecs(-3600), "1 hr ago"},
        {at(2024, 6, 12, 0, 5), "10 hr ago"},
        {at(2024, 6, 11, 23, 59), "yesterday"}, // 10.5 h ago, but on the previous calendar day
        {at(2024, 6, 11, 0, 0), "yesterday"},
        {at(2024, 6, 10, 23, 0), "2 days ago"},
        {at(2024, 6, 6, 0, 0), "6 days ago"},
        {at(2024, 6, 5, 23, 0), "Jun 5"},
        {at(2023, 12, 31, 12, 0), "Dec 31, 2023"},
    };
    for (const auto &[from, text] : cases)
        EXPECT_EQ(ClipText::relativeTime(from, now, zone), QString::fromLatin1(text)) << from.toString().toStdString();
}

TEST_F(ClipTextCalendar, RelativeTimeAroundMidnightYearEndAndDst)
{
    // Five minutes after midnight, a copy from ten minutes earlier is minutes old, not "yesterday".
    EXPECT_EQ(ClipText::relativeTime(at(2024, 6, 11, 23, 55), at(2024, 6, 12, 0, 5), zone), "10 min ago");
    EXPECT_EQ(ClipText::relativeTime(at(2024, 6, 11, 22, 0), at(2024, 6, 12, 0, 5), zone), "yesterday");
    EXPECT_EQ(ClipText::relativeTime(at(2023, 12, 31, 20, 0), at(2024, 1, 1, 9, 0), zone), "yesterday");
    EXPECT_EQ(ClipText::relativeTime(at(2023, 12, 20, 20, 0), at(2024, 1, 1, 9, 0), zone), "Dec 20, 2023");
    // The day after the 23-hour day: 23 h after its midnight is still that day.
    EXPECT_EQ(ClipText::relativeTime(at(2024, 3, 31, 0, 0), at(2024, 3, 31, 23, 30), zone), "22 hr ago");
    EXPECT_EQ(ClipText::relativeTime(at(2024, 10, 27, 0, 30), at(2024, 10, 28, 0, 10), zone), "yesterday");
}

TEST_F(ClipTextCalendar, DayTitles)
{
    const QDateTime now = at(2024, 1, 2, 8, 0);
    const std::pair<QDateTime, const char *> cases[] = {
        {at(2024, 1, 2, 0, 0), "Today"},
        {at(2024, 1, 2, 23, 59), "Today"},
        {at(2024, 1, 1, 23, 59), "Yesterday"},
        {at(2024, 1, 1, 0, 0), "Yesterday"},
        {at(2023, 12, 31, 23, 59), "Sunday, December 31, 2023"},
        {at(2024, 1, 3, 9, 0), "Wednesday, January 3"},
    };
    for (const auto &[day, text] : cases)
        EXPECT_EQ(ClipText::dayTitle(day, now, zone), QString::fromLatin1(text)) << day.toString().toStdString();
    // The zone decides the day: 23:30 UTC on Jan 1 is already Jan 2 in Berlin.
    const QDateTime utcLate(QDate(2024, 1, 1), QTime(23, 30), QTimeZone::utc());
    EXPECT_EQ(ClipText::dayTitle(utcLate, now, zone), "Today");
    EXPECT_EQ(ClipText::dayTitle(utcLate, now, QTimeZone::utc()), "Yesterday");
}

TEST_F(ClipTextCalendar, DayBoundariesFollowTheCalendarOnDstDays)
{
    const struct {
        QDateTime moment;
        qint64 hours;
    } cases[] = {
        {at(2024, 3, 31, 12), 23},
        {at(2024, 10, 27, 12), 25},
        {at(2024, 6, 1, 12), 24},
    };
    for (const auto &c : cases) {
        const QDateTime start = ClipText::startOfDay(c.moment, zone);
        const QDateTime next = ClipText::startOfNextDay(c.moment, zone);
        EXPECT_EQ(start.toTimeZone(zone).time(), QTime(0, 0));
        EXPECT_EQ(next.toTimeZone(zone).time(), QTime(0, 0));
        EXPECT_EQ(start.secsTo(next), c.hours * 3600);
    }
}

} // namespace
