#pragma once

#include "ClipboardContent.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief What one clipboard change offers for the history: a text (maybe a file reference)
 * or an image, plus the page it came from.
 */
struct ClipboardPayload {
    enum class Kind { text, image };

    Kind kind = Kind::text;
    QString text;                 ///< the text, or for a file reference the paths one per line
    bool isFileReference = false; ///< text holds file paths copied in a file manager
    QImage image;                 ///< the offered image
    QByteArray imageData;         ///< or: its encoded bytes, decoded on the capture thread
    QString imagePath;            ///< or: an image file to load on the capture thread
    QString detail;               ///< the image's file name, when it came from a file
    QString sourceURL;            ///< the page the copy came from, when the source names it

    bool isImage() const { return kind == Kind::image; }

    /**
     * Reads the payload among the offered formats: file references first, one image file as
     * an image when asked, an image only when no text comes with it, then text, then HTML as
     * plain text. `read` fetches parts; only those needed are asked for, each once.
     * Nothing when nothing is readable (yet).
     */
    static std::optional<ClipboardPayload> read(const QStringList &formats,
                                                const std::function<ClipboardContent(ClipboardParts)> &read,
                                                bool imageFilesAsImages);
};

} // namespace corvane
