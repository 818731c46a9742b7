#pragma once

#include "ClipboardContent.h"

#include <QObject>

namespace corvane {

/**
 * @brief The CLIPBOARD selection: a change counter, the offered formats, reads and writes.
 *
 * Main thread only. Every write returns the change count right after it, so the caller can
 * remember it and never record its own write.
 */
class ClipboardService : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /** Moves by one on every change of the selection, our own writes included. */
    virtual qint64 changeCount() const = 0;
    /** The offered MIME formats, without X11 bookkeeping targets. Empty when no one owns it. */
    virtual QStringList formats() const = 0;
    /** Reads only the asked parts, copying the bytes out at once and capping their sizes. */
    virtual ClipboardContent read(ClipboardParts parts) const = 0;

    virtual qint64 clear() = 0;
    virtual qint64 writeText(const QString &text, ClipboardWriteOptions options = {}) = 0;
    /** Offers PNG (@p png when given, else encoded) and the other image formats Qt can write. */
    virtual qint64 writeImage(const QImage &image, const QByteArray &png = {}, ClipboardWriteOptions options = {}) = 0;
    /** Offers the file URLs (uri-list and the GNOME file-manager format) plus @p text as text/plain. */
    virtual qint64 writeFiles(const QList<QUrl> &urls, const QString &text, ClipboardWriteOptions options = {}) = 0;

signals:
    /** The change count moved. */
    void changed();
};

} // namespace corvane
