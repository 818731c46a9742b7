#include "FuzzyWordIndex.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>

namespace corvane {

bool FuzzyWordIndex::Builder::add(std::uint32_t bits, QStringView folded)
{
    const qsizetype length = folded.size();
    const bool carriesLength = length > maxStrideLength;
    if (qsizetype(m_text.size()) + length + carriesLength > maxTextUnits)
        return false;
    ++m_counts[slot(length)];
    m_bits.push_back(bits);
    if (carriesLength)
        m_text.push_back(char16_t(length));
    m_text.insert(m_text.end(), folded.utf16(), folded.utf16() + length);
    return true;
}

FuzzyWordIndex FuzzyWordIndex::Builder::finish(bool complete) const
{
    FuzzyWordIndex index;
    index.m_complete = complete;
    std::uint16_t start = 0;
    for (std::size_t s = 0; s < m_counts.size(); ++s) {
        index.m_wordStart[s] = start;
        start += m_counts[s];
    }
    index.m_wordStart.back() = start;
    if (m_bits.empty())
        return index;
    index.m_blockUnits = std::uint32_t(m_bits.size() + (m_text.size() + 1) / 2);
    index.m_block = std::make_unique<std::uint32_t[]>(index.m_blockUnits);
    std::copy(m_bits.begin(), m_bits.end(), index.m_block.get());
    std::memcpy(index.m_block.get() + m_bits.size(), m_text.data(), m_text.size() * sizeof(char16_t));
    return index;
}

bool FuzzyWordIndex::anyClose(qsizetype shortest, qsizetype maxLength, std::uint32_t bits, int limit) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    const std::uint32_t *words = m_block.get();
    std::uint32_t k = first;
#if defined(__SSE2__)
    const __m128i term = _mm_set1_epi32(int(bits));
    const __m128i one = _mm_set1_epi32(1);
    for (; k + 4 <= last; k += 4) {
        const __m128i word = _mm_loadu_si128(reinterpret_cast<const __m128i *>(words + k));
        __m128i missing = _mm_andnot_si128(word, term);
        __m128i extra = _mm_andnot_si128(term, word);
        for (int i = 0; i < limit; ++i) {
            missing = _mm_and_si128(missing, _mm_sub_epi32(missing, one));
            extra = _mm_and_si128(extra, _mm_sub_epi32(extra, one));
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(missing, extra), _mm_setzero_si128())))
            return true;
    }
#endif
    for (; k < last; ++k) {
        if (hasAtMostBits(bits & ~words[k], limit) && hasAtMostBits(words[k] & ~bits, limit))
            return true;
    }
    return false;
}

FuzzyWordIndex::FuzzyWordIndex(const FuzzyWordIndex &other)
{
    *this = other;
}

FuzzyWordIndex &FuzzyWordIndex::operator=(const FuzzyWordIndex &other)
{
    if (this == &other)
        return *this;
    m_wordStart = other.m_wordStart;
    m_blockUnits = other.m_blockUnits;
    m_complete = other.m_complete;
    m_block.reset();
    if (other.m_block) {
        m_block = std::make_unique<std::uint32_t[]>(m_blockUnits);
        std::copy(other.m_block.get(), other.m_block.get() + m_blockUnits, m_block.get());
    }
    return *this;
}

namespace {

/** Prefetches bytes [first, end) of a block, a few cache lines at most. */
void prefetchBytes(const void *block, std::size_t first, std::size_t end)
{
#if defined(__GNUC__)
    const char *bytes = static_cast<const char *>(block);
    end = std::min(end, first + 256);
    for (std::size_t at = first & ~std::size_t{63}; at < end; at += 64)
        __builtin_prefetch(bytes + at);
#endif
}

} // namespace

void FuzzyWordIndex::prefetch(qsizetype shortest, qsizetype maxLength) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    if (first < last)
        prefetchBytes(m_block.get(), first * sizeof(std::uint32_t), last * sizeof(std::uint32_t));
}

void FuzzyWordIndex::prefetchTexts(qsizetype shortest, qsizetype maxLength) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    if (first == last)
        return;
    const std::size_t start = m_wordStart.back() * sizeof(std::uint32_t);
    const std::size_t from = textOffset(shortest) * sizeof(char16_t);
    const std::size_t to = maxLength > maxStrideLength ? m_blockUnits * sizeof(std::uint32_t) - start
                                                       : textOffset(maxLength + 1) * sizeof(char16_t);
    prefetchBytes(m_block.get(), start + from, start + to);
}

} // namespace corvane
