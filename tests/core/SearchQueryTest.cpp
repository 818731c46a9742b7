#include "SearchQuery.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class SearchQueryParse : public testing::Test
{
protected:
    const QTimeZone zone{"Europe/Berlin"};
    const QDateTime now{QDate(2024, 3, 31), QTime(15, 0), zone}; // a 23-hour day
    QDateTime midnight(int month, int day) const { return QDate(2024, month, day).startOfDay(zone); }
    SearchQuery parse(const char *text) const { return SearchQuery::parse(QString::fromUtf8(text), now, zone); }
};

TEST_F(SearchQueryParse, FilterWordsAndPlainTerms)
{
    const struct {
        const char *text;
        QStringList terms;
        QList<ClipGroup> groups;
        QStringList apps;
        QList<ColorTag> tags;
    } cases[] = {
        {"", {}, {}, {}, {}},
        {"  invoice   march ", {"invoice", "march"}, {}, {}, {}},
        {"type:image", {}, {ClipGroup::image}, {}, {}},
        {"TYPE:Links type:code", {}, {ClipGroup::link, ClipGroup::code}, {}, {}},
        {"type:emails type:Email", {}, {ClipGroup::email}, {}, {}},
        {"type:picture", {"type:picture"}, {}, {}, {}}, // unknown value stays a term
        {"kind:image", {"kind:image"}, {}, {}, {}},     // unknown key stays a term
        {"type: image", {"image"}, {}, {}, {}},         // empty value ignored
        {"app:Firefox app:kate", {}, {}, {"Firefox", "kate"}, {}},
        {"app:", {}, {}, {}, {}},
        {"tag:red tag:Blue", {}, {}, {}, {ColorTag::red, ColorTag::blue}},
        {"tag:pink", {"tag:pink"}, {}, {}, {}},
        {"https://example.org", {"https://example.org"}, {}, {}, {}},
        {":image", {":image"}, {}, {}, {}},
        {"\"type:image\" cat", {"type:image", "cat"}, {}, {}, {}}, // quoted: always a term
        {"\"two words\" \"today\"", {"two words", "today"}, {}, {}, {}},
        {"\"unclosed quote", {"unclosed quote"}, {}, {}, {}},
        {"\"\" x", {"x"}, {}, {}, {}},
        {"report type:code app:Code tag:green draft", {"report", "draft"}, {ClipGroup::code}, {"Code"}, {ColorTag::green}},
    };
    for (const auto &c : cases) {
        const SearchQuery query = parse(c.text);
        EXPECT_EQ(query.terms, c.terms) << c.text;
        EXPECT_EQ(query.groups, c.groups) << c.text;
        EXPECT_EQ(query.apps, c.apps) << c.text;
        EXPECT_EQ(query.tags, c.tags) << c.text;
        EXPECT_FALSE(query.dateRange.has_value()) << c.text;
    }
}

TEST_F(SearchQueryParse, DateWordsGiveCalendarDaysAndTheirUnion)
{
    using Range = SearchQuery::DateRange;
    const struct {
        const char *text;
        Range range;
    } cases[] = {
        {"today", {midnight(3, 31), midnight(4, 1)}},
        {"Yesterday", {midnight(3, 30), midnight(3, 31)}},
        {"yesterday today", {midnight(3, 30), midnight(4, 1)}},
        {"today notes yesterday", {midnight(3, 30), midnight(4, 1)}},
    };
    for (const auto &c : cases) {
        const SearchQuery query = parse(c.text);
        ASSERT_TRUE(query.dateRange.has_value()) << c.text;
        EXPECT_EQ(query.dateRange->start, c.range.start) << c.text;
        EXPECT_EQ(query.dateRange->end, c.range.end) << c.text;
    }
    // The DST day is 23 hours long, not 24.
    const auto today = parse("today").dateRange;
    EXPECT_EQ(today->start.secsTo(today->end), 23 * 3600);
    EXPECT_EQ(parse("today notes yesterday").terms, QStringList{"notes"});
}

TEST_F(SearchQueryParse, SameKeyIsOrDifferentKeysAreAnd)
{
    const SearchQuery query = parse("type:link type:code app:fire tag:red today");
    EXPECT_TRUE(query.matchesGroup(ClipGroup::link));
    EXPECT_TRUE(query.matchesGroup(ClipGroup::code));
    EXPECT_FALSE(query.matchesGroup(ClipGroup::text));
    EXPECT_TRUE(query.matchesSource("Firefox", "firefox", ""));
    EXPECT_TRUE(query.matchesSource("", "web:news.example", "FIREHOSE.example"));
    EXPECT_FALSE(query.matchesSource("Kate", "org.kde.kate", ""));
    EXPECT_TRUE(query.matchesTags(ColorTags::bit(ColorTag::red) | ColorTags::bit(ColorTag::blue)));
    EXPECT_FALSE(query.matchesTags(ColorTags::bit(ColorTag::blue)));
    EXPECT_TRUE(query.matchesDate(midnight(3, 31)));
    EXPECT_FALSE(query.matchesDate(midnight(4, 1))); // end is exclusive

    const SearchQuery plain = parse("hello");
    EXPECT_FALSE(plain.hasFilters());
    EXPECT_TRUE(plain.matchesGroup(ClipGroup::image) && plain.matchesSource("", "", "") && plain.matchesTags(0)
                && plain.matchesDate(QDateTime()));
    EXPECT_TRUE(parse("  ").isEmpty());
}

} // namespace
