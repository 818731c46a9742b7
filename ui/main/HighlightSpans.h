#pragma once

#include <QList>
#include <QString>

namespace corvane {

/** @brief A half-open range [start, end) of UTF-16 code units to paint behind. */
struct HighlightSpan {
    qsizetype start = 0;
    qsizetype end = 0;
    friend bool operator==(const HighlightSpan &, const HighlightSpan &) = default;
};

/**
 * The ranges of `ranges` (UTF-16 offsets) that can be drawn on `text`, in the
 * given order. A range outside the text, reversed, empty or with a bound inside a surrogate pair
 * or a grapheme cluster is dropped; overlaps are kept.
 */
QList<HighlightSpan> highlightSpans(const QString &text, const QList<HighlightSpan> &ranges);

} // namespace corvane
