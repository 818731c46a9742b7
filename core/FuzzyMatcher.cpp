#include "FuzzyMatcher.h"

#include "FuzzyWordScan.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace corvane::FuzzyMatcher {
namespace {

using FuzzyWordScan::mayBeClose;
using TextFolding::fold;

constexpr double wordStartScore = 1.25;
constexpr double substringScore = 1.0;

double typoScore(int distance) { return 0.6 - 0.15 * (distance - 1); }

/** Best exact score of a term in one field: 0 when absent. */
double exactScore(const PreparedTerm &term, QStringView field)
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

} // namespace

int typoLimit(qsizetype length)
{
    if (length >= 8)
        return 2;
    if (length >= 4)
        return 1;
    return 0;
}

PreparedQuery PreparedQuery::prepare(const QStringList &terms)
{
    PreparedQuery query;
    for (const QString &text : terms) {
        if (text.isEmpty())
            continue;
        PreparedTerm term;
        term.text = text;
        term.folded.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            term.folded[i] = QChar(fold(text[i].unicode()));
            term.charBits |= FuzzyHaystack::charBit(term.folded[i].unicode());
        }
        term.typoLimit = typoLimit(text.size());
        term.pattern = TypoPattern(term.folded);
        term.grams.add(reinterpret_cast<const char16_t *>(term.folded.constData()), term.folded.size());
        query.terms.push_back(std::move(term));
    }
    return query;
}

std::optional<double> score(const PreparedQuery &query, std::span<const QStringView> fields)
{
    double total = 0;
    FuzzyWordScan::PendingTerms pending;
    // Exact occurrences first: a short term without one rejects the haystack before any typo work.
    for (const PreparedTerm &term : query.terms) {
        double best = 0;
        for (QStringView field : fields) {
            best = std::max(best, exactScore(term, field));
            if (best == wordStartScore)
                break;
        }
        if (best > 0)
            total += best;
        else if (term.typoLimit == 0)
            return std::nullopt;
        else
            pending.append(&term);
    }
    if (pending.isEmpty())
        return total;
    FuzzyWordScan::Distances best;
    for (const PreparedTerm *term : pending)
        best.append(term->typoLimit + 1);
    for (QStringView field : fields)
        FuzzyWordScan::scanWords(pending, field, best);
    for (qsizetype k = 0; k < pending.size(); ++k) {
        if (best[k] > pending[k]->typoLimit)
            return std::nullopt;
        total += typoScore(best[k]);
    }
    return total;
}

namespace {

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

/** Reads the texts: exact occurrences first, then typo distances for the rest. */
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

std::optional<double> score(const PreparedQuery &query, QStringView haystack)
{
    return score(query, std::span<const QStringView>(&haystack, 1));
}

std::optional<double> score(const QStringList &terms, QStringView haystack)
{
    return score(PreparedQuery::prepare(terms), haystack);
}

QList<Range> highlightRanges(const QStringList &terms, const QString &text)
{
    QList<Range> ranges;
    const PreparedQuery query = PreparedQuery::prepare(terms);
    for (const PreparedTerm &term : query.terms) {
        bool found = false;
        for (qsizetype at = text.indexOf(term.text, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(term.text, at + 1, Qt::CaseInsensitive)) {
            ranges.append({at, term.text.size()});
            found = true;
        }
        if (found || term.typoLimit == 0)
            continue;
        FuzzyWordScan::FoldedWord word;
        FuzzyWordScan::forEachWord(text, [&](qsizetype start, qsizetype length) {
            if (std::abs(length - term.folded.size()) > term.typoLimit)
                return;
            word.assign(QStringView(text).mid(start, length));
            if (FuzzyWordScan::boundedDistance(term, word, term.typoLimit) <= term.typoLimit)
                ranges.append({start, length});
        });
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const Range &a, const Range &b) { return a.start < b.start || (a.start == b.start && a.length > b.length); });
    QList<Range> merged;
    for (const Range &range : ranges) {
        if (!merged.isEmpty() && range.start <= merged.back().end()) {
            Range &last = merged.back();
            last.length = std::max(last.end(), range.end()) - last.start;
        } else {
            merged.append(range);
        }
    }
    return merged;
}

int typoDistance(QStringView a, QStringView b, int limit)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    if (std::abs(n - m) > limit)
        return limit + 1;
    // Optimal string alignment: Levenshtein plus transposition of two adjacent characters.
    QVarLengthArray<int, 72> rows(3 * (m + 1));
    int *before = rows.data();
    int *previous = before + (m + 1);
    int *current = previous + (m + 1);
    for (qsizetype j = 0; j <= m; ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        current[0] = int(i);
        int rowMin = current[0];
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            int value = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                value = std::min(value, before[j - 2] + 1);
            current[j] = value;
            rowMin = std::min(rowMin, value);
        }
        if (rowMin > limit)
            return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[m], limit + 1);
}

} // namespace corvane::FuzzyMatcher
