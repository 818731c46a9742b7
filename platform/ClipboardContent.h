#pragma once

#include <QFlags>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace corvane {

/** @brief Which parts of the clipboard a read fetches; each part costs a round trip to the owner. */
enum class ClipboardPart {
    text = 0x01,      ///< text/plain
    html = 0x02,      ///< text/html
    files = 0x04,     ///< text/uri-list, else x-special/gnome-copied-files (file URLs only)
    image = 0x08,     ///< the first offered image format, decoded
    sourceUrl = 0x10, ///< chromium/x-source-url, else the first line of text/x-moz-url-priv
};
Q_DECLARE_FLAGS(ClipboardParts, ClipboardPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(ClipboardParts)

/** @brief Bytes copied out of the clipboard at once (the owner's data may change right after). */
struct ClipboardContent {
    /** The change count when the read began; compare with changeCount() to spot a stale read. */
    qint64 changeCount = 0;
    std::optional<QString> text;
    std::optional<QString> html;
    /** Local file URLs, in the owner's order; empty when none were offered. */
    QList<QUrl> fileUrls;
    /** Null when no image was offered or it could not be decoded (or was left to `imageData`). */
    QImage image;
    /** The encoded bytes of the offered image format, for a reader that decodes them later. */
    QByteArray imageData;
    std::optional<QString> sourceUrl;
    /** Formats that were offered but exceeded their size cap and were not kept. */
    QStringList oversized;
};

/** @brief Size caps of the reads, in bytes of the offered data. */
namespace ClipboardLimits {
inline constexpr qint64 text = 256LL * 1024 * 1024;
inline constexpr qint64 html = 32LL * 1024 * 1024;
inline constexpr qint64 uriList = 4LL * 1024 * 1024;
inline constexpr qint64 image = 256LL * 1024 * 1024;
inline constexpr qint64 sourceUrl = 64LL * 1024;
} // namespace ClipboardLimits

/** @brief How a write marks its data. */
struct ClipboardWriteOptions {
    /** Adds "x-kde-passwordManagerHint: secret" so history tools (ours included) skip it. */
    bool secret = false;
};

/** MIME names the platform layer reads and writes. */
namespace ClipboardFormats {
inline const QString passwordManagerHint = QStringLiteral("x-kde-passwordManagerHint");
inline const QString uriList = QStringLiteral("text/uri-list");
inline const QString gnomeCopiedFiles = QStringLiteral("x-special/gnome-copied-files");
inline const QString chromiumSourceUrl = QStringLiteral("chromium/x-source-url");
inline const QString mozillaSourceUrl = QStringLiteral("text/x-moz-url-priv");

/** True for the X11 selection bookkeeping targets (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS). */
bool isBookkeepingTarget(const QString &format);
/** @p formats without bookkeeping targets and duplicates, order kept. */
QStringList withoutBookkeeping(const QStringList &formats);
/** Local file URLs of a text/uri-list body (comments and non-file URLs dropped). */
QList<QUrl> fileUrlsFromUriList(const QByteArray &data);
/** Local file URLs of an x-special/gnome-copied-files body ("copy"/"cut" line, then URLs). */
QList<QUrl> fileUrlsFromGnomeCopiedFiles(const QByteArray &data);
/** Text of a body that may be UTF-8 or UTF-16 (with a byte-order mark or zero bytes, as Firefox writes). */
QString textFromData(const QByteArray &data);
/** First line of a source-URL body; text/x-moz-url-priv may be UTF-16. Nothing when empty. */
std::optional<QString> sourceUrlFromData(const QByteArray &data);
} // namespace ClipboardFormats

} // namespace corvane
