#include "ClipDatabase.h"
#include "Logging.h"
#include "ClipboardService.h"
#include "ClipboardStore.h"
#include "CapturedImage.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace corvane {

namespace {

QString expandTilde(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

QList<std::int64_t> idsOf(const QVariantList &values)
{
    QList<std::int64_t> ids;
    for (const QVariant &value : values) {
        bool ok = false;
        const qint64 id = value.toLongLong(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

} // namespace

std::optional<QString> ClipboardStore::fullText(std::int64_t id)
{
    const ClipRef found = clip(id);
    if (!found)
        return std::nullopt;
    if (!found->textIsTruncated || !m_database)
        return found->text();
    try {
        return m_database->fullText(id);
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: reading a clip's text failed:" << error.message();
        return std::nullopt;
    }
}

QImage ClipboardStore::fullImage(std::int64_t id)
{
    if (QImage cached = m_images.image(id); !cached.isNull())
        return cached;
    if (!m_database || !m_clips.contains(id))
        return {};
    std::optional<QByteArray> png;
    try {
        png = m_database->imageData(id);
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: reading an image failed:" << error.message();
        return {};
    }
    QImage image;
    if (!png || !image.loadFromData(*png))
        return {};
    m_images.insert(id, image);
    return image;
}

std::optional<QString> ClipboardStore::writeClip(const Clip &clip, bool plainTextOnly)
{
    // Everything is read before the clipboard is touched, so a failure leaves it as it was.
    if (clip.group == ClipGroup::image) {
        // The stored PNG goes back byte for byte; a picture too large to decode at once goes back
        // as those bytes alone (other formats are made from the decoded image when it is small).
        std::optional<QByteArray> png;
        try {
            png = m_database ? m_database->imageData(clip.id) : std::nullopt;
        } catch (const ClipDatabase::Error &error) {
            qCWarning(logDb).noquote() << "Corvane: reading an image failed:" << error.message();
        }
        const bool decodable = qint64(clip.imageSize.width()) * clip.imageSize.height() <= CapturedImage::fullDecodePixels;
        const QImage image = decodable ? fullImage(clip.id) : QImage();
        if (image.isNull() && (!png || png->isEmpty()))
            return QStringLiteral("the image is missing");
        m_ownChangeCount = m_clipboard->writeImage(image, png.value_or(QByteArray()));
        return std::nullopt;
    }
    const std::optional<QString> text = fullText(clip.id);
    if (!text)
        return QStringLiteral("the text is missing");
    const ClipboardWriteOptions options{clip.group == ClipGroup::secret};
    if (clip.group == ClipGroup::file && !plainTextOnly) {
        QList<QUrl> urls;
        for (const QString &line : text->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString path = expandTilde(line.trimmed());
            if (!path.isEmpty() && QFileInfo::exists(path))
                urls.append(QUrl::fromLocalFile(path));
        }
        if (!urls.isEmpty()) {
            m_ownChangeCount = m_clipboard->writeFiles(urls, *text, options);
            return std::nullopt;
        }
    }
    m_ownChangeCount = m_clipboard->writeText(*text, options);
    return std::nullopt;
}

bool ClipboardStore::copy(qint64 id, bool plainTextOnly)
{
    const ClipRef target = clip(id);
    if (!target)
        return false;
    if (auto error = writeClip(*target, plainTextOnly)) {
        showNotice(QStringLiteral("Couldn’t copy: ") + *error, Notice::Kind::warning);
        return false;
    }
    showNotice(target->group == ClipGroup::secret ? QStringLiteral("Secret copied") : QStringLiteral("Copied to clipboard"),
               Notice::Kind::info);
    return true;
}

void ClipboardStore::copyClips(const QList<std::int64_t> &ids)
{
    QStringList texts;
    bool secret = false;
    for (std::int64_t id : ids) {
        const ClipRef found = clip(id);
        if (!found)
            continue;
        const std::optional<QString> text = fullText(id);
        if (!text || text->isEmpty())
            continue; // images have no text to join
        texts.append(*text);
        secret = secret || found->group == ClipGroup::secret;
    }
    if (texts.isEmpty()) {
        showNotice(QStringLiteral("Couldn’t copy: these clips have no text"), Notice::Kind::warning);
        return;
    }
    m_ownChangeCount = m_clipboard->writeText(texts.join(QLatin1Char('\n')), ClipboardWriteOptions{secret});
    showNotice(QStringLiteral("Copied %1 clips").arg(ids.size()), Notice::Kind::info);
}

void ClipboardStore::copyClips(const QVariantList &ids) { copyClips(idsOf(ids)); }

// --- Paste queue ---------------------------------------------------------------------------------

void ClipboardStore::addToStack(const QList<std::int64_t> &ids)
{
    QList<std::int64_t> known;
    for (std::int64_t id : ids) {
        if (m_clips.contains(id))
            known.append(id);
    }
    if (known.isEmpty())
        return;
    const bool wasEmpty = m_queue.isEmpty();
    m_queue.append(known);
    if (wasEmpty)
        writeQueueItem();
    showNotice(known.size() == 1 ? QStringLiteral("Added to Corvane")
                                 : QStringLiteral("Added %1 clips to Corvane").arg(known.size()),
               Notice::Kind::info);
    queueChanged();
}

void ClipboardStore::addToStack(const QVariantList &ids) { addToStack(idsOf(ids)); }

void ClipboardStore::next()
{
    if (m_queue.isEmpty())
        return;
    if (m_queue.advance())
        writeQueueItem();
    queueChanged();
}

void ClipboardStore::clearQueue()
{
    if (m_queue.isEmpty())
        return;
    m_queue.clear();
    queueChanged();
}

void ClipboardStore::writeQueueItem()
{
    const auto id = m_queue.currentID();
    const ClipRef item = id ? clip(*id) : nullptr;
    if (!item)
        return;
    // Same writer as a copy, without the "Copied" notice.
    if (auto error = writeClip(*item, false))
        showNotice(QStringLiteral("Couldn’t copy: ") + *error, Notice::Kind::warning);
}

void ClipboardStore::queueChanged()
{
    emit pasteQueueChanged();
    if (onCorvaneChanged)
        onCorvaneChanged();
}

QStringList ClipboardStore::pasteQueueTitles() const
{
    QStringList titles;
    for (std::int64_t id : m_queue.ids()) {
        if (const ClipRef item = clip(id))
            titles.append(item->displayTitle(false, true));
    }
    return titles;
}

QVariantList ClipboardStore::pasteQueueIDValues() const
{
    QVariantList ids;
    for (std::int64_t id : m_queue.ids())
        ids.append(qint64(id));
    return ids;
}

void ClipboardStore::deleteClips(const QVariantList &ids) { deleteClips(idsOf(ids)); }

} // namespace corvane
