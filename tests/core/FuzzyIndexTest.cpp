#include "FuzzyHaystack.h"
#include "FuzzyMatcher.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <span>

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

// An index that keeps no text is scored with the fields handed in, one at a time or in a batch,
// and must agree with reading the texts: with words that fit one byte a unit and words that do
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
            struct Source {
                const std::vector<FuzzyHaystack> &indexes;
                const std::vector<QStringList> &texts;
            } source{indexes, texts};
            FuzzyMatcher::BatchItems items;
            items.count = indexes.size();
            items.context = &source;
            items.index = [](const void *context, std::size_t i) -> const FuzzyHaystack & {
                return static_cast<const Source *>(context)->indexes[i];
            };
            items.fields = [](const void *context, std::size_t i, FuzzyMatcher::FieldViews &views) {
                for (const QString &field : static_cast<const Source *>(context)->texts[i])
                    views.append(field);
            };
            std::vector<std::optional<double>> batch(indexes.size());
            FuzzyMatcher::scoreBatch(query, items, batch);
            for (size_t h = 0; h < indexes.size(); ++h) {
                QList<QStringView> views(texts[h].begin(), texts[h].end());
                const auto expected = plainScore(query, texts[h]);
                matched += expected.has_value();
                const std::string context = texts[h].join(u'|').toStdString() + " ? " + terms.join(u' ').toStdString();
                ASSERT_EQ(FuzzyMatcher::score(query, indexes[h], std::span<const QStringView>(views)), expected) << context;
                ASSERT_EQ(batch[h], expected) << context;
                ASSERT_EQ(FuzzyMatcher::score(query, FuzzyHaystack(texts[h])), expected) << context;
            }
        }
    }
    EXPECT_GT(matched, 500); // the terms come from the texts, so many must match
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

} // namespace
