#include "FakeClipboardService.h"

namespace corvane {

ClipboardContent FakeClipboardService::read(ClipboardParts parts) const
{
    ++m_readCount;
    m_lastReadParts = parts;
    ClipboardContent content;
    content.changeCount = m_changeCount;
    if (parts & ClipboardPart::text)
        content.text = m_content.text;
    if (parts & ClipboardPart::html)
        content.html = m_content.html;
    if (parts & ClipboardPart::files)
        content.fileUrls = m_content.fileUrls;
    if (parts & ClipboardPart::image) {
        content.image = m_content.image;
        content.imageData = m_content.imageData;
    }
    if (parts & ClipboardPart::sourceUrl)
        content.sourceUrl = m_content.sourceUrl;
    content.oversized = m_content.oversized;
    return content;
}

void FakeClipboardService::setExternal(const QStringList &formats, const ClipboardContent &content)
{
    m_formats = ClipboardFormats::withoutBookkeeping(formats);
    m_content = content;
    bumpChangeCount();
}

void FakeClipboardService::bumpChangeCount()
{
    ++m_changeCount;
    emit changed();
}

qint64 FakeClipboardService::record(Write write, const QStringList &formats, const ClipboardContent &content)
{
    m_formats = formats;
    m_content = content;
    if (write.secret)
        m_formats.append(ClipboardFormats::passwordManagerHint);
    bumpChangeCount();
    write.changeCount = m_changeCount;
    m_writes.push_back(std::move(write));
    return m_changeCount;
}

qint64 FakeClipboardService::clear() { return record({}, {}, {}); }

qint64 FakeClipboardService::writeText(const QString &text, ClipboardWriteOptions options)
{
    ClipboardContent content;
    content.text = text;
    return record({WriteKind::text, text, {}, {}, {}, options.secret, 0}, {QStringLiteral("text/plain")}, content);
}

qint64 FakeClipboardService::writeImage(const QImage &image, const QByteArray &png, ClipboardWriteOptions options)
{
    ClipboardContent content;
    content.image = image;
    return record({WriteKind::image, {}, image, png, {}, options.secret, 0},
                  {QStringLiteral("image/png"), QStringLiteral("image/tiff")}, content);
}

qint64 FakeClipboardService::writeFiles(const QList<QUrl> &urls, const QString &text, ClipboardWriteOptions options)
{
    ClipboardContent content;
    content.fileUrls = urls;
    content.text = text;
    return record({WriteKind::files, text, {}, {}, urls, options.secret, 0},
                  {ClipboardFormats::uriList, ClipboardFormats::gnomeCopiedFiles, QStringLiteral("text/plain")}, content);
}

} // namespace corvane
