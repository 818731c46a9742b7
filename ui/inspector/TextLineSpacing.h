#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickTextDocument>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief Extra space between the lines of a TextEdit (which has no lineHeight): set as a block
 * format on its document, again whenever the text changes.
 */
class TextLineSpacing : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickTextDocument *document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(qreal spacing READ spacing WRITE setSpacing NOTIFY spacingChanged)

public:
    explicit TextLineSpacing(QObject *parent = nullptr);

    QQuickTextDocument *document() const { return m_document; }
    void setDocument(QQuickTextDocument *document);
    qreal spacing() const { return m_spacing; }
    void setSpacing(qreal spacing);

signals:
    void documentChanged();
    void spacingChanged();

private:
    void apply();

    QPointer<QQuickTextDocument> m_document;
    QMetaObject::Connection m_connection;
    qreal m_spacing = 0;
    bool m_applying = false;
};

} // namespace corvane
