#pragma once

#include "HighlightSpans.h"

#include <QColor>
#include <QFont>
#include <QQuickPaintedItem>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QTextLayout;

namespace corvane {

/**
 * @brief Plain text with search matches painted behind it.
 *
 * Draws `text` with its own QTextLayout, so clip text is never interpreted as markup; the
 * matches of `terms` get a `highlightColor` background. Honours a line limit and elides the
 * last line. Use it as HighlightedText, which gives screen readers the plain text as static text.
 */
class HighlightedTextItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_NAMED_ELEMENT(HighlightedTextItem)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QStringList terms READ terms WRITE setTerms NOTIFY termsChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(QColor highlightColor READ highlightColor WRITE setHighlightColor NOTIFY highlightColorChanged)
    Q_PROPERTY(int maximumLineCount READ maximumLineCount WRITE setMaximumLineCount NOTIFY maximumLineCountChanged)
    Q_PROPERTY(Qt::TextElideMode elide READ elide WRITE setElide NOTIFY elideChanged)
    Q_PROPERTY(int spanCount READ spanCount NOTIFY layoutChanged)
    Q_PROPERTY(bool truncated READ truncated NOTIFY layoutChanged)

public:
    explicit HighlightedTextItem(QQuickItem *parent = nullptr);
    ~HighlightedTextItem() override;

    QString text() const { return m_text; }
    void setText(const QString &text);
    QStringList terms() const { return m_terms; }
    void setTerms(const QStringList &terms);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QColor highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor &color);
    int maximumLineCount() const { return m_maximumLineCount; }
    void setMaximumLineCount(int count);
    Qt::TextElideMode elide() const { return m_elide; }
    void setElide(Qt::TextElideMode mode);

    int spanCount() const { return int(m_spans.size()); }
    bool truncated() const { return m_truncated; }
    QList<HighlightSpan> spans() const { return m_spans; }

    void paint(QPainter *painter) override;

signals:
    void textChanged();
    void termsChanged();
    void fontChanged();
    void colorChanged();
    void highlightColorChanged();
    void maximumLineCountChanged();
    void elideChanged();
    void layoutChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    struct Piece {
        QTextLayout *layout = nullptr;
        qsizetype offset = 0;  // where the piece's text starts in m_text
        qsizetype visible = 0; // characters taken from m_text (an ellipsis is not)
    };

    void updateSpans();
    void relayout();
    void clearLayouts();

    QString m_text;
    QStringList m_terms;
    QFont m_font;
    QColor m_color{0x1E, 0x1A, 0x2E};
    QColor m_highlightColor{0xFF, 0xD5, 0x6B, 153};
    int m_maximumLineCount = 1;
    Qt::TextElideMode m_elide = Qt::ElideRight;

    QList<HighlightSpan> m_spans;
    QList<Piece> m_pieces;
    bool m_truncated = false;
};

} // namespace corvane
