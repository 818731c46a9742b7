#include "ShareItems.h"

#include "PreviewRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace corvane {
namespace {

ShareItem textItem(const QString &text)
{
    ShareItem item;
    item.kind = ShareItem::Kind::text;
    item.text = text;
    return item;
}

QString itemText(const ShareItem &item) { return item.kind == ShareItem::Kind::url ? item.url.toString() : item.text; }

std::optional<QString> writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(bytes);
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace

QList<ShareItem> shareItems(const Clip &clip, const std::optional<QString> &text, const ShareSources &sources)
{
    switch (clip.group) {
    case ClipGroup::link: {
        if (!text)
            return {textItem(QString())};
        const QUrl url(text->trimmed(), QUrl::StrictMode);
        if (url.isValid() && !url.isEmpty()) {
            ShareItem item;
            item.kind = ShareItem::Kind::url;
            item.url = url;
            return {item};
        }
        return {textItem(*text)};
    }
    case ClipGroup::image: {
        const QImage image = sources.fullImage ? sources.fullImage(clip.id) : QImage();
        if (image.isNull())
            return {};
        ShareItem item;
        item.kind = ShareItem::Kind::image;
        item.image = image;
        return {item};
    }
    case ClipGroup::file: {
        ShareItem item;
        item.kind = ShareItem::Kind::files;
        for (const QString &path : filePaths(text.value_or(QString()), sources.home)) {
            if (sources.exists && sources.exists(path))
                item.files << QUrl::fromLocalFile(path);
        }
        if (item.files.isEmpty())
            return {textItem(text.value_or(QString()))};
        return {item};
    }
    default:
        return {textItem(text.value_or(QString()))};
    }
}

std::optional<QUrl> mailtoUrl(const QList<ShareItem> &items)
{
    if (items.size() != 1 || (items.first().kind != ShareItem::Kind::text && items.first().kind != ShareItem::Kind::url))
        return std::nullopt;
    const QString body = itemText(items.first());
    if (body.size() > mailtoBodyLimit)
        return std::nullopt;
    // Every reserved character encoded: an "&" or "#" in the text must not end the body.
    return QUrl::fromEncoded("mailto:?body=" + QUrl::toPercentEncoding(body), QUrl::StrictMode);
}

QString suggestedFileName(const QList<ShareItem> &items)
{
    if (!items.isEmpty() && items.first().kind == ShareItem::Kind::image)
        return QStringLiteral("Image.png");
    if (!items.isEmpty() && items.first().kind == ShareItem::Kind::url)
        return QStringLiteral("Link.txt");
    return QStringLiteral("Clip.txt");
}

std::optional<QString> saveShareItems(const QList<ShareItem> &items, const QString &target)
{
    if (items.isEmpty())
        return QStringLiteral("there is nothing to save");
    const ShareItem &item = items.first();
    switch (item.kind) {
    case ShareItem::Kind::image: {
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly))
            return file.errorString();
        if (!item.image.save(&file, "PNG")) {
            file.cancelWriting();
            return QStringLiteral("the image could not be encoded");
        }
        return file.commit() ? std::nullopt : std::optional(file.errorString());
    }
    case ShareItem::Kind::files: {
        const QDir folder(target);
        if (!folder.exists())
            return QStringLiteral("the folder does not exist");
        for (const QUrl &url : item.files) {
            const QFileInfo source(url.toLocalFile());
            const QString destination = folder.filePath(source.fileName());
            if (QFileInfo::exists(destination))
                return QStringLiteral("“%1” is already there").arg(source.fileName());
            if (!QFile::copy(source.filePath(), destination))
                return QStringLiteral("“%1” could not be copied").arg(source.fileName());
        }
        return std::nullopt;
    }
    case ShareItem::Kind::url:
    case ShareItem::Kind::text:
        break;
    }
    return writeFile(target, itemText(item).toUtf8());
}

} // namespace corvane
