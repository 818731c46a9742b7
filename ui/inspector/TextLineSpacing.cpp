#include "TextLineSpacing.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace corvane {

TextLineSpacing::TextLineSpacing(QObject *parent)
    : QObject(parent)
{
}

void TextLineSpacing::setDocument(QQuickTextDocument *document)
{
    if (m_document == document)
        return;
    disconnect(m_connection);
    m_document = document;
    if (document && document->textDocument())
        m_connection = connect(document->textDocument(), &QTextDocument::contentsChanged, this, &TextLineSpacing::apply);
    emit documentChanged();
    apply();
}

void TextLineSpacing::setSpacing(qreal spacing)
{
    if (qFuzzyCompare(m_spacing, spacing))
        return;
    m_spacing = spacing;
    emit spacingChanged();
    apply();
}

void TextLineSpacing::apply()
{
    QTextDocument *document = m_document ? m_document->textDocument() : nullptr;
    if (!document || m_applying)
        return;
    // Setting the format changes the document, which would call this again.
    m_applying = true;
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(m_spacing, QTextBlockFormat::LineDistanceHeight);
    cursor.mergeBlockFormat(format);
    m_applying = false;
}

} // namespace corvane
