#include "FuzzyHaystack.h"
#include "FuzzyMatcher.h"
#include "FuzzyRunDictionary.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <atomic>
#include <mutex>
#include <span>
#include <thread>

using namespace corvane;

namespace {

// Words over a small alphabet, so many share their characters and the word filters pass often;
// lengths reach past 15 so the long-word part of the index is read as well.
class WordMaker
{
public:
    explicit WordMaker(quint32 seed, QString alphabet = QStringLiteral("abcdeinorstAEéß1"))
        : m_random(seed)
        , m_alphabet(std::move(alphabet))
    {
    }

    int below(int bound) { return int(m_random.bounded(bound)); }

    QString word(int minLength, int maxLength)
    {
        QString text;
        const int length = minLength + below(maxLength - minLength + 1);
        for (int i = 0; i < length; ++i)
            text += m_alphabet[below(int(m_alphabet.size()))];
        return text;
    }

    /** The word with up to `edits` random substitutions, insertions, deletions or swaps. */
    QString typo(QString text, int edits)
    {
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const int at = below(int(text.size()));
            switch (below(4)) {
            case 0:
                text[at] = word(1, 1)[0];
                break;
            case 1:
                text.insert(at, word(1, 1));
                break;
            case 2:
                text.remove(at, 1);
                break;
            default:
                if (at + 1 < text.size())
                    std::swap(text[at], text[at + 1]);
                break;
            }
        }
        return text;
    }

private:
    QRandomGenerator m_random;
    QString m_alphabet;
};

std::optional<double> plainScore(const FuzzyMatcher::PreparedQuery &query, const QStringList &fields)
{
    QList<QStringView> views;
    for (const QString &field : fields)
        views << field;
    return FuzzyMatcher::score(query, std::span<const QStringView>(views));
}

// The index, its word filters and the staged batch scoring only skip work: whatever they
// reject, reading the text must reject too. Terms are typo'd copies of words in the text, so
// many clips sit right at the typo limits.
TEST(FuzzyIndex, TypoTermsScoreAsOnPlainText)
{
    WordMaker maker(2024);
    const QString separators = QStringLiteral(" .-/\n");
    for (const int batch : {0, 1, 5, 40, 200}) {
        std::vector<QStringList> texts;
        std::vector<FuzzyHaystack> haystacks;
        QStringList vocabulary;
        for (int h = 0; h < batch; ++h) {
            QStringList fields;
            const int fieldCount = 1 + maker.below(3);
            for (int f = 0; f < fieldCount; ++f) {
                QString field;
                const int words = maker.below(40);
                for (int w = 0; w < words; ++w) {
                    const QString word = maker.word(1, 24);
                    vocabulary << word;
                    field += word + separators[maker.below(int(separators.size()))];
                }
                fields << field;
            }
            texts.push_back(fields);
            haystacks.emplace_back(fields);
        }
        for (int round = 0; round < 60; ++round) {
            QStringList terms;
            const int termCount = 1 + maker.below(3);
            for (int t = 0; t < termCount; ++t) {
                const QString source = vocabulary.isEmpty() || maker.below(4) == 0
                    ? maker.word(3, 22)
                    : vocabulary[maker.below(int(vocabulary.size()))];
                terms << maker.typo(source, maker.below(4));
            }
            const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
            const auto all = FuzzyMatcher::scoreAll(query, haystacks);
            ASSERT_EQ(all.size(), haystacks.size());
            for (size_t h = 0; h < haystacks.size(); ++h) {
                const auto expected = plainScore(query, texts[h]);
                const std::string context = texts[h].join(u'|').toStdString() + " ? " + terms.join(u' ').toStdString();
                ASSERT_EQ(FuzzyMatcher::score(query, haystacks[h]), expected) << context;
                ASSERT_EQ(all[h], expected) << context;
            }
        }
    }
}

// Words of 16 or more units are stored apart from shorter ones; the typo length window may
// start or end right at either side of that split.
TEST(FuzzyIndex, LongWordsAtTheEdgesOfTheLengthWindow)
{
    const struct {
        const char *word;
        const char *term;
        int distance; // 0: no match
    } cases[] = {
        {"abcdefghijklmno", "abcdefgXhijklmnoY", 2},        // 15 units, term 17: window starts at 15
        {"abcdefghijklmnop", "abcdefgXhijklmnop", 1},       // 16, term 17
        {"abcdefghijklmnopqr", "abcdXefghijklmnopYqr", 2},  // 18, term 20: window starts at 18
        {"abcdefghijklmnopqrst", "abcdefghijlmnopqrt", 2},  // 20, term 18: window ends at 20
        {"abcdefghijklmnopqrstu", "abcdefghijlmnopqrt", 0}, // 21, term 18: outside the window
    };
    for (const auto &c : cases) {
        const QStringList fields{QStringLiteral("see ") + QLatin1String(c.word)
                                 + QStringLiteral(" and abcdefghijklmnopqrstuvwxyzabc")};
        const auto query = FuzzyMatcher::PreparedQuery::prepare({QLatin1String(c.term)});
        const auto expected = c.distance ? std::optional<double>(0.6 - 0.15 * (c.distance - 1)) : std::nullopt;
        EXPECT_EQ(plainScore(query, fields), expected) << c.term;
        EXPECT_EQ(FuzzyMatcher::score(query, FuzzyHaystack(fields)), expected) << c.term;
    }
}

// An index built from views is scored one at a time or in a batch, and must agree with reading
// the texts: with words that fit one byte a unit and words that do
// not (µ folds to Greek mu), with empty fields, and with words too long to index.
TEST(FuzzyIndex, IndexWithoutTextsScoresAsOnPlainText)
{
    const QString alphabets[]
        = {QStringLiteral("abcdeinorstAEéß1"), QStringLiteral("abceiorsµΩωЖж1"), QStringLiteral("aeinorst")};
    const QString separators = QStringLiteral(" .-/\n");
    int matched = 0;
    for (const QString &alphabet : alphabets) {
        WordMaker maker(7 + quint32(alphabet.size()), alphabet);
        std::vector<QStringList> texts;
        std::vector<FuzzyHaystack> indexes;
        QStringList vocabulary;
        for (int h = 0; h < 120; ++h) {
            QStringList fields;
            const int fieldCount = 1 + maker.below(4);
            for (int f = 0; f < fieldCount; ++f) {
                QString field;
                const int words = maker.below(4) == 0 ? 0 : maker.below(30);
                for (int w = 0; w < words; ++w) {
                    const QString word = maker.below(50) == 0 ? maker.word(60, 80) : maker.word(1, 20);
                    vocabulary << word;
                    field += word + separators[maker.below(int(separators.size()))];
                }
                fields << field;
            }
            texts.push_back(fields);
            QList<QStringView> views(fields.begin(), fields.end());
            indexes.emplace_back(std::span<const QStringView>(views));
        }
        for (int round = 0; round < 80; ++round) {
            QStringList terms;
            const int termCount = 1 + maker.below(3);
            for (int t = 0; t < termCount; ++t) {
                const QString source = maker.below(5) == 0 ? maker.word(2, 20) : vocabulary[maker.below(int(vocabulary.size()))];
                terms << maker.typo(source.left(1 + maker.below(24)), maker.below(3));
            }
            const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
            const FuzzyMatcher::IndexedQuery indexed(query);
            std::vector<const FuzzyHaystack *> pointers;
            for (const FuzzyHaystack &index : indexes)
                pointers.push_back(&index);
            std::vector<std::optional<double>> batch(indexes.size());
            FuzzyMatcher::scoreBatch(indexed, pointers, batch);
            for (size_t h = 0; h < indexes.size(); ++h) {
                const auto expected = plainScore(query, texts[h]);
                matched += expected.has_value();
                const std::string context = texts[h].join(u'|').toStdString() + " ? " + terms.join(u' ').toStdString();
                ASSERT_EQ(FuzzyMatcher::score(query, indexes[h]), expected) << context;
                ASSERT_EQ(batch[h], expected) << context;
                ASSERT_EQ(FuzzyMatcher::score(query, FuzzyHaystack(texts[h])), expected) << context;
            }
        }
    }
    EXPECT_GT(matched, 500); // the terms come from the texts, so many must match
}

// Fields of mixed scripts and punctuation, built from pieces that keep reappearing so terms
// taken from them (across punctuation too) and typo'd copies match often.
class MixedText
{
public:
    explicit MixedText(quint32 seed)
        : m_random(seed)
    {
    }

    int below(int bound) { return int(m_random.bounded(bound)); }
    const QString &pick(const QStringList &from) { return from[below(int(from.size()))]; }

    QString piece()
    {
        static const QStringList words{
            QStringLiteral("Straße"), QStringLiteral("STRASSE"), QStringLiteral("ÉCOLE"), QStringLiteral("école"),
            QStringLiteral("Привет"), QStringLiteral("привет"), QStringLiteral("東京都"), QStringLiteral("データベース"),
            QStringLiteral("𝐀𝐁c"), QStringLiteral("x𝐀"), QStringLiteral("naïve"), QStringLiteral("cafe\u0301"),
            QStringLiteral("\u0345\u0399"), QStringLiteral("example"), QStringLiteral("Example"), QStringLiteral("mail"),
            QStringLiteral("server42"), QStringLiteral("42"), QStringLiteral("2024"), QStringLiteral("connection"),
            QStringLiteral("Kelvin"), QStringLiteral("\u212Aelvin"), QStringLiteral("ab"), QStringLiteral("a"),
            QStringLiteral("postgres"), QStringLiteral("µs"), QStringLiteral("ΩMEGA")};
        static const QStringList gaps{QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("."),
                                      QStringLiteral("-"), QStringLiteral(", "), QStringLiteral("://"), QStringLiteral("\n"),
                                      QStringLiteral("@"), QStringLiteral(" 🙂 "), QStringLiteral("🙂"), QStringLiteral("  "),
                                      QStringLiteral("\u0345"), QStringLiteral("_"), QString(QChar(0xD835)),
                                      QString(QChar(0xDC00))};
        return below(3) == 0 ? pick(gaps) : pick(words);
    }

    QStringList fields()
    {
        QStringList fields;
        const int count = 1 + below(4);
        for (int f = 0; f < count; ++f) {
            QString field;
            const int pieces = below(5) == 0 ? 0 : below(14);
            for (int p = 0; p < pieces; ++p)
                field += piece();
            fields << field;
        }
        return fields;
    }

    /** A stretch of a field (maybe across punctuation), a typo'd word, or a piece on its own. */
    QString term(const QStringList &fields)
    {
        const QString &field = pick(fields);
        QString term;
        switch (below(4)) {
        case 0:
            if (!field.isEmpty()) {
                const int at = below(int(field.size()));
                term = field.mid(at, 1 + below(12));
            }
            break;
        case 1: {
            term = piece();
            if (term.size() > 1)
                term.remove(below(int(term.size())), 1);
            break;
        }
        case 2:
            term = piece() + piece();
            break;
        default:
            term = piece().toUpper();
            break;
        }
        return term.trimmed();
    }

private:
    QRandomGenerator m_random;
};

// Whatever the fields hold, scoring the index must equal scoring the text: terms spanning
// punctuation and scripts, digits, case, surrogate pairs and lone halves, a combining mark that
// folds to a letter, empty fields; looked up ahead, or for runs added after the lookup.
TEST(FuzzyIndex, MixedTextsScoreAsOnPlainText)
{
    MixedText maker(19);
    int matched = 0;
    for (int round = 0; round < 40; ++round) {
        std::vector<QStringList> texts;
        std::vector<FuzzyHaystack> indexes;
        for (int h = 0; h < 30; ++h) {
            texts.push_back(maker.fields());
            indexes.emplace_back(texts.back());
        }
        QStringList terms;
        const int termCount = 1 + maker.below(3);
        for (int t = 0; t < termCount; ++t)
            terms << maker.term(texts[std::size_t(maker.below(int(texts.size())))]);
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        const FuzzyMatcher::IndexedQuery indexed(query);
        // Built after the lookup: their new runs are looked at while scoring.
        for (int h = 0; h < 10; ++h) {
            QStringList fields = maker.fields();
            fields << QStringLiteral("fresh%1run").arg(round * 100 + h);
            texts.push_back(fields);
            indexes.emplace_back(texts.back());
        }
        std::vector<const FuzzyHaystack *> pointers;
        for (const FuzzyHaystack &index : indexes)
            pointers.push_back(&index);
        std::vector<std::optional<double>> batch(indexes.size());
        FuzzyMatcher::scoreBatch(indexed, pointers, batch);
        for (std::size_t h = 0; h < indexes.size(); ++h) {
            const auto expected = plainScore(query, texts[h]);
            matched += expected.has_value();
            const std::string context = texts[h].join(u'|').toStdString() + " ? " + terms.join(u' ').toStdString();
            ASSERT_EQ(batch[h], expected) << context;
            ASSERT_EQ(FuzzyMatcher::score(query, indexes[h]), expected) << context;
        }
    }
    EXPECT_GT(matched, 100);
}

// Scoring reads the shared dictionary while another thread adds runs to it: every score stays
// right, for indexes built before the lookup and for ones built on the other thread since.
TEST(FuzzyIndex, ScoresWhileAnotherThreadAddsClips)
{
    WordMaker maker(77, QStringLiteral("abcdefghijklmnoprstuvwxyzäöü"));
    std::vector<QStringList> texts;
    std::vector<FuzzyHaystack> indexes;
    for (int h = 0; h < 200; ++h) {
        texts.push_back({maker.word(3, 9) + QStringLiteral(" ") + maker.word(3, 9) + QStringLiteral(".") + maker.word(1, 5)});
        indexes.emplace_back(texts.back());
    }
    std::mutex handOver;
    std::vector<std::pair<QStringList, FuzzyHaystack>> added;
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        WordMaker other(78);
        for (int i = 0; !stop.load() && i < 200000; ++i) {
            QStringList fields{other.word(4, 12) + QStringLiteral("-") + QString::number(i), other.word(1, 20)};
            FuzzyHaystack index(fields);
            const std::lock_guard lock(handOver);
            added.emplace_back(std::move(fields), std::move(index));
        }
    });
    for (int round = 0; round < 300; ++round) {
        const QString &source = texts[std::size_t(maker.below(int(texts.size())))].front();
        const QStringList terms{maker.typo(source.section(u' ', 0, 0), maker.below(2)), source.section(u' ', 1).left(5)};
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        const FuzzyMatcher::IndexedQuery indexed(query);
        std::vector<std::pair<QStringList, FuzzyHaystack>> fresh;
        {
            const std::lock_guard lock(handOver);
            fresh.assign(added.end() - std::min<std::ptrdiff_t>(20, std::ssize(added)), added.end());
        }
        for (std::size_t h = 0; h < texts.size(); ++h)
            ASSERT_EQ(indexed.score(indexes[h]), plainScore(query, texts[h])) << texts[h].join(u'|').toStdString();
        for (const auto &[fields, index] : fresh)
            ASSERT_EQ(indexed.score(index), plainScore(query, fields)) << fields.join(u'|').toStdString();
    }
    stop = true;
    writer.join();
}

// A word and the single space after it take one code: the space shares its id across indexes.
TEST(FuzzyIndex, WordsFollowedByOneSpaceTakeOneCodeEach)
{
    for (const QString &text : {QStringLiteral("alpha beta gamma delta"), QStringLiteral("one two three four ")}) {
        int codes = 0;
        FuzzyHaystack(QStringList{text}).forEachCode([&](std::uint32_t code) { codes += code != 0; });
        EXPECT_EQ(codes, 4) << text.toStdString();
    }
}

// A copied or moved haystack owns an equal index.
TEST(FuzzyIndex, CopiesScoreLikeTheOriginal)
{
    const QStringList fields{QStringLiteral("lost connection to postgres at 10:42"),
                             QStringLiteral("Über-long-wordwithmanyletters here")};
    const FuzzyHaystack original(fields);
    FuzzyHaystack copy = original;
    FuzzyHaystack assigned;
    assigned = copy;
    const FuzzyHaystack moved = std::move(copy);
    for (const QStringList &terms :
         {QStringList{"conection"}, QStringList{"postgers", "lost"}, QStringList{"wordwithmanyleters"}, QStringList{"missing"}}) {
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        const auto expected = plainScore(query, fields);
        EXPECT_EQ(FuzzyMatcher::score(query, original), expected);
        EXPECT_EQ(FuzzyMatcher::score(query, assigned), expected);
        EXPECT_EQ(FuzzyMatcher::score(query, moved), expected);
    }
    EXPECT_EQ(assigned.memoryUsage(), original.memoryUsage());
}

// Runs interned late get ids whose codes no longer fit two bytes, and a text long enough needs
// a block of 64 KiB or more: scores stay those of the text, whatever the groups of codes hold.
TEST(FuzzyIndex, LateRunsAndHugeTextsScoreAsOnPlainText)
{
    QStringList filler;
    for (int i = 0; i < 34000; ++i)
        filler << QStringLiteral("filler%1").arg(i);
    const FuzzyHaystack early(QStringList{filler.join(u' ')});
    ASSERT_GT(early.codes().size(), std::size_t{0xFFFF});

    WordMaker maker(41);
    std::vector<QStringList> texts;
    for (int h = 0; h < 60; ++h) {
        QStringList fields;
        for (int f = 0, count = 1 + maker.below(3); f < count; ++f) {
            QString field;
            for (int w = 0, words = maker.below(20); w < words; ++w) {
                const QString word = maker.below(2) ? QStringLiteral("late%1x").arg(h * 100 + w) : filler[maker.below(40)];
                field += maker.typo(word, maker.below(2)) + QStringLiteral(" .-/")[maker.below(4)];
            }
            fields << field;
        }
        texts.push_back(fields);
    }
    texts.push_back(QStringList{filler.join(QStringLiteral(", ")) + QStringLiteral(" late42x")});
    std::vector<FuzzyHaystack> indexes(texts.begin(), texts.end());
    int codes = 0;
    indexes.back().forEachCode([&](std::uint32_t code) { codes += code != 0; });
    EXPECT_EQ(codes, 2 * filler.size() - 1 + 1); // a code per word and per gap, the last word's gap a space

    int matched = 0;
    for (const QStringList &terms : {QStringList{"late42x"}, QStringList{"late1x", "filler3"}, QStringList{"lat5x"},
                                     QStringList{"filler33999"}, QStringList{"x filler"}, QStringList{"e12x."},
                                     QStringList{"fillre7", "late"}}) {
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        const FuzzyMatcher::IndexedQuery indexed(query);
        for (std::size_t h = 0; h < texts.size(); ++h) {
            const auto expected = plainScore(query, texts[h]);
            matched += expected.has_value();
            ASSERT_EQ(indexed.score(indexes[h]), expected) << texts[h].join(u'|').left(200).toStdString() << " ? "
                                                            << terms.join(u' ').toStdString();
        }
    }
    EXPECT_GT(matched, 20);
}

// The runs a sample holds most often take the ids whose codes are one byte, so an index of
// common words is about a byte per word; runs met later take the ids after them.
TEST(FuzzyIndex, RankingGivesFrequentRunsOneByteCodes)
{
    if (FuzzyRunDictionary::shared().size() > 1)
        GTEST_SKIP() << "the shared dictionary was filled by an earlier test in this process";
    std::vector<QStringList> sample;
    for (int i = 0; i < 300; ++i)
        sample.push_back({QStringLiteral("rare%1 common%2 often, often").arg(i).arg(i % 150)});
    FuzzyHaystack::rankDictionary(sample);
    // "often" and ", " first, then the 150 words of two uses each until one-byte ids run out.
    EXPECT_EQ(FuzzyRunDictionary::shared().size(), FuzzyHaystack::oneByteIds);

    const FuzzyHaystack common(QStringList{QStringLiteral("often, often common1 common7 common9")});
    EXPECT_EQ(common.codes().size(), 1 + 6u);
    const FuzzyHaystack rare(QStringList{QStringLiteral("rare1 rare2")});
    EXPECT_EQ(rare.codes().size(), 1 + 2 * 2u);
    const auto query = FuzzyMatcher::PreparedQuery::prepare({QStringLiteral("comon7"), QStringLiteral("often")});
    EXPECT_EQ(FuzzyMatcher::score(query, common), plainScore(query, {QStringLiteral("often, often common1 common7 common9")}));

    // Once the one-byte ids are handed out, ranking again changes nothing.
    const std::uint32_t known = FuzzyRunDictionary::shared().size();
    const std::vector<QStringList> later{{QStringLiteral("newword newword newword")}};
    FuzzyHaystack::rankDictionary(later);
    EXPECT_EQ(FuzzyRunDictionary::shared().size(), known);
}

} // namespace
