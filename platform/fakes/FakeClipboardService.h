#pragma once

#include "ClipboardService.h"

#include <vector>

namespace corvane {

/** @brief A clipboard held in memory: tests set what "another app" copied and inspect writes. */
class FakeClipboardService : public ClipboardService
{
    Q_OBJECT

public:
    enum class WriteKind { clear, text, image, files };
    struct Write {
        WriteKind kind = WriteKind::clear;
        QString text;
        QImage image;
        QByteArray png;
        QList<QUrl> urls;
        bool secret = false;
        qint64 changeCount = 0;
    };

    using ClipboardService::ClipboardService;

    qint64 changeCount() const override { return m_changeCount; }
    QStringList formats() const override { return m_formats; }
    ClipboardContent read(ClipboardParts parts) const override;

    qint64 clear() override;
    qint64 writeText(const QString &text, ClipboardWriteOptions options = {}) override;
    qint64 writeImage(const QImage &image, const QByteArray &png = {}, ClipboardWriteOptions options = {}) override;
    qint64 writeFiles(const QList<QUrl> &urls, const QString &text, ClipboardWriteOptions options = {}) override;

    /** Another app copies: sets formats and content, bumps the count and emits changed(). */
    void setExternal(const QStringList &formats, const ClipboardContent &content);
    /** Replaces what a read returns without a change (data arriving late, for retries). */
    void setContent(const ClipboardContent &content) { m_content = content; }
    /** Bumps the count and emits changed() without touching formats or content. */
    void bumpChangeCount();

    const std::vector<Write> &writes() const { return m_writes; }
    int readCount() const { return m_readCount; }
    ClipboardParts lastReadParts() const { return m_lastReadParts; }

private:
    qint64 record(Write write, const QStringList &formats, const ClipboardContent &content);

    qint64 m_changeCount = 0;
    QStringList m_formats;
    ClipboardContent m_content;
    std::vector<Write> m_writes;
    mutable int m_readCount = 0;
    mutable ClipboardParts m_lastReadParts;
};

} // namespace corvane
