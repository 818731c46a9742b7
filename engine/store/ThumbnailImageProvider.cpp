#include "ThumbnailImageProvider.h"

#include "ClipboardStore.h"

namespace corvane {

QImage fitToRequest(const QImage &image, const QSize &requestedSize)
{
    if (image.isNull() || (requestedSize.width() <= 0 && requestedSize.height() <= 0))
        return image;
    QSize target = requestedSize;
    if (target.width() <= 0)
        target.setWidth(image.width() * target.height() / std::max(1, image.height()));
    if (target.height() <= 0)
        target.setHeight(image.height() * target.width() / std::max(1, image.width()));
    return image.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

ThumbnailImageProvider::ThumbnailImageProvider(ClipboardStore *store)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_store(store)
{
    if (store) {
        QObject::connect(store, &ClipboardStore::clipsChanged, this, [this] { snapshot(); });
        snapshot();
    }
}

void ThumbnailImageProvider::snapshot()
{
    if (!m_store)
        return;
    const ClipChange &change = m_store->lastClipChange();
    const bool oneStep = m_revision && change.fromRevision == *m_revision && !change.everything;
    m_revision = m_store->revision();
    {
        QMutexLocker lock(&m_mutex);
        m_database = m_store->sharedDatabase();
    }
    if (oneStep) {
        // A million clips are not read again for one edit.
        QMutexLocker lock(&m_mutex);
        for (std::int64_t id : change.removed)
            m_thumbnails.remove(id);
        for (std::int64_t id : change.ids) {
            const ClipEntry *entry = m_store->collection().entry(id);
            if (entry && entry->clip && entry->clip->hasThumbnail())
                m_thumbnails.insert(id, entry->clip->thumbnailPng);
            else
                m_thumbnails.remove(id);
        }
        return;
    }
    // Clips the store holds no object for are read when asked for (see requestImage).
    QHash<std::int64_t, QByteArray> thumbnails;
    for (const ClipEntry &entry : m_store->collection().entries()) {
        if (entry.clip && entry.clip->hasThumbnail())
            thumbnails.insert(entry.id, entry.clip->thumbnailPng);
    }
    QMutexLocker lock(&m_mutex);
    m_thumbnails.swap(thumbnails);
}

QImage ThumbnailImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    bool ok = false;
    const qint64 clipID = id.section(QLatin1Char('?'), 0, 0).toLongLong(&ok);
    QByteArray png;
    std::shared_ptr<ClipDatabase> database;
    if (ok) {
        QMutexLocker lock(&m_mutex);
        png = m_thumbnails.value(clipID);
        database = m_database.lock();
    }
    if (ok && png.isEmpty() && database)
        png = database->thumbnail(clipID).value_or(QByteArray());
    QImage image;
    if (!png.isEmpty())
        image.loadFromData(png, "PNG");
    if (size)
        *size = image.size();
    return fitToRequest(image, requestedSize);
}

} // namespace corvane
