#include "ClipboardPayload.h"

#include <QImageReader>
#include <QMimeDatabase>
#include <QTextDocumentFragment>
#include <QUrl>

namespace corvane {

namespace {

const QString uriList = QStringLiteral("text/uri-list");
const QString gnomeFiles = QStringLiteral("x-special/gnome-copied-files");
const QString plainText = QStringLiteral("text/plain");
const QString htmlText = QStringLiteral("text/html");
const QStringList sourceURLFormats{QStringLiteral("chromium/x-source-url"), QStringLiteral("text/x-moz-url-priv")};

/** Image formats in order of preference: lossless first. */
QString preferredImageFormat(const QStringList &formats)
{
    static const QStringList preferred{QStringLiteral("image/png"), QStringLiteral("image/bmp"),
                                       QStringLiteral("image/tiff"), QStringLiteral("image/webp"),
                                       QStringLiteral("image/jpeg"), QStringLiteral("image/gif")};
    for (const QString &format : preferred) {
        if (formats.contains(format))
            return format;
    }
    for (const QString &format : formats) {
        if (format.startsWith(QLatin1String("image/")))
            return format;
    }
    return {};
}

bool isImageFile(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return QImageReader::supportedMimeTypes().contains(type.name().toLatin1());
}

QString fileName(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

} // namespace

QStringList ClipboardPayload::filePaths(const QByteArray &uriList)
{
    QStringList paths;
    const QList<QByteArray> lines = uriList.split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    }
    return paths;
}

QString ClipboardPayload::sourceURLFrom(const QByteArray &bytes)
{
    // Firefox writes its private URL type as UTF-16; Chromium writes UTF-8.
    const bool utf16 = bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes.at(1) == '\0';
    QString text = utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2)
                         : QString::fromUtf8(bytes);
    text = text.section(QLatin1Char('\n'), 0, 0).remove(QChar(0)).trimmed();
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() ? text : QString();
}

std::optional<ClipboardPayload> ClipboardPayload::read(const QStringList &formats,
                                                       const std::function<QByteArray(const QString &)> &read,
                                                       bool imageFilesAsImages)
{
    std::optional<ClipboardPayload> payload;

    QStringList paths;
    if (formats.contains(uriList))
        paths = filePaths(read(uriList));
    if (paths.isEmpty() && formats.contains(gnomeFiles))
        {
        const QByteArray list = read(gnomeFiles);
        paths = filePaths(list.mid(list.indexOf('\n') + 1)); // the first line is "copy" or "cut"
    }

    if (!paths.isEmpty()) {
        payload.emplace();
        if (imageFilesAsImages && paths.size() == 1 && isImageFile(paths.first())) {
            payload->kind = Kind::image;
            payload->imagePath = paths.first();
            payload->detail = fileName(paths.first());
        } else {
            payload->text = paths.join(QLatin1Char('\n'));
            payload->isFileReference = true;
        }
    }

    if (!payload) {
        // Office suites add a bitmap of copied text, so a non-empty text wins over an image.
        const QString text = formats.contains(plainText) ? QString::fromUtf8(read(plainText)) : QString();
        const QString imageFormat = text.isEmpty() ? preferredImageFormat(formats) : QString();
        QByteArray image = imageFormat.isEmpty() ? QByteArray() : read(imageFormat);
        if (!text.isEmpty()) {
            payload.emplace();
            payload->text = text;
        } else if (!image.isEmpty()) {
            payload.emplace();
            payload->kind = Kind::image;
            payload->imageData = std::move(image);
        } else if (formats.contains(htmlText)) {
            const QString html = QTextDocumentFragment::fromHtml(QString::fromUtf8(read(htmlText))).toPlainText().remove(QChar::ObjectReplacementCharacter);
            if (!html.trimmed().isEmpty()) {
                payload.emplace();
                payload->text = html;
            }
        }
    }

    if (payload) {
        for (const QString &format : sourceURLFormats) {
            if (formats.contains(format)) {
                payload->sourceURL = sourceURLFrom(read(format));
                break;
            }
        }
    }
    return payload;
}

} // namespace corvane
