#include "DetectDetails.h"
#include "Detectors.h"

#include <gtest/gtest.h>

using namespace corvane;
using Kind = DetectedDetail::Kind;

namespace {

DetectContext fixedContext(const char *locale = "en_US", const char *region = "US")
{
    DetectContext context;
    // A Monday.
    context.now = QDateTime(QDate(2026, 3, 2), QTime(10, 0), QTimeZone::utc());
    context.timeZone = QTimeZone::utc();
    context.region = QString::fromLatin1(region);
    context.locale = QLocale(QString::fromLatin1(locale));
    return context;
}

QDateTime utc(int y, int m, int d, int h = 12, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), QTimeZone::utc()); }

QList<DetectedDetail> scan(const QString &text, int limit = 20, const DetectContext &context = fixedContext())
{
    return detectDetails(text, limit, context);
}

/** The one detail a text gives; fails when it gives another number. */
DetectedDetail only(const QString &text, const DetectContext &context = fixedContext())
{
    const auto details = scan(text, 20, context);
    EXPECT_EQ(details.size(), 1) << qPrintable(text);
    return details.value(0);
}

TEST(DateCorpus, FormsOfTheGrammar)
{
    struct Row {
        const char *text;
        QDateTime start;
        double duration;
        const char *label;
    };
    const Row rows[] = {
        {"Deploy on 2026-04-07 please", utc(2026, 4, 7), 0, "2026-04-07"},
        {"starts 2026-04-07T09:30:00Z sharp", utc(2026, 4, 7, 9, 30), 0, "2026-04-07T09:30:00Z"},
        {"call at 2026-04-07 14:00+02:00", utc(2026, 4, 7, 12, 0), 0, "2026-04-07 14:00+02:00"},
        {"due 4/7/2026", utc(2026, 4, 7), 0, "4/7/2026"},
        {"Termin am 7.4.2026", utc(2026, 4, 7), 0, "7.4.2026"},
        {"Party March 14 at 3pm!", utc(2026, 3, 14, 15), 0, "March 14 at 3pm"},
        {"Dinner on 14th March 2027.", utc(2027, 3, 14), 0, "14th March 2027"},
        {"Lunch on Apr 9, 2026 12:30", utc(2026, 4, 9, 12, 30), 0, "Apr 9, 2026 12:30"},
        {"Conference March 5–7", utc(2026, 3, 5), 2 * 86400, "March 5–7"},
        {"Meeting tomorrow 3–5pm", utc(2026, 3, 3, 15), 7200, "tomorrow 3–5pm"},
        {"Let's talk next Monday at 10:30 am", utc(2026, 3, 9, 10, 30), 0, "next Monday at 10:30 am"},
        {"review from 2 to 4pm today", utc(2026, 3, 2, 14), 7200, "from 2 to 4pm today"},
        {"see you at 5", utc(2026, 3, 2, 17), 0, "at 5"},
        {"dinner at 5 tonight", utc(2026, 3, 2, 17), 0, "at 5"},
        {"standup 9:15am", utc(2026, 3, 2, 9, 15), 0, "9:15am"},
        {"night shift 22:00–06:00 on Friday", utc(2026, 3, 6, 22), 8 * 3600, "22:00–06:00 on Friday"},
    };
    for (const Row &row : rows) {
        const DetectedDetail detail = only(QString::fromUtf8(row.text));
        EXPECT_EQ(detail.kind, Kind::date) << row.text;
        EXPECT_EQ(detail.date.toUTC(), row.start) << row.text << " got " << qPrintable(detail.date.toString(Qt::ISODate));
        EXPECT_EQ(detail.duration, row.duration) << row.text;
        EXPECT_EQ(detail.label, QString::fromUtf8(row.label)) << row.text;
    }
}

TEST(DateCorpus, LocaleDecidesNumericOrderAndAddsMonthNames)
{
    EXPECT_EQ(only("due 4/7/2026", fixedContext("en_GB", "GB")).date.toUTC(), utc(2026, 7, 4));
    EXPECT_EQ(only("Treffen am 5. März", fixedContext("de_DE", "DE")).date.toUTC(), utc(2026, 3, 5));
}

TEST(DateCorpus, NumbersThatAreNoDates)
{
    for (const char *text : {"version 1.2.3 released", "ping 192.168.0.1", "add 3/4 cup of flour", "score was 15:30 at half time",
                             "you may 2 times", "build 2026-13-45", "ratio 1:2", "chapter 12 page 30", "flight 123"}) {
        const auto details = scan(QString::fromLatin1(text));
        EXPECT_TRUE(details.isEmpty()) << text << " gave " << qPrintable(details.value(0).label);
    }
}

TEST(OtherDetectors, LinksPhonesFlightsAndAddresses)
{
    struct Row {
        const char *text;
        Kind kind;
        const char *label;
    };
    const Row rows[] = {
        {"Docs at https://example.com/a_(b). Thanks", Kind::link, "https://example.com/a_(b)"},
        {"(see https://example.com/x)", Kind::link, "https://example.com/x"},
        {"visit www.example.org, it's good", Kind::link, "www.example.org"},
        {"Call me at (415) 555-2671 tonight", Kind::phone, "(415) 555-2671"},
        {"Office: +44 20 7946 0958", Kind::phone, "+44 20 7946 0958"},
        {"Booked UA 123 to Denver", Kind::flight, "UA 123"},
        {"on LH400 via FRA", Kind::flight, "LH 400"},
        {"Lufthansa flight 441", Kind::flight, "LH 441"},
        {"Ship to 1600 Amphitheatre Parkway, Mountain View, CA 94043 please", Kind::address,
         "1600 Amphitheatre Parkway, Mountain View, CA 94043"},
        {"Meet at 221B Baker Street, London NW1 6XE", Kind::address, "221B Baker Street, London NW1 6XE"},
        {"Meet at 5 Main Street tonight", Kind::address, "5 Main Street"},
        {"Wohnung: Hauptstraße 5, 10115 Berlin", Kind::address, "Hauptstraße 5, 10115 Berlin"},
        {"Rendez-vous au 12 rue de la Paix, 75002 Paris", Kind::address, "12 rue de la Paix, 75002 Paris"},
    };
    for (const Row &row : rows) {
        const DetectedDetail detail = only(QString::fromUtf8(row.text));
        EXPECT_EQ(detail.kind, row.kind) << row.text;
        EXPECT_EQ(detail.label, QString::fromUtf8(row.label)) << row.text;
    }
    const DetectedDetail www = only("www.example.org");
    EXPECT_EQ(www.url, QUrl("https://www.example.org"));
    const DetectedDetail phone = only("Support: (650) 253-0000 ext. 89", fixedContext());
    EXPECT_EQ(phone.phone, "+16502530000");
    EXPECT_EQ(phone.extension, "89");
}

TEST(OtherDetectors, ThingsThatAreNone)
{
    for (const char *text : {"mail bob@example.com now", "open file:///etc/passwd", "ftp://files.example.com/x", "custom://do-it",
                             "walk 5 miles that way", "ok 200 items", "Paper A4 100 sheets", "print A3 100 copies", "MEET AT 5TH",
                             "the year LH 2024", "flight 123 only"}) {
        const auto details = scan(QString::fromLatin1(text));
        EXPECT_TRUE(details.isEmpty()) << text << " gave " << qPrintable(details.value(0).label);
    }
}

TEST(MergeDetails, EqualStartsGoByPriorityAndOverlapsToTheEarliest)
{
    auto match = [](qsizetype start, qsizetype end, Kind kind) {
        DetectorMatch m{start, end, {}, false};
        m.detail.kind = kind;
        return m;
    };
    const auto merged = mergeMatches({match(0, 10, Kind::address), match(0, 10, Kind::phone), match(0, 8, Kind::flight),
                                      match(0, 12, Kind::date), match(0, 10, Kind::link), match(5, 20, Kind::date),
                                      match(20, 25, Kind::phone)});
    ASSERT_EQ(merged.size(), 2);
    EXPECT_EQ(merged.at(0).detail.kind, Kind::link);
    EXPECT_EQ(merged.at(1).start, 20);

    // The ISO date is not read again as a phone number, nor the URL's digits.
    const auto details = scan(QStringLiteral("2026-04-07 and https://example.com/4155552671"));
    ASSERT_EQ(details.size(), 2);
    EXPECT_EQ(details.at(0).kind, Kind::date);
    EXPECT_EQ(details.at(1).kind, Kind::link);
}

TEST(DetectDetails, OrderDedupeLimitAndCut)
{
    const QString text
        = QStringLiteral("bob@example.com https://a.example 415-555-2671 March 3 UA 1 and again 415-555-2671, MARCH 3, march 3. "
                         "Then https://b.example https://c.example https://d.example https://e.example");
    const auto all = scan(text);
    QStringList labels;
    for (const auto &detail : all)
        labels << detail.label;
    EXPECT_EQ(labels,
              QStringList({"https://a.example", "415-555-2671", "March 3", "UA 1", "https://b.example", "https://c.example",
                           "https://d.example", "https://e.example"}));
    const auto six = scan(text, 6);
    ASSERT_EQ(six.size(), 6);
    EXPECT_EQ(six.last().label, "https://c.example");
    EXPECT_NE(six.at(0).id, six.at(1).id);
    EXPECT_NE(scan(text).first().id, all.first().id);

    // A mailto match blocks the same text later even though it lists nothing.
    EXPECT_TRUE(scan(QStringLiteral("ada@example.com, ada@example.com")).isEmpty());

    const QString padding(4990, u' ');
    EXPECT_EQ(scan(padding + "          UA 1").size(), 0);
    EXPECT_EQ(scan(padding + "UA 1").size(), 1);
    // The cut never splits a surrogate pair.
    const QString emoji = QString(4999, u'a') + QString::fromUtf8("😀");
    EXPECT_TRUE(scan(emoji).isEmpty());
}

} // namespace
