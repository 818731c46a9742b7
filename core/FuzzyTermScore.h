#pragma once

#include "FuzzyMatcher.h"
#include "TextFolding.h"

// Per-term scores shared by the plain-text and the indexed scoring paths.

namespace corvane::FuzzyMatcher {

inline constexpr double wordStartScore = 1.25;
inline constexpr double substringScore = 1.0;

inline double typoScore(int distance) { return 0.6 - 0.15 * (distance - 1); }

/** Best exact score of a term in one field: 0 when absent. */
inline double exactScore(const PreparedTerm &term, QStringView field)
{
    double best = 0;
    for (qsizetype at = TextFolding::indexOfFolded(field, term.folded); at >= 0;
         at = TextFolding::indexOfFolded(field, term.folded, at + 1)) {
        if (TextFolding::startsWord(field, at))
            return wordStartScore;
        best = substringScore;
    }
    return best;
}

} // namespace corvane::FuzzyMatcher
