#pragma once

#include "FuzzyWordIndex.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <atomic>
#include <span>
#include <utility>
#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief The index of one clip's searchable fields, built once per clip and kept next to it,
 * so scoring a query against 100k clips rejects most of them without reading text.
 *
 * The index holds a bigram and trigram filter (no filter hit means no case-insensitive
 * occurrence), the characters of each word length, and the distinct words of three or more
 * characters, folded, with their character bits (enough to rule out most typo matches). The
 * gram filters and the length buckets' bits are held inline, so a scan over many haystacks
 * rules out most clips reading only the array it walks. The words live in one shared, immutable
 * block that copies reference, their texts one byte a unit when they fit.
 *
 * Built from a QStringList it keeps the list (sharing the strings); built from views it keeps no
 * text, and whoever scores it hands the same fields in again.
 */
class FuzzyHaystack
{
public:
    /** @brief One distinct word of the index: its folded text and which characters it holds. */
    using Word = FuzzyWordIndex::Word;

    FuzzyHaystack() = default;
    /** Indexes the fields and keeps them for scoring. */
    explicit FuzzyHaystack(const QStringList &fields);
    /** Indexes the fields without keeping them: score with FuzzyMatcher::score(query, index, fields). */
    explicit FuzzyHaystack(std::span<const QStringView> fields);
    FuzzyHaystack(const FuzzyHaystack &other) noexcept;
    FuzzyHaystack(FuzzyHaystack &&other) noexcept;
    FuzzyHaystack &operator=(const FuzzyHaystack &other) noexcept;
    FuzzyHaystack &operator=(FuzzyHaystack &&other) noexcept;
    ~FuzzyHaystack() { release(); }

    /** False for a default-constructed haystack, which indexes nothing. */
    bool isBuilt() const { return m_block != nullptr; }
    explicit operator bool() const { return isBuilt(); }

    /** The fields it was built from, when it keeps them; else empty. */
    const QStringList &fields() const;

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
    bool wordsComplete() const { return block().layout.complete; }
    /** Calls visit(Word) for each indexed word of `minLength` to `maxLength` units whose bits pass test(bits). */
    template<typename Test, typename Visit>
    void forEachWord(qsizetype minLength, qsizetype maxLength, Test &&test, Visit &&visit) const
    {
        words().forEachWord(minLength, maxLength, std::forward<Test>(test), std::forward<Visit>(visit));
    }

    /** Whether some indexed word of these lengths is within `limit` characters of `bits` both ways (see FuzzyWordIndex::anyClose). */
    bool mayHaveCloseIndexedWord(std::uint32_t bits, qsizetype minLength, qsizetype maxLength, int limit) const
    {
        return words().anyClose(minLength, maxLength, bits, limit);
    }

    /** Asks the processor to start loading the start of the words (their layout and first bits); for loops over many haystacks. */
    void prefetchWords() const;
    /** The same for the words of these lengths. */
    void prefetch(qsizetype minLength, qsizetype maxLength) const { words().prefetch(minLength, maxLength); }
    /** The same for the texts of the words of these lengths. */
    void prefetchWordTexts(qsizetype minLength, qsizetype maxLength) const { words().prefetchTexts(minLength, maxLength); }
    /** The same for the start of each field's text. */
    static void prefetchFieldTexts(std::span<const QStringView> fields);
    static void prefetchFieldTexts(const QStringList &fields);
    /** The same for the list of kept fields. */
    void prefetchFieldList() const;
    /** Bytes of this object and of the block it shares. */
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
    /** @brief The start of the shared block; the kept fields (if any) and the words follow. */
    struct Block {
        std::atomic<std::uint32_t> references{1};
        std::uint32_t bytes = 0;
        FuzzyWordIndex::Layout layout;
        bool keepsFields = false;
    };
    static constexpr std::size_t fieldsOffset = (sizeof(Block) + 7) & ~std::size_t{7};

    void build(std::span<const QStringView> fields, const QStringList *kept);
    void release() noexcept;
    const std::byte *wordBlock() const;
    FuzzyWordIndex words() const { return FuzzyWordIndex(block().layout, wordBlock()); }
    const Block &block() const;
    static size_t bucket(qsizetype length)
    {
        return size_t(std::min<qsizetype>(length, minWordLength + lengthBuckets - 1) - minWordLength);
    }

    // Inline, so a scan over many haystacks rules out most clips without leaving the array it
    // walks; only the rest reads the block.
    Grams m_grams;
    // Per length bucket: all its words' character bits together; all ones when words were left out.
    std::array<std::uint32_t, lengthBuckets> m_bucketBits{};
    Block *m_block = nullptr;
};

} // namespace corvane
