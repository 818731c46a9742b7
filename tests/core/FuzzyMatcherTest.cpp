#include "FuzzyMatcher.h"
#include "TextFolding.h"

#include "CorePrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace corvane;

namespace {

using FuzzyMatcher::Range;

} // namespace

namespace corvane::FuzzyMatcher {
void PrintTo(const Range &r, std::ostream *os) { *os << '[' << r.start << '+' << r.length << ']'; }
} // namespace corvane::FuzzyMatcher

namespace {

TEST(FuzzyMatcherTypoLimit, GrowsWithTermLength)
{
    const std::pair<qsizetype, int> cases[] = {{0, 0}, {3, 0}, {4, 1}, {7, 1}, {8, 2}, {40, 2}};
    for (const auto &[length, limit] : cases)
        EXPECT_EQ(FuzzyMatcher::typoLimit(length), limit) << length;
}

struct ScoreCase {
    const char *name;
    QStringList terms;
    const char *haystack;
    std::optional<double> score;
};

void PrintTo(const ScoreCase &c, std::ostream *os) { *os << c.name; }

class FuzzyMatcherScore : public testing::TestWithParam<ScoreCase>
{ };

TEST_P(FuzzyMatcherScore, ScoresEveryTermOrFails)
{
    const ScoreCase &c = GetParam();
    const QString text = QString::fromUtf8(c.haystack);
    const auto query = FuzzyMatcher::PreparedQuery::prepare(c.terms);
    // The plain and the indexed path must agree.
    for (const auto &actual : {FuzzyMatcher::score(c.terms, text), FuzzyMatcher::score(query, FuzzyHaystack({text}))}) {
        ASSERT_EQ(actual.has_value(), c.score.has_value()) << c.haystack;
        if (c.score) {
            EXPECT_DOUBLE_EQ(*actual, *c.score) << c.haystack;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FuzzyMatcherScore,
    testing::Values(ScoreCase{"noTerms", {}, "anything", 0.0}, ScoreCase{"emptyTermsIgnored", {"", ""}, "anything", 0.0},
                    ScoreCase{"wordStart", {"data"}, "the database", 1.25}, ScoreCase{"midWord", {"base"}, "the database", 1.0},
                    ScoreCase{"caseInsensitive", {"DATA"}, "Some Database", 1.25},
                    ScoreCase{"wordStartAfterPunctuation", {"base"}, "data-base", 1.25},
                    ScoreCase{"laterWordStartWins", {"base"}, "database base", 1.25},
                    ScoreCase{"sumOfTerms", {"data", "base"}, "database base", 2.5},
                    ScoreCase{"allTermsMustMatch", {"data", "zebra"}, "database", std::nullopt},
                    // Typo limits: none below 4 characters, one for 4-7, two from 8.
                    ScoreCase{"threeCharsNoTypo", {"cat"}, "a cot", std::nullopt},
                    ScoreCase{"fourCharsOneTypo", {"kate"}, "a cate", 0.6},
                    ScoreCase{"fourCharsTwoTypos", {"kafe"}, "a cate", std::nullopt},
                    ScoreCase{"transpositionIsOne", {"form"}, "sent from home", 0.6},
                    ScoreCase{"sevenCharsTwoTypos", {"abcdefg"}, "abdcefh", std::nullopt},
                    ScoreCase{"eightCharsOneTypo", {"postgres"}, "a postgrex db", 0.6},
                    ScoreCase{"eightCharsTwoTypos", {"postgres"}, "a pastgrex db", 0.45},
                    ScoreCase{"eightCharsThreeTypos", {"postgres"}, "a pastgrxx db", std::nullopt},
                    ScoreCase{"insertion", {"conection"}, "lost connection", 0.6},
                    ScoreCase{"wholeWordsOnly", {"conection"}, "lostconnectionhere", std::nullopt},
                    ScoreCase{"typoAndExact", {"conection", "pool"}, "connection pool", 1.85},
                    ScoreCase{"bestWordWins", {"postgres"}, "pastgrex postgrex", 0.6},
                    // Case folding keeps one unit per unit and matches Qt's case-insensitive search.
                    ScoreCase{"dottedCapitalINoExact", {"istanbul"}, "İstanbul", 0.6},
                    ScoreCase{"kelvinSign", {"kelvin"}, "\u212Aelvin scale", 1.25},
                    ScoreCase{"longS", {"stop"}, "\u017Ftop", 1.25}, ScoreCase{"greekSigma", {"ΣΟΦΙΑ"}, "σοφια", 1.25},
                    ScoreCase{"nonAsciiTerm", {"über"}, "Grüße ÜBER alles", 1.25}));

TEST(FuzzyMatcherScore, FieldsEachTermTakesItsBestField)
{
    const auto query = FuzzyMatcher::PreparedQuery::prepare({"invoice", "alice"});
    const QStringView fields[] = {u"Please pay the invoyce", u"Note from Alice"};
    EXPECT_DOUBLE_EQ(*FuzzyMatcher::score(query, fields), 0.6 + 1.25);
    const QStringView exactLater[] = {u"invoyce", u"invoice"};
    EXPECT_DOUBLE_EQ(*FuzzyMatcher::score(FuzzyMatcher::PreparedQuery::prepare({"invoice"}), exactLater), 1.25);
    EXPECT_FALSE(FuzzyMatcher::score(query, std::span<const QStringView>()).has_value());
}

// The index only rejects: on any text, scoring through it gives what reading the text gives.
TEST(FuzzyMatcherScore, IndexedHaystackAgreesWithPlainText)
{
    const QStringList vocabulary{"connection", "conection", "Postgres", "postgrex", "data",   "base", "database", "İstanbul",
                                 "istanbul",   "straße",    "STRASSE",  "form",     "from",   "farm", "a",        "ab",
                                 "x-ray",      "pool",      "p00l",     "Kelvin",   "kelvin", "𝐀abce"};
    const QList<QStringList> queries{
        {"postgres", "conection"}, {"data"}, {"base", "from"}, {"istanbul"}, {"straße"}, {"kelvin"}, {"abcd"}, {"a"}, {"x-r"},
        {"pool", "form"}};
    const QString separators = QStringLiteral("  .-/\n,");
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        QStringList fields;
        const int fieldCount = 1 + random.bounded(3);
        for (int f = 0; f < fieldCount; ++f) {
            QString field;
            const int words = random.bounded(8);
            for (int w = 0; w < words; ++w)
                field += vocabulary[random.bounded(int(vocabulary.size()))] + separators[random.bounded(int(separators.size()))];
            fields << field;
        }
        QList<QStringView> views;
        for (const QString &field : fields)
            views << field;
        const FuzzyHaystack haystack(fields);
        for (const QStringList &terms : queries) {
            const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
            ASSERT_EQ(FuzzyMatcher::score(query, haystack), FuzzyMatcher::score(query, std::span<const QStringView>(views)))
                << fields.join(u'|').toStdString() << " ? " << terms.join(u' ').toStdString();
        }
    }
}

TEST(FuzzyMatcherTypoDistance, OptimalStringAlignment)
{
    const struct {
        const char16_t *a;
        const char16_t *b;
        int limit;
        int distance;
    } cases[] = {
        {u"abcd", u"abcd", 2, 0},      {u"abcd", u"abdc", 2, 1},
        {u"abcd", u"acbd", 2, 1},      {u"ca", u"abc", 3, 3},         // OSA, not full Damerau (which gives 2)
        {u"kitten", u"sitting", 5, 3}, {u"kitten", u"sitting", 2, 3}, // capped at limit + 1
        {u"", u"abc", 5, 3},           {u"abc", u"abcdefgh", 2, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FuzzyMatcher::typoDistance(c.a, c.b, c.limit), c.distance)
            << QStringView(c.a).toString().toStdString() << " / " << QStringView(c.b).toString().toStdString();
}

// Very long words and texts of very many words are indexed whole.
TEST(FuzzyMatcherScore, IndexHoldsLongWordsAndManyWords)
{
    const QString longWord = QString(70, u'q') + QStringLiteral("xyz");
    QString longTypo = longWord;
    longTypo[10] = u'w';
    QString manyWords;
    for (int i = 0; i < 6000; ++i)
        manyWords += QStringLiteral("w%1x ").arg(i, 5, 36, QLatin1Char('0'));
    const struct {
        QStringList terms;
        QString text;
        std::optional<double> score;
    } cases[] = {
        {{longTypo}, QStringLiteral("see ") + longWord, 0.6},
        {{"conection"}, manyWords + QStringLiteral("lost connection"), 0.6},
        {{"conection"}, manyWords + QStringLiteral("lost station"), std::nullopt},
    };
    for (const auto &c : cases) {
        const FuzzyHaystack haystack({c.text});
        const auto query = FuzzyMatcher::PreparedQuery::prepare(c.terms);
        EXPECT_EQ(FuzzyMatcher::score(query, haystack), c.score);
        EXPECT_EQ(FuzzyMatcher::scoreAll(query, std::span(&haystack, 1)).front(), c.score);
    }
}

// The bit-parallel distance used on the hot path must equal the table-based one.
TEST(TypoPatternDistance, AgreesWithTableDistance)
{
    const QString alphabet = QStringLiteral("abcdéßx");
    QRandomGenerator random(11);
    auto randomText = [&](int maxLength) {
        QString text;
        const int length = random.bounded(maxLength + 1);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(int(alphabet.size()))];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString term = randomText(12);
        const QString word = randomText(14);
        if (term.isEmpty())
            continue;
        ASSERT_EQ(TypoPattern(term).distance(word), FuzzyMatcher::typoDistance(term, word, 100))
            << term.toStdString() << " / " << word.toStdString();
    }
    const QString longTerm(64, u'a');
    EXPECT_TRUE(TypoPattern(longTerm).isValid());
    EXPECT_EQ(TypoPattern(longTerm).distance(QString(62, u'a') + QStringLiteral("ba")), 1);
    EXPECT_FALSE(TypoPattern(longTerm + u'a').isValid());
}

TEST(FuzzyMatcherHighlight, RangesAreSortedMergedAndInOriginalUnits)
{
    const struct {
        const char *name;
        QStringList terms;
        const char *text;
        QList<Range> ranges;
    } cases[] = {
        {"none", {"zebra"}, "apple pie", {}},
        {"noTerms", {}, "apple pie", {}},
        {"every occurrence", {"pi"}, "Pi and pie", {{0, 2}, {7, 2}}},
        {"overlapping terms merge", {"apple", "app"}, "apple pie", {{0, 5}}},
        {"overlapping occurrences merge", {"aa"}, "aaaa b", {{0, 4}}},
        {"touching ranges merge", {"ab", "cd"}, "abcd", {{0, 4}}},
        {"sorted across terms", {"pie", "apple"}, "apple pie", {{0, 5}, {6, 3}}},
        // "İ" lower-cases to two units; ranges must still index the original text.
        {"after dotted capital I", {"apple"}, "İİİ apple", {{4, 5}}},
        {"sharp s", {"straße"}, "STRASSE Straße", {{8, 6}}},
        {"typo highlights whole word", {"conection"}, "lost connection, again", {{5, 10}}},
        {"typo every close word", {"form"}, "from a farm", {{0, 4}, {7, 4}}},
        {"exact beats typo", {"form"}, "from a form", {{7, 4}}},
        {"short term no typo", {"cat"}, "a cot", {}},
        {"non-BMP letters join their word", {"abcd"}, "𝐀abce abce", {{7, 4}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FuzzyMatcher::highlightRanges(c.terms, QString::fromUtf8(c.text)), c.ranges) << c.name;
}

// The vectorised search must find exactly what Qt's case-insensitive search finds.
TEST(TextFoldingIndexOf, AgreesWithQtCaseInsensitiveSearch)
{
    const QString alphabet = QStringLiteral("abkKsSİıiI \u212A\u017Fß-xé.ÉΣσς0");
    const QStringList needles{"ab", "k s", "is", "ki", "xé", "SS", "ß-", "σς", "abkk", "0", "iI i"};
    QRandomGenerator random(42);
    for (int round = 0; round < 2000; ++round) {
        QString haystack;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i)
            haystack += alphabet[random.bounded(int(alphabet.size()))];
        for (const QString &needle : needles) {
            QString folded;
            for (QChar c : needle)
                folded += QChar(TextFolding::fold(c.unicode()));
            for (qsizetype from = 0; from <= haystack.size(); from += 7)
                ASSERT_EQ(TextFolding::indexOfFolded(haystack, folded, from), haystack.indexOf(needle, from, Qt::CaseInsensitive))
                    << haystack.toStdString() << " / " << needle.toStdString() << " from " << from;
        }
    }
}

} // namespace
