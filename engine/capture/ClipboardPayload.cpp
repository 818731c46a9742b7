#include "ClipboardPayload.h"

#include <QImageReader>
#include <QMimeDatabase>
#include <QTextDocumentFragment>

namespace corvane {

namespace {

bool offers(const QStringList &formats, QLatin1String prefix)
{
    return std::any_of(formats.begin(), formats.end(), [prefix](const QString &f) { return f.startsWith(prefix); });
}

bool isImageFile(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return QImageReader::supportedMimeTypes().contains(type.name().toLatin1());
}

std::optional<ClipboardPayload> fileReference(const QList<QUrl> &urls, bool imageFilesAsImages)
{
    if (urls.isEmpty())
        return std::nullopt;
    ClipboardPayload payload;
    if (imageFilesAsImages && urls.size() == 1 && isImageFile(urls.first().toLocalFile())) {
        payload.kind = ClipboardPayload::Kind::image;
        payload.imagePath = urls.first().toLocalFile();
        payload.detail = urls.first().fileName();
        return payload;
    }
    QStringList paths;
    for (const QUrl &url : urls)
        paths << url.toLocalFile();
    payload.text = paths.join(QLatin1Char('\n'));
    payload.isFileReference = true;
    return payload;
}

std::optional<ClipboardPayload> textPayload(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    ClipboardPayload payload;
    payload.text = text;
    return payload;
}

} // namespace

std::optional<ClipboardPayload> ClipboardPayload::read(const QStringList &formats,
                                                       const std::function<ClipboardContent(ClipboardParts)> &read,
                                                       bool imageFilesAsImages)
{
    // Each part is a round trip to the owner; fetch the source URL along with the first read.
    ClipboardParts source;
    if (formats.contains(ClipboardFormats::chromiumSourceUrl) || formats.contains(ClipboardFormats::mozillaSourceUrl))
        source = ClipboardPart::sourceUrl;
    std::optional<QString> sourceURL;
    const auto fetch = [&](ClipboardPart part) {
        ClipboardContent content = read(part | source);
        if (source) {
            sourceURL = content.sourceUrl;
            source = {};
        }
        return content;
    };

    std::optional<ClipboardPayload> payload;
    if (formats.contains(ClipboardFormats::uriList) || formats.contains(ClipboardFormats::gnomeCopiedFiles))
        payload = fileReference(fetch(ClipboardPart::files).fileUrls, imageFilesAsImages);
    // Office suites add a bitmap of copied text, so a non-empty text wins over an image.
    if (!payload && offers(formats, QLatin1String("text/plain")))
        payload = textPayload(fetch(ClipboardPart::text).text.value_or(QString()));
    if (!payload && offers(formats, QLatin1String("image/"))) {
        ClipboardContent content = fetch(ClipboardPart::image);
        if (!content.imageData.isEmpty() || !content.image.isNull()) {
            payload.emplace();
            payload->kind = Kind::image;
            // The bytes as offered: decoding waits for the capture thread, at the size it needs.
            if (!content.imageData.isEmpty())
                payload->imageData = std::move(content.imageData);
            else
                payload->image = std::move(content.image);
        }
    }
    if (!payload && offers(formats, QLatin1String("text/html"))) {
        const QString html = fetch(ClipboardPart::html).html.value_or(QString());
        payload = textPayload(QTextDocumentFragment::fromHtml(html).toPlainText().remove(QChar::ObjectReplacementCharacter));
        if (payload && payload->text.trimmed().isEmpty())
            payload.reset();
    }
    if (payload)
        payload->sourceURL = sourceURL.value_or(QString());
    return payload;
}

} // namespace corvane
