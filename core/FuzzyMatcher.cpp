#include "FuzzyMatcher.h"

#include "FuzzyWordScan.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>

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

void prefetchCloseWords(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    haystack.prefetch(length - term.typoLimit, length + term.typoLimit);
}

/** The smallest typo distance of the term to an indexed word, or typoLimit + 1. */
int indexedDistance(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const qsizetype length = term.folded.size();
    int best = term.typoLimit + 1;
    haystack.forEachWord(length - term.typoLimit, length + term.typoLimit, [&](const FuzzyHaystack::Word &word) {
        const int limit = std::min(term.typoLimit, best - 1);
        if (std::abs(word.folded.size() - length) <= limit && mayBeClose(term, word.bits, limit)) {
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

std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &haystack)
{
    double total = 0;
    FuzzyWordScan::PendingTerms pending;
    for (const PreparedTerm &term : query.terms) {
        double best = 0;
        if (haystack.mayContain(term.grams)) {
            for (const QString &field : haystack.fields()) {
                best = std::max(best, exactScore(term, field));
                if (best == wordStartScore)
                    break;
            }
        }
        if (best > 0)
            total += best;
        else if (term.typoLimit == 0)
            return std::nullopt;
        else
            pending.append(&term);
    }
    // All length buckets first: they sit in the haystack itself, the words further away.
    for (const PreparedTerm *term : pending) {
        if (!mayHaveCloseWord(*term, haystack))
            return std::nullopt;
    }
    // Every term's words at once, so their loads overlap.
    if (pending.size() > 1) {
        for (const PreparedTerm *term : pending)
            prefetchCloseWords(*term, haystack);
    }
    for (const PreparedTerm *term : pending) {
        int distance = term->typoLimit + 1;
        if (haystack.wordsComplete() && term->folded.size() + term->typoLimit <= FuzzyHaystack::maxWordLength) {
            distance = indexedDistance(*term, haystack);
        } else {
            // The index left words out; read the text instead.
            FuzzyWordScan::PendingTerms one{term};
            FuzzyWordScan::Distances best{distance};
            for (const QString &field : haystack.fields())
                FuzzyWordScan::scanWords(one, field, best);
            distance = best[0];
        }
        if (distance > term->typoLimit)
            return std::nullopt;
        total += typoScore(distance);
    }
    return total;
}

std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks)
{
    // Loading a clip's index is the slow part; ask for a few clips ahead while scoring this one.
    constexpr size_t lookAhead = 16;
    FuzzyWordScan::PendingTerms typoTerms;
    for (const PreparedTerm &term : query.terms) {
        if (term.typoLimit > 0)
            typoTerms.append(&term);
    }
    // Loads the words a clip's typo pass may read, judged from what the haystack holds inline.
    auto prefetchWords = [&](const FuzzyHaystack &haystack) {
        FuzzyWordScan::PendingTerms read;
        for (const PreparedTerm *term : typoTerms) {
            if (mayHaveCloseWord(*term, haystack))
                read.append(term);
            else if (!haystack.mayContain(term->grams))
                return;
        }
        for (const PreparedTerm *term : read)
            prefetchCloseWords(*term, haystack);
    };
    std::vector<std::optional<double>> scores(haystacks.size());
    for (size_t i = 0; i < haystacks.size(); ++i) {
        if (i + lookAhead < haystacks.size()) {
            prefetchWords(haystacks[i + lookAhead]);
        }
        scores[i] = score(query, haystacks[i]);
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
