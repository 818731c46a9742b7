#include "CapturedImage.h"

#include "ClipHash.h"
#include "ImageTools.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace corvane {

namespace {

std::optional<CapturedImage> decoded(QBuffer &buffer)
{
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > CapturedImage::maxPixels)
        return std::nullopt;
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    // A PNG as offered is kept byte for byte; anything else is re-encoded.
    const bool keep = reader.format() == "png" && reader.transformation() == QImageIOHandler::TransformationNone;
    return CapturedImage::fromImage(image, keep ? buffer.data() : QByteArray());
}

} // namespace

std::optional<CapturedImage> CapturedImage::fromData(const QByteArray &encoded)
{
    if (encoded.isEmpty())
        return std::nullopt;
    QByteArray bytes = encoded;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decoded(buffer);
}

std::optional<CapturedImage> CapturedImage::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromData(file.readAll());
}

std::optional<CapturedImage> CapturedImage::fromImage(const QImage &image, QByteArray png)
{
    if (image.isNull())
        return std::nullopt;
    CapturedImage result;
    if (png.isEmpty())
        png = pngData(image).value_or(QByteArray());
    const std::optional<QImage> small = downscaled(image, thumbnailSide);
    if (png.isEmpty() || !small)
        return std::nullopt;
    result.png = std::move(png);
    result.size = image.size();
    result.thumbnail = pngData(*small).value_or(QByteArray());
    result.hash = ClipHash::image(image);
    result.dHash = differenceHash(image);
    return result;
}

quint64 CapturedImage::differenceHash(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_ARGB32)
                            .scaled(9, 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_Grayscale8);
    quint64 bits = 0;
    for (int y = 0; y < 8; ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = 0; x < 8; ++x)
            bits = (bits << 1) | (row[x] > row[x + 1] ? 1u : 0u);
    }
    return bits;
}

} // namespace corvane
