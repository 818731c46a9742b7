#include "CapturedImage.h"

#include "ClipHash.h"
#include "ImageTools.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace corvane {

namespace {

/** A large PNG read at thumbnail size (Qt's PNG reader scales row by row); its bytes kept as they are. */
std::optional<CapturedImage> fromLargePng(QImageReader &reader, const QByteArray &png, QSize size)
{
    reader.setScaledSize(
        size.scaled(CapturedImage::thumbnailSide, CapturedImage::thumbnailSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    const QImage small = reader.read();
    if (small.isNull())
        return std::nullopt;
    CapturedImage result;
    result.png = png;
    result.size = size;
    result.thumbnail = pngData(small).value_or(QByteArray());
    if (result.thumbnail.isEmpty())
        return std::nullopt;
    result.hash = ClipHash::of("image-png", png);
    result.dHash = CapturedImage::differenceHash(small);
    return result;
}

void fail(CapturedImage::Failure *failure, QString *reason, CapturedImage::Failure kind, const QString &text)
{
    if (failure)
        *failure = kind;
    if (reason)
        *reason = text;
}

std::optional<CapturedImage> decoded(const QByteArray &bytes, CapturedImage::Failure *failure, QString *reason)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
    const auto tooLarge = [&] {
        fail(failure, reason, CapturedImage::Failure::tooLarge,
             QStringLiteral("Image too large to save (%1 \u00D7 %2)").arg(size.width()).arg(size.height()));
        return std::nullopt;
    };
    if (pixels > CapturedImage::maxPixels)
        return tooLarge();
    if (pixels > CapturedImage::fullDecodePixels) {
        if (reader.format() != "png")
            return tooLarge(); // other readers would decode every pixel at once
        if (auto image = fromLargePng(reader, bytes, size))
            return image;
        fail(failure, reason, CapturedImage::Failure::notAnImage, {});
        return std::nullopt;
    }
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        fail(failure, reason, CapturedImage::Failure::notAnImage, {});
        return std::nullopt;
    }
    // A PNG as offered is kept byte for byte; anything else is re-encoded.
    const bool keep = reader.format() == "png" && reader.transformation() == QImageIOHandler::TransformationNone;
    return CapturedImage::fromImage(image, keep ? bytes : QByteArray());
}

} // namespace

std::optional<CapturedImage> CapturedImage::fromData(const QByteArray &encoded, Failure *failure, QString *reason)
{
    if (encoded.isEmpty()) {
        fail(failure, reason, Failure::notAnImage, {});
        return std::nullopt;
    }
    return decoded(encoded, failure, reason);
}

std::optional<CapturedImage> CapturedImage::fromFile(const QString &path, Failure *failure, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(failure, reason, Failure::notAnImage, {});
        return std::nullopt;
    }
    return fromData(file.readAll(), failure, reason);
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
