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
    for (QChar unit : folded) {
        m_text.push_back(unit.unicode());
        m_narrow = m_narrow && unit.unicode() <= 0xFF;
    }
    return true;
}

void FuzzyWordIndex::Builder::clear()
{
    m_bits.clear();
    m_text.clear();
    m_counts.fill(0);
    m_narrow = true;
}

FuzzyWordIndex::Layout FuzzyWordIndex::Builder::layout(bool complete) const
{
    Layout layout;
    layout.complete = complete;
    layout.narrow = m_narrow;
    std::uint16_t start = 0;
    for (std::size_t s = 0; s < m_counts.size(); ++s) {
        layout.wordStart[s] = start;
        start += m_counts[s];
    }
    layout.wordStart.back() = start;
    return layout;
}

std::size_t FuzzyWordIndex::Builder::bytes() const
{
    return m_bits.size() * sizeof(std::uint32_t) + m_text.size() * (m_narrow ? 1 : 2);
}

void FuzzyWordIndex::Builder::write(std::byte *block) const
{
    std::memcpy(block, m_bits.data(), m_bits.size() * sizeof(std::uint32_t));
    std::byte *text = block + m_bits.size() * sizeof(std::uint32_t);
    if (m_narrow)
        std::transform(m_text.begin(), m_text.end(), reinterpret_cast<unsigned char *>(text),
                       [](char16_t unit) { return static_cast<unsigned char>(unit); });
    else
        std::memcpy(text, m_text.data(), m_text.size() * sizeof(char16_t));
}

bool FuzzyWordIndex::anyClose(qsizetype shortest, qsizetype maxLength, std::uint32_t bits, int limit) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    const std::uint32_t *words = m_bits;
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

namespace {

/** Prefetches bytes [first, end) of a block, a few cache lines at most. */
void prefetchBytes(const void *block, std::size_t first, std::size_t end)
{
#if defined(__GNUC__)
    const char *bytes = static_cast<const char *>(block);
    end = std::min(end, first + 256);
    for (std::size_t at = first; at < end; at += 64)
        __builtin_prefetch(bytes + at);
    if (first < end)
        __builtin_prefetch(bytes + end - 1);
#endif
}

} // namespace

void FuzzyWordIndex::prefetch(qsizetype shortest, qsizetype maxLength) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    if (first < last)
        prefetchBytes(m_bits, first * sizeof(std::uint32_t), last * sizeof(std::uint32_t));
}

void FuzzyWordIndex::prefetchTexts(qsizetype shortest, qsizetype maxLength) const
{
    const auto [first, last] = wordsOfLengths(shortest, maxLength);
    if (first == last)
        return;
    const std::size_t from = textOffset(shortest) * unitSize();
    // Past the strides the long words run to the end; a few lines of them are enough.
    const std::size_t to = maxLength > maxStrideLength ? from + 256 : textOffset(maxLength + 1) * unitSize();
    prefetchBytes(m_text, from, to);
}

} // namespace corvane
