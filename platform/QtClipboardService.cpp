#include "QtClipboardService.h"
#include "Logging.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMimeData>

namespace corvane {

namespace {

const QString textUtf8 = QStringLiteral("text/plain;charset=utf-8");
const QString textPlain = QStringLiteral("text/plain");
const QString textHtml = QStringLiteral("text/html");
const QString imagePng = QStringLiteral("image/png");
/** Above this many pixels (64 MB decoded) an image is not decoded here. */
constexpr qint64 largeImagePixels = 16'777'216;
const QString qtImage = QStringLiteral("application/x-qt-image");

/** The bytes of @p format, or nothing when absent or over @p cap (noted in @p content). */
std::optional<QByteArray> fetch(const QMimeData &mime, const QStringList &formats, const QString &format, qint64 cap,
                                ClipboardContent &content)
{
    if (!formats.contains(format))
        return std::nullopt;
    QByteArray data = mime.data(format);
    if (data.size() > cap) {
        qCWarning(logClipboard, "Corvane: clipboard format %s holds %lld bytes, over the %lld-byte limit; not read",
                  qPrintable(format), qlonglong(data.size()), qlonglong(cap));
        content.oversized.append(format);
        return std::nullopt;
    }
    return data;
}

QImage readImage(const QMimeData &mime, const QStringList &formats, ClipboardContent &content)
{
    QStringList imageFormats;
    for (const QString &format : formats) {
        if (format.startsWith(QLatin1String("image/")))
            imageFormats.append(format);
    }
    // PNG is lossless and what every program offers; try it first.
    if (imageFormats.removeAll(imagePng) > 0)
        imageFormats.prepend(imagePng);
    for (const QString &format : std::as_const(imageFormats)) {
        if (auto data = fetch(mime, formats, format, ClipboardLimits::image, content)) {
            content.imageData = *data;
            // A large image is left to the capture thread, which decodes it at reduced size.
            QBuffer buffer(&*data);
            const QSize size = QImageReader(&buffer).size();
            if (size.isValid() && qint64(size.width()) * size.height() > largeImagePixels)
                return {};
            QImage image = QImage::fromData(*data);
            if (!image.isNull())
                return image;
            content.imageData.clear();
        }
    }
    // Our own in-process data carries the QImage itself.
    if (imageFormats.isEmpty() && mime.hasImage())
        return qvariant_cast<QImage>(mime.imageData());
    return {};
}

} // namespace

QtClipboardService::QtClipboardService(QObject *parent)
    : ClipboardService(parent)
    , m_clipboard(QGuiApplication::clipboard())
{
    connect(m_clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        ++m_changeCount;
        emit changed();
    });
}

QStringList QtClipboardService::formats() const
{
    const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mime)
        return {};
    QStringList formats = mime->formats();
    // Our own image writes hold a QImage that other programs receive as image/png.
    if (formats.removeAll(qtImage) > 0 && !formats.contains(imagePng))
        formats.append(imagePng);
    return ClipboardFormats::withoutBookkeeping(formats);
}

ClipboardContent QtClipboardService::read(ClipboardParts parts) const
{
    ClipboardContent content;
    content.changeCount = m_changeCount;
    const QMimeData *mime = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mime)
        return content;
    const QStringList formats = mime->formats();

    if (parts & ClipboardPart::text) {
        const QString format = formats.contains(textUtf8) ? textUtf8 : textPlain;
        if (auto data = fetch(*mime, formats, format, ClipboardLimits::text, content)) {
            QString text = QString::fromUtf8(*data);
            while (text.endsWith(QChar(0)))
                text.chop(1);
            content.text = text;
        }
    }
    if (parts & ClipboardPart::html) {
        if (auto data = fetch(*mime, formats, textHtml, ClipboardLimits::html, content))
            content.html = ClipboardFormats::textFromData(*data);
    }
    if (parts & ClipboardPart::files) {
        if (auto data = fetch(*mime, formats, ClipboardFormats::uriList, ClipboardLimits::uriList, content))
            content.fileUrls = ClipboardFormats::fileUrlsFromUriList(*data);
        if (content.fileUrls.isEmpty()) {
            if (auto data = fetch(*mime, formats, ClipboardFormats::gnomeCopiedFiles, ClipboardLimits::uriList, content))
                content.fileUrls = ClipboardFormats::fileUrlsFromGnomeCopiedFiles(*data);
        }
    }
    if (parts & ClipboardPart::image)
        content.image = readImage(*mime, formats, content);
    if (parts & ClipboardPart::sourceUrl) {
        for (const QString &format : {ClipboardFormats::chromiumSourceUrl, ClipboardFormats::mozillaSourceUrl}) {
            if (auto data = fetch(*mime, formats, format, ClipboardLimits::sourceUrl, content)) {
                content.sourceUrl = ClipboardFormats::sourceUrlFromData(*data);
                if (content.sourceUrl)
                    break;
            }
        }
    }
    return content;
}

qint64 QtClipboardService::write(QMimeData *data, ClipboardWriteOptions options)
{
    if (data && options.secret)
        data->setData(ClipboardFormats::passwordManagerHint, QByteArrayLiteral("secret"));
    const qint64 before = m_changeCount;
    m_clipboard->setMimeData(data, QClipboard::Clipboard);
    // The xcb backend reports its own ownership change at once; others may not report it at all.
    if (m_changeCount == before) {
        ++m_changeCount;
        emit changed();
    }
    return m_changeCount;
}

qint64 QtClipboardService::clear() { return write(nullptr, {}); }

qint64 QtClipboardService::writeText(const QString &text, ClipboardWriteOptions options)
{
    auto *data = new QMimeData;
    data->setText(text);
    return write(data, options);
}

qint64 QtClipboardService::writeImage(const QImage &image, const QByteArray &png, ClipboardWriteOptions options)
{
    auto *data = new QMimeData;
    if (!png.isEmpty())
        data->setData(imagePng, png);
    // Qt encodes the other image formats (TIFF, JPEG, BMP, ...) when a program asks for them.
    if (!image.isNull())
        data->setImageData(image);
    return write(data, options);
}

qint64 QtClipboardService::writeFiles(const QList<QUrl> &urls, const QString &text, ClipboardWriteOptions options)
{
    auto *data = new QMimeData;
    data->setUrls(urls);
    QByteArray copied = QByteArrayLiteral("copy");
    for (const QUrl &url : urls)
        copied += '\n' + url.toEncoded();
    data->setData(ClipboardFormats::gnomeCopiedFiles, copied);
    data->setText(text);
    return write(data, options);
}

} // namespace corvane
