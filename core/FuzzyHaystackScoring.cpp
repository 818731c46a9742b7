// Scoring against prepared haystacks: filters first, then word bits, then texts, so most
// clips are rejected from data held inline or in one cache line of their word index.

#include "FuzzyMatcher.h"
#include "FuzzyTermScore.h"
#include "FuzzyWordScan.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace corvane::FuzzyMatcher {
namespace {

using FuzzyWordScan::mayBeClose;

bool mayHaveCloseWord(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    return haystack.mayHaveCloseWord(term.charBits, length - term.typoLimit, length + term.typoLimit, term.typoLimit);
}

/** Whether some indexed word's characters allow it within the typo limit. */
bool mayHaveCloseIndexedWord(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    return haystack.mayHaveCloseIndexedWord(term.charBits, length - term.typoLimit, length + term.typoLimit, term.typoLimit);
}

/** The smallest typo distance of the term to an indexed word, or typoLimit + 1. */
int indexedDistance(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    int best = term.typoLimit + 1;
    auto mayBeCloseEnough = [&](std::uint32_t bits) { return mayBeClose(term, bits, std::min(term.typoLimit, best - 1)); };
    haystack.forEachWord(length - term.typoLimit, length + term.typoLimit, mayBeCloseEnough, [&](const FuzzyHaystack::Word &word) {
        const int limit = std::min(term.typoLimit, best - 1);
        if (std::abs(word.folded.size() - length) <= limit) {
            const int distance = term.pattern.isValid() ? term.pattern.distance(word.folded)
                                                        : typoDistance(term.folded, word.folded, limit);
            best = std::min(best, distance);
        }
        return best > 1;
    });
    return best;
}


/**
 * @brief What a haystack's filters say about each term (bit k for term k; terms past 64 are
 * never ruled out here), filled in two steps so a batch can load each clip's data ahead.
 */
struct Screen {
    std::uint64_t mayBeExact = 0;
    std::uint64_t mayBeTypo = 0;
    bool rejected = false;

    static bool has(std::uint64_t mask, size_t k) { return k >= 64 || (mask >> k & 1); }
};

/** First step: the filters the haystack holds inline. */
Screen screenInline(const PreparedQuery &query, const FuzzyHaystack &haystack)
{
    Screen screen;
    for (size_t k = 0; k < query.terms.size(); ++k) {
        const PreparedTerm &term = query.terms[k];
        const bool exact = haystack.mayContain(term.grams);
        const bool typo = term.typoLimit > 0 && mayHaveCloseWord(term, haystack);
        if (!exact && !typo) {
            screen.rejected = true;
            return screen;
        }
        if (k < 64) {
            screen.mayBeExact |= std::uint64_t(exact) << k;
            screen.mayBeTypo |= std::uint64_t(typo) << k;
        }
    }
    return screen;
}

/** Second step: the character bits of the indexed words. */
void screenWords(const PreparedQuery &query, const FuzzyHaystack &haystack, Screen &screen)
{
    if (screen.rejected || !haystack.wordsComplete())
        return;
    for (std::uint64_t typo = screen.mayBeTypo; typo; typo &= typo - 1) {
        const int k = __builtin_ctzll(typo);
        if (mayHaveCloseIndexedWord(query.terms[size_t(k)], haystack))
            continue;
        screen.mayBeTypo &= ~(std::uint64_t{1} << k);
        if (!Screen::has(screen.mayBeExact, size_t(k))) {
            screen.rejected = true;
            return;
        }
    }
}

/** Asks for the data scoring will read: the words' bits, or after screenWords() their texts. */
void prefetchFor(const PreparedQuery &query, const FuzzyHaystack &haystack, const Screen &screen, bool texts)
{
    if (screen.rejected)
        return;
    for (std::uint64_t typo = screen.mayBeTypo; typo; typo &= typo - 1) {
        const PreparedTerm &term = query.terms[size_t(__builtin_ctzll(typo))];
        const qsizetype length = term.folded.size();
        if (texts)
            haystack.prefetchWordTexts(length - term.typoLimit, length + term.typoLimit);
        else
            haystack.prefetch(length - term.typoLimit, length + term.typoLimit);
    }
    if (screen.mayBeExact || query.terms.size() > 64)
        texts ? haystack.prefetchFieldTexts() : haystack.prefetchFieldList();
}

/** The smallest typo distance of the term to a word of the haystack, or typoLimit + 1. */
int closestDistance(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    if (haystack.wordsComplete() && term.folded.size() + term.typoLimit <= FuzzyHaystack::maxWordLength)
        return indexedDistance(term, haystack);
    // The index left words out; read the text instead.
    FuzzyWordScan::PendingTerms one{&term};
    FuzzyWordScan::Distances best{term.typoLimit + 1};
    for (const QString &field : haystack.fields())
        FuzzyWordScan::scanWords(one, field, best);
    return best[0];
}

/** Reads the words and texts the screen left open. */
std::optional<double> scoreScreened(const PreparedQuery &query, const FuzzyHaystack &haystack, const Screen &screen)
{
    if (screen.rejected)
        return std::nullopt;
    constexpr int exact = -1;
    constexpr int unknown = -2;
    const size_t count = query.terms.size();
    QVarLengthArray<int, 8> distances(qsizetype(count), unknown);
    // Terms that cannot occur exactly first: they reject most clips that get here, and cost no text search.
    for (size_t k = 0; k < count; ++k) {
        if (Screen::has(screen.mayBeExact, k))
            continue;
        const PreparedTerm &term = query.terms[k];
        if (term.typoLimit == 0 || !Screen::has(screen.mayBeTypo, k))
            return std::nullopt;
        distances[qsizetype(k)] = closestDistance(term, haystack);
        if (distances[qsizetype(k)] > term.typoLimit)
            return std::nullopt;
    }
    // Exact scores are summed first, then typo scores, each in term order, as they always were.
    double total = 0;
    for (size_t k = 0; k < count; ++k) {
        if (distances[qsizetype(k)] != unknown)
            continue;
        const PreparedTerm &term = query.terms[k];
        double best = 0;
        for (const QString &field : haystack.fields()) {
            best = std::max(best, exactScore(term, field));
            if (best == wordStartScore)
                break;
        }
        if (best > 0) {
            total += best;
            distances[qsizetype(k)] = exact;
            continue;
        }
        if (term.typoLimit == 0 || !Screen::has(screen.mayBeTypo, k))
            return std::nullopt;
        distances[qsizetype(k)] = closestDistance(term, haystack);
        if (distances[qsizetype(k)] > term.typoLimit)
            return std::nullopt;
    }
    for (const int distance : distances) {
        if (distance != exact)
            total += typoScore(distance);
    }
    return total;
}

} // namespace

std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &haystack)
{
    Screen screen = screenInline(query, haystack);
    // Every term's bits at once, so their loads overlap.
    prefetchFor(query, haystack, screen, false);
    screenWords(query, haystack, screen);
    return scoreScreened(query, haystack, screen);
}

std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks)
{
    // Loading a clip's index and text is the slow part, so the filters run ahead of the scoring:
    // far ahead the inline ones pick which bits to load, nearer the bits pick which texts.
    constexpr size_t farAhead = 16;
    constexpr size_t nearAhead = 8;
    constexpr size_t ring = 32; // a power of two above farAhead
    std::array<Screen, ring> screens;
    const size_t count = haystacks.size();
    auto screenFar = [&](size_t i) {
        screens[i % ring] = screenInline(query, haystacks[i]);
        prefetchFor(query, haystacks[i], screens[i % ring], false);
    };
    auto screenNear = [&](size_t i) {
        screenWords(query, haystacks[i], screens[i % ring]);
        prefetchFor(query, haystacks[i], screens[i % ring], true);
    };
    for (size_t i = 0; i < std::min(farAhead, count); ++i)
        screenFar(i);
    for (size_t i = 0; i < std::min(nearAhead, count); ++i)
        screenNear(i);
    std::vector<std::optional<double>> scores(count);
    for (size_t i = 0; i < count; ++i) {
        if (i + farAhead < count)
            screenFar(i + farAhead);
        if (i + nearAhead < count)
            screenNear(i + nearAhead);
        // Most clips end here; skip the call (and its stack frame) for them.
        if (!screens[i % ring].rejected)
            scores[i] = scoreScreened(query, haystacks[i], screens[i % ring]);
    }
    return scores;
}

} // namespace corvane::FuzzyMatcher
