#pragma once

#include "ServiceHosts.h"

#include <QImage>
#include <QString>
#include <QUrl>

#include <optional>

namespace corvane {

struct Clip;
class LinkPreviewService;

/** @brief What a link clip's card shows. */
struct LinkCardState {
    enum class Kind { none, loading, preview, appCard };

    Kind kind = Kind::none;
    QString key;
    /** The app card's name or the preview's title (the link itself when there is none). */
    QString title;
    /** The app card's subtitle or the preview's site name ("" when there is none). */
    QString siteName;
    bool hasImage = false;
    bool hasIcon = false;
    /** The picture gets a play symbol. */
    bool isVideo = false;
    /** Where the card's action goes: the App Store page or the link. */
    std::optional<QUrl> openURL;
};

/** An app card for App Store links with a preview, else the preview, else loading, else nothing. */
LinkCardState decideLinkCard(const Clip &clip, const LinkPreviewService &service);

/** @brief How a clip that stands for an application is shown; either part may be missing. */
struct AppCardInfo {
    /** "image://linkpreview/..." of the icon, or nothing. */
    std::optional<QString> iconSource;
    std::optional<QString> name;
    bool operator==(const AppCardInfo &) const = default;
};

/**
 * The icon and name of an application file clip, or of an App Store link (both missing while its
 * preview has not arrived); nothing for other clips.
 */
std::optional<AppCardInfo> appCardInfo(const Clip &clip, const LinkPreviewService &service);

/** An application file's display name (a desktop entry's Name) with every ".app" removed. */
QString appDisplayName(const QString &path);
/** The icon of an application file at `size` pixels, or a null image. Main thread. */
QImage appFileIcon(const QString &path, int size);

/** The App Store web page of an app id (there is no store app to hand it to here). */
std::optional<QUrl> appStoreOpenURL(const QString &id, const ServiceHosts &hosts);
/** The key as a web address to open, or nothing when it does not parse as one. */
std::optional<QUrl> previewOpenURL(const QString &key);

} // namespace corvane
