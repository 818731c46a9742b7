#include "PreviewRules.h"

#include "ColorParser.h"
#include "DragPlan.h"

#include <QRegularExpression>

namespace corvane {

PreviewKind previewKind(ClipGroup group, const std::optional<QString> &text)
{
    switch (group) {
    case ClipGroup::link:
        return PreviewKind::link;
    case ClipGroup::color:
        return text && ColorParser::parse(*text) ? PreviewKind::color : PreviewKind::text;
    case ClipGroup::secret:
        return PreviewKind::secret;
    case ClipGroup::image:
        return PreviewKind::image;
    default:
        return PreviewKind::text;
    }
}

QString previewKindName(PreviewKind kind)
{
    switch (kind) {
    case PreviewKind::link:
        return QStringLiteral("link");
    case PreviewKind::color:
        return QStringLiteral("color");
    case PreviewKind::secret:
        return QStringLiteral("secret");
    case PreviewKind::image:
        return QStringLiteral("image");
    case PreviewKind::text:
        break;
    }
    return QStringLiteral("text");
}

LinkDisplay linkDisplay(const QString &text)
{
    const QString trimmed = text.trimmed();
    QUrl url(trimmed, QUrl::StrictMode);
    // Copied text is untrusted: only web addresses go to the browser, never file: or custom schemes.
    if (url.isValid() && url.scheme().isEmpty() && trimmed.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        url = QUrl(QStringLiteral("https://") + trimmed, QUrl::StrictMode);
    LinkDisplay display;
    const bool parsed = !trimmed.isEmpty() && url.isValid();
    const QString host = parsed ? url.host(QUrl::FullyEncoded) : QString();
    const QString path = parsed ? url.path(QUrl::FullyEncoded) : QString();
    display.host = host.isEmpty() ? QStringLiteral("Link") : host;
    display.path = path.isEmpty() ? QStringLiteral("/") : path;
    const QString scheme = url.scheme().toLower();
    if (parsed && !host.isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        display.browserUrl = url;
    return display;
}

std::optional<QUrl> composeEmailUrl(const QString &text)
{
    QString address = text;
    if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        address.remove(0, 7);
    address = address.trimmed();
    // One plain address and nothing else: "?", "&", "%" or blanks would smuggle header fields such as
    // attach= into the draft.
    static const QRegularExpression plainAddress(QStringLiteral(
        R"(^[\p{L}\p{N}.!#$'*+=^_`{|}~-]+@[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?(?:\.[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?)*$)"));
    if (!plainAddress.match(address).hasMatch())
        return std::nullopt;
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QStringList filePaths(const QString &text, const QString &home)
{
    QStringList paths;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString path = line.trimmed();
        if (!path.isEmpty())
            paths << expandTilde(path, home);
    }
    return paths;
}

std::optional<QString> firstFilePath(const QString &text, const QString &home)
{
    const QStringList paths = filePaths(text, home);
    return paths.isEmpty() ? std::nullopt : std::optional(paths.first());
}

TextStyle textStyle(ClipGroup group)
{
    TextStyle style;
    style.monospaced = ClipGroups::isCodeLike(group);
    style.pointSize = style.monospaced ? Theme::subheadSize() : Theme::bodySize();
    style.lineSpacing = group == ClipGroup::code ? 2 : 3;
    return style;
}

} // namespace corvane
