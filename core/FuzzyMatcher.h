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
    FuzzyHaystack::Grams grams; ///< filter bits, to reject haystacks cheaply
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
/** Same against a prepared haystack: the fast path for scoring many clips per keystroke. */
std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &haystack);
/** Same against an index that keeps no text: `fields` are the ones it was built from. */
std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &index, std::span<const QStringView> fields);
/** Scores many haystacks in order, loading ahead; result i belongs to haystacks[i]. */
std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks);

/** The texts of one item's fields, as views. */
using FieldViews = QVarLengthArray<QStringView, 8>;

/**
 * @brief Items to score in a batch: each one's index, and for the few its index does not rule
 * out, the fields it was built from (asked to load a little before they are read).
 */
struct BatchItems {
    std::size_t count = 0;
    const void *context = nullptr;
    const FuzzyHaystack &(*index)(const void *context, std::size_t item) = nullptr;
    /** Loads what fields() reads: first where the fields are, later (`texts`) their texts. */
    void (*prefetchFields)(const void *context, std::size_t item, bool texts) = nullptr;
    void (*fields)(const void *context, std::size_t item, FieldViews &views) = nullptr;
};
/** Scores the items in order, loading each one's data ahead of scoring it; scores[i] is item i's. */
void scoreBatch(const PreparedQuery &query, const BatchItems &items, std::span<std::optional<double>> scores);
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
