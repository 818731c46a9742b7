#pragma once

#include "ClipGroup.h"
#include "Theme.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace corvane {

/** @brief Which preview a clip gets. */
enum class PreviewKind { link, color, secret, image, text };

/** A colour clip whose text does not parse falls back to the text preview. */
PreviewKind previewKind(ClipGroup group, const std::optional<QString> &text);
QString previewKindName(PreviewKind kind);

/** @brief What the link preview shows: host ("Link"), path ("/") and the browser URL, if any. */
struct LinkDisplay {
    QString host;
    QString path;
    /** Only http and https; a bare "www." domain is given "https://". */
    std::optional<QUrl> browserUrl;
};
LinkDisplay linkDisplay(const QString &text);

/** "mailto:" + the address when the text (less a leading "mailto:") is one plain address. */
std::optional<QUrl> composeEmailUrl(const QString &text);

/** The first non-blank line as a path, a leading "~" expanded to `home`. */
std::optional<QString> firstFilePath(const QString &text, const QString &home);
/** Every non-blank line as a path, "~" expanded. */
QStringList filePaths(const QString &text, const QString &home);

/** @brief Font and line spacing of the text preview per group. */
struct TextStyle {
    bool monospaced = false;
    qreal pointSize = Theme::bodySize(); ///< subhead for monospaced text
    int lineSpacing = 3;
};
TextStyle textStyle(ClipGroup group);

} // namespace corvane
