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
using Fields = std::span<const QStringView>;

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

/** Typo distance of an indexed word to the term. */
int wordDistance(const PreparedTerm &term, const FuzzyHaystack::Word &word, int limit)
{
    if (!word.narrow)
        return term.pattern.isValid() ? term.pattern.distance(word.utf16()) : typoDistance(term.folded, word.utf16(), limit);
    if (term.pattern.isValid())
        return term.pattern.distance(word.latin1());
    QVarLengthArray<char16_t, FuzzyHaystack::maxWordLength> wide(word.length);
    for (qsizetype i = 0; i < word.length; ++i)
        wide[i] = static_cast<const unsigned char *>(word.text)[i];
    return typoDistance(term.folded, QStringView(wide.constData(), wide.size()), limit);
}

/** The smallest typo distance of the term to an indexed word, or typoLimit + 1. */
int indexedDistance(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    int best = term.typoLimit + 1;
    auto mayBeCloseEnough = [&](std::uint32_t bits) { return mayBeClose(term, bits, std::min(term.typoLimit, best - 1)); };
    haystack.forEachWord(length - term.typoLimit, length + term.typoLimit, mayBeCloseEnough,
                         [&](const FuzzyHaystack::Word &word) {
                             const int limit = std::min(term.typoLimit, best - 1);
                             if (std::abs(word.length - length) <= limit)
                                 best = std::min(best, wordDistance(term, word, limit));
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
}

/** The smallest typo distance of the term to a word of the haystack, or typoLimit + 1. */
int closestDistance(const PreparedTerm &term, const FuzzyHaystack &haystack, Fields fields)
{
    if (haystack.wordsComplete() && term.folded.size() + term.typoLimit <= FuzzyHaystack::maxWordLength)
        return indexedDistance(term, haystack);
    // The index left words out; read the text instead.
    FuzzyWordScan::PendingTerms one{&term};
    FuzzyWordScan::Distances best{term.typoLimit + 1};
    for (QStringView field : fields)
        FuzzyWordScan::scanWords(one, field, best);
    return best[0];
}

/** Reads the words and texts the screen left open. */
std::optional<double> scoreScreened(const PreparedQuery &query, const FuzzyHaystack &haystack, Fields fields,
                                    const Screen &screen)
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
        distances[qsizetype(k)] = closestDistance(term, haystack, fields);
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
        for (QStringView field : fields) {
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
        distances[qsizetype(k)] = closestDistance(term, haystack, fields);
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

std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &index, std::span<const QStringView> fields)
{
    Screen screen = screenInline(query, index);
    // Every term's bits at once, so their loads overlap.
    prefetchFor(query, index, screen, false);
    screenWords(query, index, screen);
    return scoreScreened(query, index, fields, screen);
}

std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &haystack)
{
    const FieldViews views(haystack.fields().begin(), haystack.fields().end());
    return score(query, haystack, Fields(views.constData(), std::size_t(views.size())));
}

void scoreBatch(const PreparedQuery &query, const BatchItems &items, std::span<std::optional<double>> scores)
{
    // Loading a clip's words and fields is the slow part, so the filters run ahead of the
    // scoring: far ahead the inline filters pick whose words to load, nearer the word bits pick
    // whose fields to load.
    constexpr size_t farAhead = 14;
    constexpr size_t nearAhead = 7;
    constexpr size_t ring = 16; // a power of two above farAhead
    std::array<Screen, ring> screens;
    const size_t count = items.count;
    auto index = [&](size_t i) -> const FuzzyHaystack & { return items.index(items.context, i); };
    auto prefetchFields = [&](size_t i, bool texts) {
        const Screen &screen = screens[i % ring];
        if (items.prefetchFields && !screen.rejected && (screen.mayBeExact || query.terms.size() > 64))
            items.prefetchFields(items.context, i, texts);
    };
    auto screenFar = [&](size_t i) {
        screens[i % ring] = screenInline(query, index(i));
        if (screens[i % ring].mayBeTypo && !screens[i % ring].rejected)
            index(i).prefetchWords();
        prefetchFields(i, false);
    };
    auto screenNear = [&](size_t i) {
        screenWords(query, index(i), screens[i % ring]);
        prefetchFor(query, index(i), screens[i % ring], true);
        prefetchFields(i, true);
    };
    for (size_t i = 0; i < std::min(farAhead, count); ++i)
        screenFar(i);
    for (size_t i = 0; i < std::min(nearAhead, count); ++i)
        screenNear(i);
    FieldViews views;
    for (size_t i = 0; i < count; ++i) {
        if (i + farAhead < count)
            screenFar(i + farAhead);
        if (i + nearAhead < count)
            screenNear(i + nearAhead);
        // Most clips end here, without reading their fields.
        if (screens[i % ring].rejected) {
            scores[i] = std::nullopt;
            continue;
        }
        views.clear();
        items.fields(items.context, i, views);
        scores[i] = scoreScreened(query, index(i), Fields(views.constData(), std::size_t(views.size())), screens[i % ring]);
    }
}

std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks)
{
    BatchItems items;
    items.count = haystacks.size();
    items.context = &haystacks;
    items.index = [](const void *context, std::size_t i) -> const FuzzyHaystack & {
        return (*static_cast<const std::span<const FuzzyHaystack> *>(context))[i];
    };
    items.prefetchFields = [](const void *context, std::size_t i, bool texts) {
        const FuzzyHaystack &haystack = (*static_cast<const std::span<const FuzzyHaystack> *>(context))[i];
        if (texts)
            FuzzyHaystack::prefetchFieldTexts(haystack.fields());
        else
            haystack.prefetchFieldList();
    };
    items.fields = [](const void *context, std::size_t i, FieldViews &views) {
        for (const QString &field : (*static_cast<const std::span<const FuzzyHaystack> *>(context))[i].fields())
            views.append(field);
    };
    std::vector<std::optional<double>> scores(haystacks.size());
    scoreBatch(query, items, scores);
    return scores;
}

} // namespace corvane::FuzzyMatcher
