#pragma once

#include "ClipboardService.h"

class QClipboard;
class QMimeData;

namespace corvane {

/**
 * @brief The CLIPBOARD selection over QClipboard (never PRIMARY).
 *
 * Qt reuses the QMimeData it returns for the next change, so every read copies its bytes out
 * at once; each format is fetched only when asked, since a hung owner blocks each fetch.
 */
class QtClipboardService : public ClipboardService
{
    Q_OBJECT

public:
    /** Uses QGuiApplication::clipboard(); needs a QGuiApplication. */
    explicit QtClipboardService(QObject *parent = nullptr);

    qint64 changeCount() const override { return m_changeCount; }
    QStringList formats() const override;
    ClipboardContent read(ClipboardParts parts) const override;

    qint64 clear() override;
    qint64 writeText(const QString &text, ClipboardWriteOptions options = {}) override;
    qint64 writeImage(const QImage &image, const QByteArray &png = {}, ClipboardWriteOptions options = {}) override;
    qint64 writeFiles(const QList<QUrl> &urls, const QString &text, ClipboardWriteOptions options = {}) override;

private:
    qint64 write(QMimeData *data, ClipboardWriteOptions options);

    QClipboard *m_clipboard;
    qint64 m_changeCount = 0;
};

} // namespace corvane
