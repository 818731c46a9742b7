#include "QrCodeModel.h"

#include "QrCode.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>

namespace corvane {
namespace {

// The address carries the text base64url-encoded, so no character of it can be mangled.
constexpr auto base64Options = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

} // namespace

QrCodeModel::QrCodeModel(QObject *parent)
    : QObject(parent)
{
}

void QrCodeModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    m_store = store;
    emit storeChanged();
}

void QrCodeModel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_image = text.isEmpty() ? QImage() : qrImage(text);
    emit textChanged();
}

QUrl QrCodeModel::imageSource() const
{
    if (m_image.isNull())
        return {};
    return QUrl(QStringLiteral("image://qr/") + QString::fromLatin1(m_text.toUtf8().toBase64(base64Options)));
}

QUrl QrCodeModel::suggestedFile() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("QR Code.png")));
}

void QrCodeModel::copy()
{
    if (m_image.isNull())
        return;
    if (auto *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(m_image);
    ++m_copied;
    emit copiedChanged();
}

bool QrCodeModel::save(const QUrl &file)
{
    if (m_image.isNull() || !file.isLocalFile())
        return false;
    if (const auto error = saveQrPng(m_image, file.toLocalFile())) {
        if (m_store)
            m_store->showNotice(QStringLiteral("Couldn’t save the QR code: ") + *error, Notice::Kind::warning);
        return false;
    }
    return true;
}

QrImageProvider::QrImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage QrImageProvider::requestImage(const QString &id, QSize *size, const QSize &)
{
    const QImage image = qrImage(QString::fromUtf8(QByteArray::fromBase64(id.toLatin1(), base64Options)));
    if (size)
        *size = image.size();
    return image;
}

} // namespace corvane
