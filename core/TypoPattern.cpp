#include "TypoPattern.h"

#include <algorithm>

namespace corvane {

TypoPattern::TypoPattern(QStringView folded)
    : m_length(int(folded.size()))
{
    if (!isValid())
        return;
    for (int i = 0; i < m_length; ++i) {
        const char16_t c = folded[i].unicode();
        const std::uint64_t bit = std::uint64_t{1} << i;
        if (c < 128) {
            m_ascii[c] |= bit;
            continue;
        }
        auto found = std::find_if(m_other.begin(), m_other.end(), [c](const auto &entry) { return entry.first == c; });
        if (found == m_other.end())
            m_other.emplace_back(c, bit);
        else
            found->second |= bit;
    }
}

std::uint64_t TypoPattern::mask(char16_t c) const
{
    if (c < 128)
        return m_ascii[c];
    for (const auto &[unit, bits] : m_other) {
        if (unit == c)
            return bits;
    }
    return 0;
}

int TypoPattern::distance(QStringView folded) const { return distanceTo(folded.utf16(), folded.size()); }

int TypoPattern::distance(QLatin1String folded) const
{
    return distanceTo(reinterpret_cast<const unsigned char *>(folded.data()), folded.size());
}

template<typename Unit> int TypoPattern::distanceTo(const Unit *folded, qsizetype length) const
{
    // Vertical deltas of the dynamic-programming column, kept as bit vectors.
    std::uint64_t positive = ~std::uint64_t{0};
    std::uint64_t negative = 0;
    std::uint64_t diagonal = 0;
    std::uint64_t previousMatch = 0;
    const std::uint64_t last = std::uint64_t{1} << (m_length - 1);
    int distance = m_length;
    for (qsizetype i = 0; i < length; ++i) {
        const std::uint64_t match = mask(char16_t(folded[i]));
        const std::uint64_t transposed = (((~diagonal) & match) << 1) & previousMatch;
        diagonal = (((match & positive) + positive) ^ positive) | match | negative | transposed;
        std::uint64_t horizontalUp = negative | ~(diagonal | positive);
        std::uint64_t horizontalDown = diagonal & positive;
        distance += (horizontalUp & last) ? 1 : 0;
        distance -= (horizontalDown & last) ? 1 : 0;
        horizontalUp = (horizontalUp << 1) | 1;
        horizontalDown <<= 1;
        positive = horizontalDown | ~(diagonal | horizontalUp);
        negative = horizontalUp & diagonal;
        previousMatch = match;
    }
    return distance;
}

} // namespace corvane
