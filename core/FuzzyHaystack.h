#pragma once

#include "FuzzyWordIndex.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief The searchable fields of one clip plus a small index, built once per clip and kept
 * next to it, so scoring a query against 100k clips rejects most of them without reading text.
 *
 * The index holds a bigram filter (no filter hit means no case-insensitive occurrence), the
 * characters of each word length, and the distinct words of three or more characters, folded,
 * with their character bits (enough to rule out most typo matches) in one block. The filters
 * come first so rejecting a clip reads three cache lines of it. Texts are shared with the
 * caller's strings.
 */
class FuzzyHaystack {
public:
    /** @brief One distinct word of the index: its folded text and which characters it holds. */
    using Word = FuzzyWordIndex::Word;

    FuzzyHaystack() = default;
    explicit FuzzyHaystack(const QStringList &fields);

    const QStringList &fields() const { return m_fields; }

    /** @brief Filter bits of a folded text's bigrams and trigrams. */
    struct Grams {
        static constexpr size_t words = 8; // 512 bits each
        std::array<std::uint64_t, words> bigrams{};
        std::array<std::uint64_t, words> trigrams{};

        void add(const char16_t *folded, qsizetype length);
    };

    /** False when a bigram or trigram of the term is missing, i.e. the term cannot occur. */
    bool mayContain(const Grams &term) const;

    /**
     * False when no indexed word of `minLength` to `maxLength` units can be within `limit` typos
     * of a word with these character bits; read from a few bits kept per word length.
     */
    bool mayHaveCloseWord(std::uint32_t bits, qsizetype minLength, qsizetype maxLength, int limit) const;

    /** False when the text had more distinct words than the index keeps; then read the fields. */
    bool wordsComplete() const { return m_words.isComplete(); }
    /** Calls visit(Word) for each indexed word of `minLength` to `maxLength` units whose bits pass test(bits). */
    template<typename Test, typename Visit>
    void forEachWord(qsizetype minLength, qsizetype maxLength, Test &&test, Visit &&visit) const
    {
        m_words.forEachWord(minLength, maxLength, std::forward<Test>(test), std::forward<Visit>(visit));
    }

    /** Whether some indexed word of these lengths is within `limit` characters of `bits` both ways (see FuzzyWordIndex::anyClose). */
    bool mayHaveCloseIndexedWord(std::uint32_t bits, qsizetype minLength, qsizetype maxLength, int limit) const
    {
        return m_words.anyClose(minLength, maxLength, bits, limit);
    }

    /** Asks the processor to start loading the words of these lengths; for loops over many haystacks. */
    void prefetch(qsizetype minLength, qsizetype maxLength) const { m_words.prefetch(minLength, maxLength); }
    /** The same for the texts of the words of these lengths. */
    void prefetchWordTexts(qsizetype minLength, qsizetype maxLength) const { m_words.prefetchTexts(minLength, maxLength); }
    /** The same for the list of fields, then (once that has arrived) for the start of each field's text. */
    void prefetchFieldList() const;
    void prefetchFieldTexts() const;
    std::size_t memoryUsage() const;

    static constexpr qsizetype minWordLength = 3;
    static constexpr qsizetype maxWordLength = 64;
    /** Word lengths 3 to 15 have a bucket each; longer words share the last. */
    static constexpr qsizetype lengthBuckets = 14;

    /** Whether at most `count` bits are set; cheap for the small counts typo limits use. */
    static bool hasAtMostBits(std::uint32_t bits, int count) { return FuzzyWordIndex::hasAtMostBits(bits, count); }
    /** The bit of one folded unit in a word's character bits. */
    static std::uint32_t charBit(char16_t folded)
    {
        // Letters get a bit each; digits and everything else share the remaining six.
        if (folded >= 'a' && folded <= 'z')
            return std::uint32_t{1} << (folded - 'a');
        return std::uint32_t{1} << (26 + folded % 6);
    }

private:
    // Hot first: a rejected clip reads only the grams and the bucket bits.
    Grams m_grams;
    // Per length bucket: all its words' character bits together; all ones when words were left out.
    std::array<std::uint32_t, lengthBuckets> m_bucketBits{};
    FuzzyWordIndex m_words;
    QStringList m_fields;

    static size_t bucket(qsizetype length) { return size_t(std::min<qsizetype>(length, minWordLength + lengthBuckets - 1) - minWordLength); }
};

} // namespace corvane
