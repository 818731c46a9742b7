#pragma once

#include "Clip.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace corvane {

/** @brief One thing to share: a URL, a text, an image or files. */
struct ShareItem {
    enum class Kind { url, text, image, files };
    Kind kind = Kind::text;
    QUrl url;
    QString text;
    QImage image;
    QList<QUrl> files;
};

/** @brief What shareItems reads besides the clip; the store and the file system in the app. */
struct ShareSources {
    std::function<QImage(std::int64_t clipId)> fullImage;
    std::function<bool(const QString &path)> exists;
    QString home;
};

/**
 * The items a clip shares: a link's URL (its untrimmed text when it does not parse), an image
 * clip's full image (nothing when it cannot be loaded), a file clip's existing files (its text
 * when none exists), else the text. `text` is the clip's whole text.
 */
QList<ShareItem> shareItems(const Clip &clip, const std::optional<QString> &text, const ShareSources &sources);

/** Bodies longer than this are not offered by e-mail: handlers cut long mailto: links. */
inline constexpr int mailtoBodyLimit = 2000;

/** "mailto:?body=…" fully percent-encoded, for a text or URL item of at most 2,000 characters. */
std::optional<QUrl> mailtoUrl(const QList<ShareItem> &items);

/** The file name "Save to File…" proposes: "Clip.txt", "Link.txt" or "Image.png". */
QString suggestedFileName(const QList<ShareItem> &items);

/** Writes the items to `target`: a text or PNG file, or into a folder for files. The error, or nothing. */
std::optional<QString> saveShareItems(const QList<ShareItem> &items, const QString &target);

} // namespace corvane
