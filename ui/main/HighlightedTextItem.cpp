#include "HighlightedTextItem.h"

#include "FuzzyMatcher.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>

namespace corvane {
namespace {

// Line breaks become forced breaks (or spaces on a single line) without changing the length,
// so match offsets stay valid.
QString displayText(const QString &text, bool multiLine)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator)
            c = multiLine ? QChar(QChar::LineSeparator) : QChar(u' ');
        else if (c == u'\t')
            c = u' ';
    }
    return out;
}

QList<HighlightSpan> matchSpans(const QString &text, const QStringList &terms)
{
    if (terms.isEmpty() || text.isEmpty())
        return {};
    QList<HighlightSpan> ranges;
    for (const auto &r : FuzzyMatcher::highlightRanges(terms, text))
        ranges.append({r.start, r.start + r.length});
    return highlightSpans(text, ranges);
}

} // namespace

HighlightedTextItem::HighlightedTextItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_font(QGuiApplication::font())
{
    setAntialiasing(true);
    relayout();
}

HighlightedTextItem::~HighlightedTextItem() { clearLayouts(); }

void HighlightedTextItem::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    updateSpans();
    relayout();
    emit textChanged();
}

void HighlightedTextItem::setTerms(const QStringList &terms)
{
    if (m_terms == terms)
        return;
    m_terms = terms;
    updateSpans();
    update();
    emit termsChanged();
    emit layoutChanged();
}

void HighlightedTextItem::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    relayout();
    emit fontChanged();
}

void HighlightedTextItem::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged();
}

void HighlightedTextItem::setHighlightColor(const QColor &color)
{
    if (m_highlightColor == color)
        return;
    m_highlightColor = color;
    update();
    emit highlightColorChanged();
}

void HighlightedTextItem::setMaximumLineCount(int count)
{
    count = std::max(1, count);
    if (m_maximumLineCount == count)
        return;
    m_maximumLineCount = count;
    relayout();
    emit maximumLineCountChanged();
}

void HighlightedTextItem::setElide(Qt::TextElideMode mode)
{
    if (m_elide == mode)
        return;
    m_elide = mode;
    relayout();
    emit elideChanged();
}

void HighlightedTextItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.width() != oldGeometry.width())
        relayout();
}

void HighlightedTextItem::updateSpans() { m_spans = matchSpans(m_text, m_terms); }

void HighlightedTextItem::clearLayouts()
{
    for (const Piece &piece : std::as_const(m_pieces))
        delete piece.layout;
    m_pieces.clear();
}

void HighlightedTextItem::relayout()
{
    clearLayouts();
    const bool multiLine = m_maximumLineCount > 1;
    const QString shown = displayText(m_text, multiLine);
    const QFontMetricsF metrics(m_font);
    const qreal lineWidth = width() > 0 ? width() : metrics.horizontalAdvance(shown) + 1;

    QTextOption option;
    option.setWrapMode(multiLine ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    qreal y = 0;
    // Lays out up to `limit` lines from y on; returns where the text after them starts.
    auto layOut = [&](QTextLayout *layout, int limit) {
        layout->setTextOption(option);
        layout->beginLayout();
        qsizetype end = 0;
        for (int i = 0; i < limit; ++i) {
            QTextLine line = layout->createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(0, y));
            y += line.height();
            end = line.textStart() + line.textLength();
        }
        layout->endLayout();
        return end;
    };

    auto *main = new QTextLayout(shown, m_font);
    m_pieces.append({main, 0, shown.size()});
    const qsizetype end = layOut(main, m_maximumLineCount);
    const bool overflowsWidth = !multiLine && main->lineCount() > 0 && main->lineAt(0).naturalTextWidth() > lineWidth;
    m_truncated = end < shown.size() || overflowsWidth;

    if (m_truncated && m_elide != Qt::ElideNone && main->lineCount() > 0) {
        // The last line is drawn from its own layout: the rest of the text, elided.
        const int kept = main->lineCount() - 1;
        const qsizetype restStart = main->lineAt(kept).textStart();
        y = 0;
        main->clearLayout();
        layOut(main, kept);
        m_pieces.first().visible = restStart;
        QString rest = shown.mid(restStart);
        rest.replace(QChar(QChar::LineSeparator), u' ');
        const QString elided = metrics.elidedText(rest, Qt::ElideRight, lineWidth);
        const qsizetype visible = elided == rest ? rest.size() : std::max<qsizetype>(0, elided.size() - 1);
        auto *tail = new QTextLayout(elided, m_font);
        m_pieces.append({tail, restStart, visible});
        option.setWrapMode(QTextOption::NoWrap);
        layOut(tail, 1);
    }

    setImplicitWidth(std::ceil(metrics.horizontalAdvance(shown.section(QChar(QChar::LineSeparator), 0, 0))));
    setImplicitHeight(std::ceil(std::max(y, metrics.height())));
    update();
    emit layoutChanged();
}

void HighlightedTextItem::paint(QPainter *painter)
{
    painter->setPen(m_color);
    QTextCharFormat highlight;
    highlight.setBackground(m_highlightColor);
    for (const Piece &piece : std::as_const(m_pieces)) {
        QList<QTextLayout::FormatRange> ranges;
        for (const HighlightSpan &span : std::as_const(m_spans)) {
            const qsizetype s = std::max(span.start, piece.offset);
            const qsizetype e = std::min(span.end, piece.offset + piece.visible);
            if (s < e)
                ranges.append({int(s - piece.offset), int(e - s), highlight});
        }
        piece.layout->draw(painter, QPointF(0, 0), ranges);
    }
}

} // namespace corvane
