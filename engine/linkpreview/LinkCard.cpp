#include "LinkCard.h"

#include "Clip.h"
#include "ClipText.h"
#include "DesktopEntryParser.h"
#include "ImageTools.h"
#include "LinkPreviewService.h"
#include "PreviewParsing.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QMimeDatabase>

namespace corvane {
namespace {

std::optional<DesktopEntry> desktopEntryAt(const QString &path)
{
    if (!path.endsWith(u".desktop"))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DesktopEntryParser::parse(file.read(256 * 1024), QFileInfo(path).completeBaseName(), QLocale().name());
}

QString providerSource(const QString &kind, const QString &value, int revision = -1)
{
    QString source = QStringLiteral("image://linkpreview/") + QString::fromLatin1(QUrl::toPercentEncoding(value)) + u'/' + kind;
    if (revision >= 0)
        source += QStringLiteral("?r=") + QString::number(revision);
    return source;
}

} // namespace

LinkCardState decideLinkCard(const Clip &clip, const LinkPreviewService &service)
{
    LinkCardState state;
    state.key = LinkPreviewParsing::previewKey(clip);
    const auto preview = service.preview(state.key);
    const std::optional<QString> text = clip.text();
    const auto storeID = text ? ClipText::appStoreID(*text) : std::nullopt;
    if (clip.group == ClipGroup::link && storeID && preview) {
        state.kind = LinkCardState::Kind::appCard;
        state.title = preview->title.value_or(QStringLiteral("App"));
        state.siteName = preview->siteName.value_or(QStringLiteral("App Store"));
        state.hasIcon = preview->hasIcon();
        state.openURL = appStoreOpenURL(*storeID, service.hosts());
    } else if (preview) {
        state.kind = LinkCardState::Kind::preview;
        state.title = preview->title.value_or(state.key);
        state.siteName = preview->siteName.value_or(QString());
        state.hasImage = preview->hasImage();
        state.hasIcon = preview->hasIcon();
        state.isVideo = state.hasImage && LinkPreviewParsing::isVideoLink(state.key, service.hosts());
        state.openURL = previewOpenURL(state.key);
    } else if (service.isLoading(state.key)) {
        state.kind = LinkCardState::Kind::loading;
    }
    return state;
}

std::optional<AppCardInfo> appCardInfo(const Clip &clip, const LinkPreviewService &service)
{
    if (const auto path = clip.appBundlePath())
        return AppCardInfo{providerSource(QStringLiteral("app"), *path), appDisplayName(*path)};
    if (clip.group != ClipGroup::link || !ClipText::appStoreID(clip.text().value_or(QString())))
        return std::nullopt;
    const QString key = LinkPreviewParsing::previewKey(clip);
    const auto preview = service.preview(key);
    if (!preview)
        return AppCardInfo{};
    AppCardInfo info;
    if (preview->hasIcon())
        info.iconSource = providerSource(QStringLiteral("icon"), key, service.revision());
    info.name = preview->title;
    return info;
}

QString appDisplayName(const QString &path)
{
    QString name;
    if (const auto entry = desktopEntryAt(path))
        name = entry->name;
    if (name.isEmpty()) {
        QString trimmed = path;
        while (trimmed.endsWith(u'/'))
            trimmed.chop(1);
        name = QFileInfo(trimmed).fileName();
        if (name.endsWith(u".desktop"))
            name.chop(int(qstrlen(".desktop")));
    }
    return name.remove(QStringLiteral(".app"));
}

QImage appFileIcon(const QString &path, int size)
{
    QIcon icon;
    if (const auto entry = desktopEntryAt(path)) {
        if (QFileInfo(entry->icon).isAbsolute()) {
            QFile file(entry->icon);
            if (file.open(QIODevice::ReadOnly))
                return decodeUntrustedImage(file.read(1024 * 1024 + 1)).value_or(QImage());
            return {};
        }
        icon = QIcon::fromTheme(entry->icon);
    }
    if (icon.isNull()) {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
        icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    }
    return icon.isNull() ? QImage() : icon.pixmap(size, size).toImage();
}

std::optional<QUrl> appStoreOpenURL(const QString &id, const ServiceHosts &hosts)
{
    const QUrl url = hosts.appStoreWeb.url(QStringLiteral("/app/id") + id);
    return url.isValid() ? std::optional<QUrl>(url) : std::nullopt;
}

std::optional<QUrl> previewOpenURL(const QString &key)
{
    const QUrl url(key, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace corvane
