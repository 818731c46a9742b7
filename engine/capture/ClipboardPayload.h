#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief What one clipboard change offers for the history: a text (maybe a file reference)
 * or an image, plus the page it came from.
 *
 * Images travel still encoded (or as a file path) so decoding happens on the capture thread.
 */
struct ClipboardPayload {
    enum class Kind { text, image };

    Kind kind = Kind::text;
    QString text;                 ///< the text, or for a file reference the paths one per line
    bool isFileReference = false; ///< text holds file paths copied in a file manager
    QByteArray imageData;         ///< encoded image bytes as offered
    QString imagePath;            ///< or: an image file to load (one image file copied)
    QString detail;               ///< the image's file name, when it came from a file
    QString sourceURL;            ///< the page the copy came from, when the source names it

    bool isImage() const { return kind == Kind::image; }

    /**
     * Picks the payload among the offered formats: file references first, one image file as
     * an image when asked, an image only when no text comes with it, then text, then HTML as
     * plain text. `read` fetches one format's bytes. Nothing when nothing is readable yet.
     */
    static std::optional<ClipboardPayload> read(const QStringList &formats,
                                                const std::function<QByteArray(const QString &)> &read,
                                                bool imageFilesAsImages);

    /** The local paths of file: entries in a text/uri-list or x-special/gnome-copied-files body. */
    static QStringList filePaths(const QByteArray &uriList);
    /** The first line of a source-URL format, in UTF-8 or UTF-16 as browsers write it. */
    static QString sourceURLFrom(const QByteArray &bytes);
};

} // namespace corvane
