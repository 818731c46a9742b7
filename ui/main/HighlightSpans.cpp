#include "HighlightSpans.h"

#include <QTextBoundaryFinder>

namespace corvane {

QList<HighlightSpan> highlightSpans(const QString &text, const QList<HighlightSpan> &ranges)
{
    QList<HighlightSpan> spans;
    if (ranges.isEmpty())
        return spans;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    const auto atBoundary = [&](qsizetype at) {
        if (at == 0 || at == text.size())
            return true;
        graphemes.setPosition(at);
        return graphemes.isAtBoundary();
    };
    for (const HighlightSpan &r : ranges) {
        if (r.start < 0 || r.end > text.size() || r.start >= r.end)
            continue;
        if (!atBoundary(r.start) || !atBoundary(r.end))
            continue;
        spans.append(r);
    }
    return spans;
}

} // namespace corvane
