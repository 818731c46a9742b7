#include "ClipImageProvider.h"

#include "CapturedImage.h"
#include "ClipDatabase.h"
#include "ThumbnailImageProvider.h"

#include <QBuffer>
#include <QImageReader>

namespace corvane {

ClipImageProvider::ClipImageProvider(std::function<std::shared_ptr<ClipDatabase>()> database)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_database(std::move(database))
{
}

ClipImageProvider::ClipImageProvider(std::shared_ptr<ClipDatabase> database)
    : ClipImageProvider([database] { return database; })
{
}

QImage ClipImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    bool ok = false;
    const qint64 clipId = id.section(QLatin1Char('?'), 0, 0).toLongLong(&ok);
    const std::shared_ptr<ClipDatabase> database = m_database();
    if (!ok || !database)
        return {};
    std::optional<QByteArray> bytes;
    try {
        bytes = database->imageData(clipId);
    } catch (const std::exception &) {
        return {};
    }
    if (!bytes)
        return {};
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer);
    const QSize full = reader.size();
    if (full.isValid() && qint64(full.width()) * full.height() > CapturedImage::fullDecodePixels) {
        const QSize bound = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(4096, 4096);
        reader.setScaledSize(full.scaled(bound, Qt::KeepAspectRatio));
    }
    QImage image = fitToRequest(reader.read(), requestedSize);
    if (size)
        *size = image.size();
    return image;
}

} // namespace corvane
