#include "FuzzyWordScan.h"

#include <algorithm>
#include <limits>

namespace corvane::FuzzyWordScan {

int boundedDistance(const FuzzyMatcher::PreparedTerm &term, const FoldedWord &word, int limit)
{
    if (!mayBeClose(term, word.bits, limit))
        return limit + 1;
    return FuzzyMatcher::typoDistance(term.folded, word.view(), limit);
}

void scanWords(const PendingTerms &pending, QStringView field, Distances &best)
{
    qsizetype minLength = std::numeric_limits<qsizetype>::max();
    qsizetype maxLength = 0;
    for (const FuzzyMatcher::PreparedTerm *term : pending) {
        minLength = std::min(minLength, term->folded.size() - term->typoLimit);
        maxLength = std::max(maxLength, term->folded.size() + term->typoLimit);
    }
    FoldedWord word;
    forEachWord(field, [&](qsizetype start, qsizetype length) {
        if (length < minLength || length > maxLength)
            return;
        bool folded = false;
        for (qsizetype k = 0; k < pending.size(); ++k) {
            const FuzzyMatcher::PreparedTerm &term = *pending[k];
            const int limit = std::min(term.typoLimit, best[k] - 1);
            if (limit < 1 || std::abs(length - term.folded.size()) > limit)
                continue;
            if (!folded) {
                word.assign(field.mid(start, length));
                folded = true;
            }
            best[k] = std::min(best[k], boundedDistance(term, word, limit));
        }
    });
}

} // namespace corvane::FuzzyWordScan
