#pragma once

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

/**
 * @brief The distinct folded words of one haystack in a single heap block, sorted by length.
 *
 * The character bits of all words come first, then their texts. Where each length starts is
 * kept inline, so a typo search reads the bits of just the lengths it needs (a cache line or
 * two, which it can prefetch), and touches a text only when the bits allow a match. Texts of
 * one length have a fixed stride; words longer than 15 units carry their length before the text.
 */
class FuzzyWordIndex {
public:
    /** @brief One indexed word: which characters it holds and its folded text. */
    struct Word {
        std::uint32_t bits;
        QStringView folded;
    };

    static constexpr qsizetype minLength = 3;
    /** Lengths up to this are found from the inline starts; longer words are walked. */
    static constexpr qsizetype maxStrideLength = 15;
    /** The block may not hold more text than this; later words are left out. */
    static constexpr qsizetype maxTextUnits = 32000;

    /** @brief Collects words in order of length, then packs them into an index. */
    class Builder {
    public:
        /** False, adding nothing, when the index is full. */
        bool add(std::uint32_t bits, QStringView folded);
        FuzzyWordIndex finish(bool complete) const;

    private:
        std::vector<std::uint32_t> m_bits;
        std::vector<char16_t> m_text;
        std::array<std::uint16_t, maxStrideLength - minLength + 2> m_counts{};
    };

    FuzzyWordIndex() = default;
    FuzzyWordIndex(const FuzzyWordIndex &other);
    FuzzyWordIndex &operator=(const FuzzyWordIndex &other);
    FuzzyWordIndex(FuzzyWordIndex &&) noexcept = default;
    FuzzyWordIndex &operator=(FuzzyWordIndex &&) noexcept = default;

    /** False when the text had words the index left out (too long, or too many). */
    bool isComplete() const { return m_complete; }

    /**
     * Whether any word of `shortest` to `maxLength` units lacks at most `limit` of the
     * characters in `bits` and has at most `limit` others; reads only bits, four words at a time.
     */
    bool anyClose(qsizetype shortest, qsizetype maxLength, std::uint32_t bits, int limit) const;

    /** Whether at most `count` bits are set; cheap for the small counts typo limits use. */
    static bool hasAtMostBits(std::uint32_t bits, int count)
    {
        for (int i = 0; i < count && bits; ++i)
            bits &= bits - 1; // clears the lowest set bit
        return bits == 0;
    }

    /**
     * Calls visit(Word) for each word of `shortest` to `maxLength` units whose bits pass
     * test(bits), shortest first, until it returns false. Texts of other words are not touched.
     */
    template<typename Test, typename Visit>
    void forEachWord(qsizetype shortest, qsizetype maxLength, Test &&test, Visit &&visit) const;

    /** Asks the processor to start loading the bits of these lengths; reads nothing from the block. */
    void prefetch(qsizetype shortest, qsizetype maxLength) const;
    /** The same for the texts of these lengths. */
    void prefetchTexts(qsizetype shortest, qsizetype maxLength) const;
    /** Bytes held outside the object. */
    std::size_t memoryUsage() const { return m_blockUnits * sizeof(std::uint32_t); }

private:
    static constexpr std::size_t strideLengths = maxStrideLength - minLength + 1;
    static std::size_t slot(qsizetype length) { return std::size_t(std::clamp(length, minLength, maxStrideLength + 1) - minLength); }

    /** The range of word numbers with these lengths (long words all count as one length). */
    std::pair<std::uint32_t, std::uint32_t> wordsOfLengths(qsizetype shortest, qsizetype maxLength) const
    {
        if (shortest > maxLength || maxLength < FuzzyWordIndex::minLength)
            return {0, 0};
        return {m_wordStart[slot(shortest)], m_wordStart[slot(maxLength) + 1]};
    }
    /** Where the texts of words of `length` units (all long words when past the strides) start. */
    std::size_t textOffset(qsizetype length) const
    {
        std::size_t offset = 0;
        for (qsizetype shorter = minLength; shorter < std::min(length, maxStrideLength + 1); ++shorter)
            offset += std::size_t(m_wordStart[slot(shorter) + 1] - m_wordStart[slot(shorter)]) * std::size_t(shorter);
        return offset;
    }
    const char16_t *text() const { return reinterpret_cast<const char16_t *>(m_block.get() + m_wordStart.back()); }

    std::unique_ptr<std::uint32_t[]> m_block;
    // Number of the first word of each length 3..15, then of the long words, then the word count.
    std::array<std::uint16_t, strideLengths + 2> m_wordStart{};
    std::uint32_t m_blockUnits = 0;
    bool m_complete = true;
};

template<typename Test, typename Visit>
void FuzzyWordIndex::forEachWord(qsizetype shortest, qsizetype maxLength, Test &&test, Visit &&visit) const
{
    if (!m_block || shortest > maxLength)
        return;
    const qsizetype from = std::max(shortest, FuzzyWordIndex::minLength);
    const char16_t *text = this->text() + textOffset(from);
    for (qsizetype length = from; length <= std::min(maxLength, maxStrideLength); ++length) {
        const std::uint32_t first = m_wordStart[slot(length)];
        const std::uint32_t end = m_wordStart[slot(length) + 1];
        for (std::uint32_t k = first; k < end; ++k) {
            if (test(m_block[k]) && !visit(Word{m_block[k], QStringView(text + (k - first) * length, length)}))
                return;
        }
        text += (end - first) * length;
    }
    if (maxLength <= maxStrideLength)
        return;
    // Long words carry their length before the text.
    for (std::uint32_t k = m_wordStart[strideLengths]; k < m_wordStart.back(); ++k) {
        const qsizetype length = *text++;
        if (length > maxLength)
            return;
        if (length >= shortest && test(m_block[k]) && !visit(Word{m_block[k], QStringView(text, length)}))
            return;
        text += length;
    }
}

} // namespace corvane
