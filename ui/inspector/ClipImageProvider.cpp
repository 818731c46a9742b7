#include "ClipImageProvider.h"

#include "ClipDatabase.h"
#include "ThumbnailImageProvider.h"

#include <QBuffer>
#include <QImageReader>

namespace corvane {

ClipImageProvider::ClipImageProvider(std::shared_ptr<ClipDatabase> database)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_database(std::move(database))
{
}

QImage ClipImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    bool ok = false;
    const qint64 clipId = id.section(QLatin1Char('?'), 0, 0).toLongLong(&ok);
    if (!ok || !m_database)
        return {};
    std::optional<QByteArray> bytes;
    try {
        bytes = m_database->imageData(clipId);
    } catch (const std::exception &) {
        return {};
    }
    if (!bytes)
        return {};
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer);
    QImage image = fitToRequest(reader.read(), requestedSize);
    if (size)
        *size = image.size();
    return image;
}

} // namespace corvane
