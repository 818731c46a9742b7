#pragma once

#include <QLatin1String>
#include <QStringView>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace corvane {

/**
 * @brief A folded term of up to 64 units prepared for bit-parallel optimal string alignment
 * (Hyyrö's algorithm): one pass over a word with a handful of word operations per character.
 */
class TypoPattern
{
public:
    TypoPattern() = default;
    explicit TypoPattern(QStringView folded);

    /** False for terms longer than 64 units; use the table-based distance then. */
    bool isValid() const { return m_length > 0 && m_length <= 64; }
    /** Optimal string alignment distance between the term and a folded word. */
    int distance(QStringView folded) const;
    /** The same for a folded word held one byte a unit. */
    int distance(QLatin1String folded) const;

private:
    std::uint64_t mask(char16_t c) const;
    template<typename Unit> int distanceTo(const Unit *folded, qsizetype length) const;

    int m_length = 0;
    std::array<std::uint64_t, 128> m_ascii{};
    std::vector<std::pair<char16_t, std::uint64_t>> m_other;
};

} // namespace corvane
