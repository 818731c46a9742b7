#include "ImageTools.h"

#include "DesktopEntries.h"

#include <QBuffer>
#include <QImageReader>

namespace corvane {
std::optional<QByteArray> pngData(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

std::optional<QImage> downscaled(const QImage &image, int maxPixelSize)
{
    if (image.isNull() || maxPixelSize <= 0)
        return std::nullopt;
    if (std::max(image.width(), image.height()) <= maxPixelSize)
        return image;
    QImage scaled = image.scaled(maxPixelSize, maxPixelSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull())
        return std::nullopt;
    return scaled;
}

std::optional<QImage> appIcon(const DesktopEntries &entries, const QString &bundleID, int size)
{
    if (bundleID.isEmpty() || !entries.entry(bundleID))
        return std::nullopt;
    QImage icon = entries.icon(bundleID, size);
    if (icon.isNull())
        return std::nullopt;
    return icon;
}

std::optional<QImage> decodeUntrustedImage(const QByteArray &data, const ImageDecodeLimits &limits)
{
    if (data.isEmpty() || data.size() > limits.maxBytes)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(limits.allocationLimitMB);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > limits.maxSide || size.height() > limits.maxSide))
        return std::nullopt;
    // An .ico file holds several sizes; the reader's first is good enough for a row icon.
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    if (std::max(image.width(), image.height()) > limits.keepSide)
        return downscaled(image, limits.keepSide);
    return image;
}

} // namespace corvane
