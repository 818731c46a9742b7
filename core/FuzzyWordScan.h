#pragma once

#include "FuzzyMatcher.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <cstdint>

namespace corvane::FuzzyWordScan {

// Word-by-word typo search over plain text, for haystacks without an index and for highlights.

/** The bit of one folded unit in a word's character bits. */
inline std::uint32_t charBit(char16_t folded)
{
    // Letters get a bit each; digits and everything else share the remaining six.
    if (folded >= 'a' && folded <= 'z')
        return std::uint32_t{1} << (folded - 'a');
    return std::uint32_t{1} << (26 + folded % 6);
}

/** Whether at most `count` bits are set; cheap for the small counts typo limits use. */
inline bool hasAtMostBits(std::uint32_t bits, int count)
{
    for (int i = 0; i < count && bits; ++i)
        bits &= bits - 1; // clears the lowest set bit
    return bits == 0;
}

/** Calls `visit(start, length)` for every word (maximal run of letters and digits). */
template<typename Visit> void forEachWord(QStringView text, Visit &&visit)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && !TextFolding::isWordCharAt(text, i))
            ++i;
        const qsizetype start = i;
        while (i < n && TextFolding::isWordCharAt(text, i))
            ++i;
        if (i > start)
            visit(start, i - start);
    }
}

/** @brief A word of the haystack folded into a small buffer, with its character bits. */
struct FoldedWord {
    QVarLengthArray<char16_t, 64> units;
    std::uint32_t bits = 0;

    void assign(QStringView word)
    {
        units.resize(word.size());
        bits = 0;
        for (qsizetype i = 0; i < word.size(); ++i) {
            units[i] = TextFolding::fold(word[i].unicode());
            bits |= charBit(units[i]);
        }
    }
    QStringView view() const { return QStringView(units.constData(), units.size()); }
};

/**
 * Whether a word with these character bits can be within `limit` typos of the term: each edit
 * removes or adds at most one distinct character.
 */
inline bool mayBeClose(const FuzzyMatcher::PreparedTerm &term, std::uint32_t wordBits, int limit)
{
    return hasAtMostBits(term.charBits & ~wordBits, limit) && hasAtMostBits(wordBits & ~term.charBits, limit);
}

/** Typo distance of a word to a term when within `limit`, else limit + 1; cheap checks first. */
int boundedDistance(const FuzzyMatcher::PreparedTerm &term, const FoldedWord &word, int limit);

using PendingTerms = QVarLengthArray<const FuzzyMatcher::PreparedTerm *, 8>;
using Distances = QVarLengthArray<int, 8>;

/** Lowers best[k] to the smallest distance of pending[k] to any word of the field. */
void scanWords(const PendingTerms &pending, QStringView field, Distances &best);

} // namespace corvane::FuzzyWordScan
