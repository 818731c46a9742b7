#pragma once

#include "Clip.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace corvane {

/** @brief What the world outside the plan answers: files, the home folder, the database. */
struct DragEnvironment {
    QString homePath;
    std::function<bool(const QString &path)> pathExists;
    bool hasDatabase = false;
    /** The whole text of a clip whose in-memory text is only a prefix. */
    std::function<std::optional<QString>(std::int64_t id)> fullText;
};

/** @brief What a drop of some clips receives, decided without touching the disk. */
struct DragPlan {
    enum class Kind {
        None,      ///< nothing to drag: the drag is not started
        Text,      ///< plain text
        Url,       ///< a link: the URL plus its trimmed text
        File,      ///< an existing file or folder
        Image,     ///< an image clip's PNG, still to be written by DragMaterializer
        ImageFile, ///< the written PNG: `url` is the file, `fileName` its name
    };
    Kind kind = Kind::None;
    QString text; ///< Text, Url; for Image the text to fall back to
    QUrl url;     ///< Url, File
    std::int64_t clipId = 0;
    QString fileName; ///< Image

    static DragPlan textOf(const QString &text) { return {Kind::Text, text, {}, 0, {}}; }
    bool operator==(const DragPlan &) const = default;
};

/**
 * Decides what dragging `clips` gives: nothing for no clips, the joined texts for several,
 * and for one clip by its group a URL, a file, an image file or text. A link must be an
 * absolute URL with a scheme; a file path must be absolute (or "~" / "~/..."). Every failure
 * falls back to the clip's text; a secret drags its clear text, as copying does. A drag that
 * would carry only empty text is no drag at all.
 */
DragPlan planDrag(const QList<Clip> &clips, const DragEnvironment &env);

/** The clip's creation time as a local date-time. */
QDateTime createdDate(const Clip &clip);

/** A leading "~" or "~/" expanded to `home`; other paths unchanged, "~user" untouched. */
QString expandTilde(const QString &path, const QString &home);

} // namespace corvane
