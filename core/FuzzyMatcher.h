#pragma once

#include "FuzzyHaystack.h"
#include "TypoPattern.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvane::FuzzyMatcher {

/**
 * How many typos a term of `length` characters may have: 0 below 4, 1 for 4-7, 2 from 8.
 * Shared by scoring and highlighting so both agree on what matches.
 */
int typoLimit(qsizetype length);

/** @brief One search term, folded once per query. */
struct PreparedTerm {
    QString text;               ///< the term as typed
    QString folded;             ///< case-folded, one unit per unit of text
    int typoLimit = 0;          ///< see typoLimit()
    std::uint32_t charBits = 0; ///< a bit per folded character, to reject words cheaply
    TypoPattern pattern;        ///< for fast typo distances (terms up to 64 units)
};

/**
 * @brief The terms of one query, prepared once and then scored against many haystacks.
 * Empty terms are dropped; a query without terms matches everything with score 0.
 */
struct PreparedQuery {
    std::vector<PreparedTerm> terms;

    static PreparedQuery prepare(const QStringList &terms);
    bool isEmpty() const { return terms.empty(); }
};

/**
 * The match score of a haystack, or nothing when any term fails to match. Per term: 1.25 for a
 * case-insensitive occurrence at a word start, 1.0 elsewhere, else 0.6 - 0.15*(d-1) for the
 * closest word within the typo limit. The score is the sum over the terms.
 */
std::optional<double> score(const PreparedQuery &query, QStringView haystack);
/** Same over several fields (text, note, title, ...): each term takes its best field. */
std::optional<double> score(const PreparedQuery &query, std::span<const QStringView> fields);
/**
 * @brief A prepared query looked up once in the shared run dictionary: what each term finds in
 * every run known at the time, so scoring an index reads nothing but its codes. Runs added later
 * are looked at when an index holding them is scored. Scoring is safe from many threads at once.
 */
class IndexedQuery
{
public:
    /** Looks every known run up; `query` must outlive this. */
    explicit IndexedQuery(const PreparedQuery &query);
    IndexedQuery(const IndexedQuery &) = delete;
    IndexedQuery &operator=(const IndexedQuery &) = delete;
    ~IndexedQuery();

    /** The same as score(query, fields) over the fields the index was built from. */
    std::optional<double> score(const FuzzyHaystack &index) const;
    const PreparedQuery &query() const { return m_query; }

    /** @brief What a term looks for in a run (see FuzzyHaystackScoring.cpp). */
    struct Plan;

private:
    /** Looks up no run ahead: for scoring a few indexes. */
    IndexedQuery(const PreparedQuery &query, bool scanDictionary);
    friend std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &index);

    void scanDictionary();
    /** The row of run `id` (a byte per term): looked up ahead, or worked out into `scratch`. */
    const unsigned char *row(std::uint32_t id, unsigned char *scratch) const;
    double rebuiltExactScore(const FuzzyHaystack &index, std::size_t term) const;
    std::optional<double> finish(const FuzzyHaystack &index, const unsigned char *merged) const;

    const PreparedQuery &m_query;
    std::vector<Plan> m_plans;
    std::uint32_t m_known = 0; // runs looked up ahead
    std::vector<unsigned char> m_rows;
};

/** Same against an index, looking up only its own runs; prefer an IndexedQuery for many indexes. */
std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &index);
/** Scores many indexes in order, loading ahead; scores[i] belongs to indexes[i]. */
void scoreBatch(const IndexedQuery &query, std::span<const FuzzyHaystack *const> indexes, std::span<std::optional<double>> scores);
/** Scores many haystacks in order; result i belongs to haystacks[i]. */
std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks);

/** Convenience for a single call; prefer prepare() + score() in loops. */
std::optional<double> score(const QStringList &terms, QStringView haystack);

/** @brief A span of UTF-16 code units in the original text. */
struct Range {
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
    friend bool operator==(const Range &, const Range &) = default;
};

/**
 * Ranges of `text` to highlight, sorted and merged where they overlap or touch: every
 * case-insensitive occurrence of each term, and for terms of 4+ characters without one, the
 * whole words within the typo limit. Empty when nothing matches.
 */
QList<Range> highlightRanges(const QStringList &terms, const QString &text);

/** Optimal string alignment distance between two folded strings, or limit+1 once it exceeds limit. */
int typoDistance(QStringView a, QStringView b, int limit);

} // namespace corvane::FuzzyMatcher
