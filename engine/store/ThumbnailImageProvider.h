#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QQuickImageProvider>

#include <cstdint>
#include <memory>
#include <optional>

namespace corvane {

class ClipboardStore;
class ClipDatabase;

/**
 * @brief "image://thumb/<clip id>": a clip's stored thumbnail.
 *
 * Image loading may run off the main thread, so the encoded thumbnails of the clips the store
 * holds are copied out of it whenever its history changes (only the changed clips' after an
 * edit) and read under a lock; the others are read from the history.
 */
class ThumbnailImageProvider : public QQuickImageProvider
{
public:
    explicit ThumbnailImageProvider(ClipboardStore *store);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    void snapshot();

    QPointer<ClipboardStore> m_store;
    /** The history revision the copies are of, once copied. */
    std::optional<std::uint64_t> m_revision;
    QMutex m_mutex;
    QHash<std::int64_t, QByteArray> m_thumbnails;
    std::weak_ptr<ClipDatabase> m_database;
};

/** Scales to the requested size keeping the aspect ratio (either side 0 means "any"). */
QImage fitToRequest(const QImage &image, const QSize &requestedSize);

} // namespace corvane
