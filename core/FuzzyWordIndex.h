#pragma once

#include <QLatin1String>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief The distinct folded words of one haystack, sorted by length: a view over the part of
 * the haystack's block that holds them.
 *
 * The character bits of all words come first, then their texts, one byte a unit when every
 * folded unit fits (most text), else two. Where each length starts is kept in the layout, so a
 * typo search reads the bits of just the lengths it needs and touches a text only when the bits
 * allow a match. Texts of one length have a fixed stride; words longer than 15 units carry their
 * length before the text.
 */
class FuzzyWordIndex
{
public:
    /** @brief One indexed word: which characters it holds and its folded text. */
    struct Word {
        std::uint32_t bits;
        const void *text;
        qsizetype length;
        bool narrow;

        QLatin1String latin1() const { return QLatin1String(static_cast<const char *>(text), length); }
        QStringView utf16() const { return QStringView(static_cast<const char16_t *>(text), length); }
    };

    static constexpr qsizetype minLength = 3;
    /** Lengths up to this are found from the layout's starts; longer words are walked. */
    static constexpr qsizetype maxStrideLength = 15;
    /** The index may not hold more text than this; later words are left out. */
    static constexpr qsizetype maxTextUnits = 32000;
    static constexpr std::size_t strideLengths = maxStrideLength - minLength + 1;

    /** @brief Where the words of each length start, kept in the haystack's header. */
    struct Layout {
        // Number of the first word of each length 3..15, then of the long words, then the word count.
        std::array<std::uint16_t, strideLengths + 2> wordStart{};
        bool complete = true;
        bool narrow = true;

        std::uint32_t wordCount() const { return wordStart.back(); }
    };

    /** @brief Collects words in order of length, then writes them into a haystack's block. */
    class Builder
    {
    public:
        /** False, adding nothing, when the index is full. */
        bool add(std::uint32_t bits, QStringView folded);
        /** Empties the builder, keeping its buffers. */
        void clear();
        Layout layout(bool complete) const;
        /** Bytes the words take in the block (bits, then texts). */
        std::size_t bytes() const;
        /** Writes the words to `block`, which is `bytes()` long and 4-byte aligned. */
        void write(std::byte *block) const;

    private:
        std::vector<std::uint32_t> m_bits;
        std::vector<char16_t> m_text;
        std::array<std::uint16_t, strideLengths + 1> m_counts{};
        bool m_narrow = true;
    };

    FuzzyWordIndex(const Layout &layout, const std::byte *block)
        : m_layout(layout)
        , m_bits(reinterpret_cast<const std::uint32_t *>(block))
        , m_text(block + std::size_t(layout.wordCount()) * sizeof(std::uint32_t))
    {
    }

    /** False when the text had words the index left out (too long, or too many). */
    bool isComplete() const { return m_layout.complete; }

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
    void forEachWord(qsizetype shortest, qsizetype maxLength, Test &&test, Visit &&visit) const
    {
        if (m_layout.narrow)
            forEachWordIn<unsigned char>(shortest, maxLength, test, visit);
        else
            forEachWordIn<char16_t>(shortest, maxLength, test, visit);
    }

    /** Asks the processor to start loading the bits of these lengths. */
    void prefetch(qsizetype shortest, qsizetype maxLength) const;
    /** The same for the texts of these lengths. */
    void prefetchTexts(qsizetype shortest, qsizetype maxLength) const;

private:
    static std::size_t slot(qsizetype length)
    {
        return std::size_t(std::clamp(length, minLength, maxStrideLength + 1) - minLength);
    }

    /** The range of word numbers with these lengths (long words all count as one length). */
    std::pair<std::uint32_t, std::uint32_t> wordsOfLengths(qsizetype shortest, qsizetype maxLength) const
    {
        if (shortest > maxLength || maxLength < FuzzyWordIndex::minLength)
            return {0, 0};
        return {m_layout.wordStart[slot(shortest)], m_layout.wordStart[slot(maxLength) + 1]};
    }
    /** Where the texts of words of `length` units (all long words when past the strides) start, in units. */
    std::size_t textOffset(qsizetype length) const
    {
        std::size_t offset = 0;
        for (qsizetype shorter = minLength; shorter < std::min(length, maxStrideLength + 1); ++shorter)
            offset
                += std::size_t(m_layout.wordStart[slot(shorter) + 1] - m_layout.wordStart[slot(shorter)]) * std::size_t(shorter);
        return offset;
    }
    std::size_t unitSize() const { return m_layout.narrow ? 1 : 2; }

    template<typename Unit, typename Test, typename Visit>
    void forEachWordIn(qsizetype shortest, qsizetype maxLength, Test &test, Visit &visit) const;

    const Layout &m_layout;
    const std::uint32_t *m_bits;
    const std::byte *m_text;
};

template<typename Unit, typename Test, typename Visit>
void FuzzyWordIndex::forEachWordIn(qsizetype shortest, qsizetype maxLength, Test &test, Visit &visit) const
{
    if (m_layout.wordCount() == 0 || shortest > maxLength)
        return;
    constexpr bool narrow = sizeof(Unit) == 1;
    const qsizetype from = std::max(shortest, FuzzyWordIndex::minLength);
    const Unit *text = reinterpret_cast<const Unit *>(m_text) + textOffset(from);
    for (qsizetype length = from; length <= std::min(maxLength, maxStrideLength); ++length) {
        const std::uint32_t first = m_layout.wordStart[slot(length)];
        const std::uint32_t end = m_layout.wordStart[slot(length) + 1];
        for (std::uint32_t k = first; k < end; ++k) {
            if (test(m_bits[k]) && !visit(Word{m_bits[k], text + (k - first) * length, length, narrow}))
                return;
        }
        text += (end - first) * length;
    }
    if (maxLength <= maxStrideLength)
        return;
    // Long words carry their length before the text.
    for (std::uint32_t k = m_layout.wordStart[strideLengths]; k < m_layout.wordCount(); ++k) {
        const qsizetype length = *text++;
        if (length > maxLength)
            return;
        if (length >= shortest && test(m_bits[k]) && !visit(Word{m_bits[k], text, length, narrow}))
            return;
        text += length;
    }
}

} // namespace corvane
