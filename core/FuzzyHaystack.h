#pragma once

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
 * The index holds a bigram filter (no filter hit means no case-insensitive occurrence) and the
 * distinct words of three or more characters, folded, with their character bits (enough to rule
 * out most typo matches), all in one block. Texts are shared with the caller's strings.
 */
class FuzzyHaystack {
public:
    /** @brief One distinct word of the index: its folded text and which characters it holds. */
    struct Word {
        std::uint32_t bits;
        QStringView folded;
    };

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
    bool wordsComplete() const { return m_wordsComplete; }
    /** Calls visit(Word) for each indexed word of `minLength` to `maxLength` units, shortest first. */
    template<typename Visit>
    void forEachWord(qsizetype minLength, qsizetype maxLength, Visit &&visit) const;

    /** Asks the processor to start loading the words from `minLength` on; for loops over many haystacks. */
    void prefetch(qsizetype minLength) const;
    std::size_t memoryUsage() const;

    static constexpr qsizetype minWordLength = 3;
    static constexpr qsizetype maxWordLength = 64;
    static constexpr qsizetype maxIndexUnits = 32000;
    /** Word lengths 3 to 17 have a bucket each; longer words share the last. */
    static constexpr qsizetype lengthBuckets = 16;

    /** Whether at most `count` bits are set; cheap for the small counts typo limits use. */
    static bool hasAtMostBits(std::uint32_t bits, int count)
    {
        for (int i = 0; i < count && bits; ++i)
            bits &= bits - 1; // clears the lowest set bit
        return bits == 0;
    }
    /** The bit of one folded unit in a word's character bits. */
    static std::uint32_t charBit(char16_t folded)
    {
        // Letters get a bit each; digits and everything else share the remaining six.
        if (folded >= 'a' && folded <= 'z')
            return std::uint32_t{1} << (folded - 'a');
        return std::uint32_t{1} << (26 + folded % 6);
    }

private:
    QStringList m_fields;
    Grams m_grams;
    // Per word: bits (two units), length and the folded text; words sorted by length.
    std::vector<char16_t> m_index;
    // Per length bucket: where its words start in m_index, and all their character bits together.
    // Kept here rather than in m_index so deciding whether to read the words costs no extra load.
    std::array<std::uint16_t, lengthBuckets> m_bucketStart{};
    std::array<std::uint32_t, lengthBuckets> m_bucketBits{};
    bool m_wordsComplete = true;

    static size_t bucket(qsizetype length) { return size_t(std::min<qsizetype>(length, minWordLength + lengthBuckets - 1) - minWordLength); }
};

template<typename Visit>
void FuzzyHaystack::forEachWord(qsizetype minLength, qsizetype maxLength, Visit &&visit) const
{
    if (minLength > maxWordLength || maxLength < minWordLength)
        return;
    const char16_t *at = m_index.data() + m_bucketStart[bucket(std::max(minLength, minWordLength))];
    const char16_t *end = m_index.data() + m_index.size();
    while (at < end) {
        const qsizetype length = at[2];
        if (length > maxLength)
            return;
        if (length >= minLength) {
            const std::uint32_t bits = std::uint32_t(at[0]) | (std::uint32_t(at[1]) << 16);
            if (!visit(Word{bits, QStringView(at + 3, length)}))
                return;
        }
        at += 3 + length;
    }
}

} // namespace corvane
