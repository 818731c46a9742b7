#include "FuzzyMatcher.h"

#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <bit>

namespace corvane::FuzzyMatcher {
namespace {

using TextFolding::fold;

constexpr double wordStartScore = 1.25;
constexpr double substringScore = 1.0;

double typoScore(int distance) { return 0.6 - 0.15 * (distance - 1); }

std::uint32_t charBit(char16_t folded) { return FuzzyHaystack::charBit(folded); }

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

/** Calls `visit(start, length)` for every word (maximal run of letters and digits). */
template<typename Visit>
void forEachWord(QStringView text, Visit &&visit)
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
            units[i] = fold(word[i].unicode());
            bits |= charBit(units[i]);
        }
    }
    QStringView view() const { return QStringView(units.constData(), units.size()); }
};

// Each edit removes or adds at most one distinct character, so words whose characters differ
// more than that cannot be close.
bool mayBeClose(const PreparedTerm &term, std::uint32_t wordBits, int limit)
{
    return std::popcount(term.charBits & ~wordBits) <= limit && std::popcount(wordBits & ~term.charBits) <= limit;
}

/** Typo distance of a word to a term when within `limit`, else limit + 1; cheap checks first. */
int boundedDistance(const PreparedTerm &term, const FoldedWord &word, int limit)
{
    if (!mayBeClose(term, word.bits, limit))
        return limit + 1;
    return typoDistance(term.folded, word.view(), limit);
}

/** The smallest typo distance of the term to an indexed word, or typoLimit + 1. */
int indexedDistance(const PreparedTerm &term, const FuzzyHaystack &haystack)
{
    const auto &words = haystack.words();
    const qsizetype length = term.folded.size();
    int best = term.typoLimit + 1;
    auto word = std::lower_bound(words.begin(), words.end(), length - term.typoLimit,
                                 [](const FuzzyHaystack::Word &w, qsizetype l) { return w.length < l; });
    FoldedWord folded;
    for (; word != words.end() && word->length <= length + term.typoLimit && best > 1; ++word) {
        const int limit = std::min(term.typoLimit, best - 1);
        if (std::abs(qsizetype(word->length) - length) > limit || !mayBeClose(term, word->bits, limit))
            continue;
        folded.assign(haystack.wordText(*word));
        best = std::min(best, typoDistance(term.folded, folded.view(), limit));
    }
    return best;
}

/** Lowers best[k] to the smallest distance of pending[k] to any word of the field. */
void scanWords(const QVarLengthArray<const PreparedTerm *, 8> &pending, QStringView field,
               QVarLengthArray<int, 8> &best)
{
    qsizetype minLength = std::numeric_limits<qsizetype>::max();
    qsizetype maxLength = 0;
    for (const PreparedTerm *term : pending) {
        minLength = std::min(minLength, term->folded.size() - term->typoLimit);
        maxLength = std::max(maxLength, term->folded.size() + term->typoLimit);
    }
    FoldedWord word;
    forEachWord(field, [&](qsizetype start, qsizetype length) {
        if (length < minLength || length > maxLength)
            return;
        bool folded = false;
        for (qsizetype k = 0; k < pending.size(); ++k) {
            const PreparedTerm &term = *pending[k];
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
            term.charBits |= charBit(term.folded[i].unicode());
        }
        term.typoLimit = typoLimit(text.size());
        for (qsizetype i = 1; i < term.folded.size(); ++i) {
            const int slot = FuzzyHaystack::bigramSlot(term.folded[i - 1].unicode(), term.folded[i].unicode());
            term.bigrams[size_t(slot >> 6)] |= std::uint64_t{1} << (slot & 63);
        }
        query.terms.push_back(std::move(term));
    }
    return query;
}

std::optional<double> score(const PreparedQuery &query, std::span<const QStringView> fields)
{
    double total = 0;
    QVarLengthArray<const PreparedTerm *, 8> pending;
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
    QVarLengthArray<int, 8> best;
    for (const PreparedTerm *term : pending)
        best.append(term->typoLimit + 1);
    for (QStringView field : fields)
        scanWords(pending, field, best);
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
    QVarLengthArray<const PreparedTerm *, 8> pending;
    for (const PreparedTerm &term : query.terms) {
        double best = 0;
        if (haystack.mayContain(term.bigrams)) {
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
    for (const PreparedTerm *term : pending) {
        int distance = term->typoLimit + 1;
        if (term->folded.size() + term->typoLimit <= FuzzyHaystack::maxWordLength) {
            distance = indexedDistance(*term, haystack);
        } else {
            // Words that long are not indexed; read the text instead.
            QVarLengthArray<const PreparedTerm *, 8> one{term};
            QVarLengthArray<int, 8> best{distance};
            for (const QString &field : haystack.fields())
                scanWords(one, field, best);
            distance = best[0];
        }
        if (distance > term->typoLimit)
            return std::nullopt;
        total += typoScore(distance);
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
        FoldedWord word;
        forEachWord(text, [&](qsizetype start, qsizetype length) {
            if (std::abs(length - term.folded.size()) > term.typoLimit)
                return;
            word.assign(QStringView(text).mid(start, length));
            if (boundedDistance(term, word, term.typoLimit) <= term.typoLimit)
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
