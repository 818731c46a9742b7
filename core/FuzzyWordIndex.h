#pragma once

#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace corvane {

/**
 * @brief The distinct folded words of one haystack in a single heap block, grouped by length.
 *
 * Each length from 3 to 15 has a region: the character bits of its words, then their texts at a
 * fixed stride. Where each region starts is kept inline, so a typo search over a few lengths
 * goes straight to one contiguous run of the block and can prefetch exactly that run. Longer
 * words share a last region with a small header per length.
 */
class FuzzyWordIndex {
public:
    /** @brief One indexed word: which characters it holds and its folded text. */
    struct Word {
        std::uint32_t bits;
        QStringView folded;
    };

    static constexpr qsizetype minLength = 3;
    /** Lengths up to this have a region of their own. */
    static constexpr qsizetype maxRegionLength = 15;
    /** The block may not grow past this many bytes; later words are left out. */
    static constexpr qsizetype maxBytes = 60000;

    /** @brief Collects words in order of length, then packs them into an index. */
    class Builder {
    public:
        /** False, adding nothing, when the word would make the block too large. */
        bool add(std::uint32_t bits, QStringView folded);
        FuzzyWordIndex finish(bool complete) const;

    private:
        struct Group {
            qsizetype length;
            std::vector<std::uint32_t> bits;
            std::vector<char16_t> text;
        };
        std::vector<Group> m_groups;
        qsizetype m_bytes = 0;
    };

    FuzzyWordIndex() = default;
    FuzzyWordIndex(const FuzzyWordIndex &other);
    FuzzyWordIndex &operator=(const FuzzyWordIndex &other);
    FuzzyWordIndex(FuzzyWordIndex &&) noexcept = default;
    FuzzyWordIndex &operator=(FuzzyWordIndex &&) noexcept = default;

    /** False when the text had words the index left out (too long, or too many). */
    bool isComplete() const { return m_complete; }

    /** Calls visit(Word) for each word of `minLength` to `maxLength` units, shortest first, until it returns false. */
    template<typename Visit>
    void forEachWord(qsizetype minLength, qsizetype maxLength, Visit &&visit) const;

    /** Asks the processor to start loading the words of these lengths; reads nothing from the block. */
    void prefetch(qsizetype minLength, qsizetype maxLength) const;
    /** Bytes held outside the object. */
    std::size_t memoryUsage() const { return m_offsets.back(); }

private:
    static constexpr std::size_t regions = maxRegionLength - minLength + 1;
    static std::size_t region(qsizetype length) { return std::size_t(length - minLength); }

    std::unique_ptr<std::uint32_t[]> m_block;
    // Byte offsets: where each length's region starts, then the shared long-word region, then the end.
    std::array<std::uint16_t, regions + 2> m_offsets{};
    bool m_complete = true;
};

template<typename Visit>
void FuzzyWordIndex::forEachWord(qsizetype minLength, qsizetype maxLength, Visit &&visit) const
{
    const char *block = reinterpret_cast<const char *>(m_block.get());
    auto visitGroup = [&](const char *at, qsizetype length, std::uint32_t count) {
        const auto *bits = reinterpret_cast<const std::uint32_t *>(at);
        const auto *text = reinterpret_cast<const char16_t *>(bits + count);
        for (std::uint32_t k = 0; k < count; ++k) {
            if (!visit(Word{bits[k], QStringView(text + k * length, length)}))
                return false;
        }
        return true;
    };
    for (qsizetype length = std::max(minLength, FuzzyWordIndex::minLength); length <= std::min(maxLength, maxRegionLength); ++length) {
        const std::size_t r = region(length);
        const auto count = std::uint32_t((m_offsets[r + 1] - m_offsets[r]) / (4 + 2 * length));
        if (count && !visitGroup(block + m_offsets[r], length, count))
            return;
    }
    if (maxLength <= maxRegionLength)
        return;
    // Long words: a header (length | count << 16) before each length's bits and texts.
    for (std::size_t at = m_offsets[regions]; at < m_offsets[regions + 1];) {
        const std::uint32_t header = *reinterpret_cast<const std::uint32_t *>(block + at);
        const qsizetype length = header & 0xFFFF;
        const std::uint32_t count = header >> 16;
        if (length > maxLength)
            return;
        if (length >= minLength && !visitGroup(block + at + 4, length, count))
            return;
        at += 4 + ((4 + 2 * length) * count + 3) / 4 * 4;
    }
}

} // namespace corvane
