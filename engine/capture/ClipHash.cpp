#include "ClipHash.h"

#include <QCryptographicHash>
#include <QImage>

namespace corvane::ClipHash {

namespace {

void start(QCryptographicHash &hash, QByteArrayView kind)
{
    hash.addData(kind);
    hash.addData(QByteArrayView("\n"));
}

} // namespace

QString of(QByteArrayView kind, QByteArrayView content)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    start(hash, kind);
    hash.addData(content);
    return QString::fromLatin1(hash.result().toHex());
}

QString text(const QString &text) { return of("text", text.toUtf8()); }

QString files(const QString &paths) { return of("file", paths.toUtf8()); }

QString image(const QImage &image)
{
    // Premultiplied or indexed sources would otherwise hash differently for equal pixels.
    const QImage pixels = image.convertToFormat(QImage::Format_RGBA8888);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    start(hash, "image");
    hash.addData(QByteArray::number(pixels.width()) + ' ' + QByteArray::number(pixels.height()) + '\n');
    const qsizetype rowBytes = qsizetype(pixels.width()) * 4;
    for (int y = 0; y < pixels.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(pixels.constScanLine(y)), rowBytes));
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace corvane::ClipHash
