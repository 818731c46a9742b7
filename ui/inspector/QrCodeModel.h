#pragma once

#include "ClipboardStore.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQuickImageProvider>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The QR card of a text: whether there is a code, its image address, "Copy QR" (straight
 * to the clipboard, so the monitor records it) and "Save…" (a failure becomes a warning notice).
 */
class QrCodeModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool hasImage READ hasImage NOTIFY textChanged)
    Q_PROPERTY(QUrl imageSource READ imageSource NOTIFY textChanged)
    Q_PROPERTY(int copied READ copied NOTIFY copiedChanged)
    Q_PROPERTY(QUrl suggestedFile READ suggestedFile CONSTANT)

public:
    explicit QrCodeModel(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    QString text() const { return m_text; }
    void setText(const QString &text);
    bool hasImage() const { return !m_image.isNull(); }
    QUrl imageSource() const;
    int copied() const { return m_copied; }
    /** "QR Code.png" in the Pictures folder. */
    QUrl suggestedFile() const;
    QImage image() const { return m_image; }

    Q_INVOKABLE void copy();
    /** Writes the PNG; false (and a warning notice) when that failed. */
    Q_INVOKABLE bool save(const QUrl &file);

signals:
    void storeChanged();
    void textChanged();
    void copiedChanged();

private:
    QPointer<ClipboardStore> m_store;
    QString m_text;
    QImage m_image;
    int m_copied = 0;
};

/** @brief "image://qr/<base64url of the text>": the text's cached QR image. */
class QrImageProvider : public QQuickImageProvider
{
public:
    QrImageProvider();
    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;
};

} // namespace corvane
