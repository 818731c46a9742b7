#include "FuzzyMatcher.h"

#include "FuzzyTermScore.h"
#include "FuzzyWordScan.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace corvane::FuzzyMatcher {

using TextFolding::fold;

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
            term.charBits |= FuzzyWordScan::charBit(term.folded[i].unicode());
        }
        term.typoLimit = typoLimit(text.size());
        term.pattern = TypoPattern(term.folded);
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
