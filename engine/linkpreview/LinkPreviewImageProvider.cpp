#include "LinkPreviewImageProvider.h"

#include "ImageTools.h"
#include "LinkCard.h"
#include "LinkPreviewService.h"
#include "ThumbnailImageProvider.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

namespace corvane {

LinkPreviewImageProvider::LinkPreviewImageProvider(LinkPreviewService *service)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_service(service)
{
}

QImage LinkPreviewImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QString path = id.section(u'?', 0, 0);
    const QString kind = path.section(u'/', -1);
    const QString value = QUrl::fromPercentEncoding(path.section(u'/', 0, -2).toUtf8());
    QImage image;
    if (kind == u"app") {
        // Theme icons are drawn through QIcon, which belongs to the main thread.
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            image = appFileIcon(value, requestedSize.isValid() ? std::max(requestedSize.width(), 64) : 64);
    } else if (const auto preview = m_service ? m_service->preview(value) : std::nullopt) {
        const QByteArray &bytes = kind == u"image" ? preview->image : preview->icon;
        // Our own small PNGs, but the database file could have been changed under us.
        const int side = kind == u"image" ? LinkPreview::imagePixels : LinkPreview::iconPixels;
        image = decodeUntrustedImage(bytes, ImageDecodeLimits{4 * 1024 * 1024, side, 16, side}).value_or(QImage());
    }
    if (size)
        *size = image.size();
    return fitToRequest(image, requestedSize);
}

} // namespace corvane
