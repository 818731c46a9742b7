#include "SourceIconImageProvider.h"

#include "SourceIconCache.h"
#include "ThumbnailImageProvider.h"

#include <QUrl>

namespace corvane {

SourceIconImageProvider::SourceIconImageProvider(SourceIconCache *icons)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_icons(icons)
{
}

QImage SourceIconImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QString key = QUrl::fromPercentEncoding(id.section(QLatin1Char('?'), 0, 0).toUtf8());
    QImage image;
    if (m_icons && !key.isEmpty()) {
        image = m_icons->cached(key);
        if (image.isNull()) {
            QPointer<SourceIconCache> icons = m_icons;
            QMetaObject::invokeMethod(
                icons,
                [icons, key] {
                    if (icons)
                        icons->icon(key);
                },
                Qt::QueuedConnection);
        }
    }
    if (size)
        *size = image.size();
    return fitToRequest(image, requestedSize);
}

} // namespace corvane
