#pragma once

#include "ServiceHosts.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

namespace corvane {

struct Clip;

/** @brief The pure parts of link previews: keys, fetch URLs, and reading what services answer. */
namespace LinkPreviewParsing {

/** What an App Store lookup answered: a title, the site name and where the artwork is. */
struct AppStoreInfo {
    std::optional<QString> title;
    QString siteName;
    std::optional<QUrl> artwork;
};

/** What an oEmbed endpoint answered; the thumbnail still has to load. */
struct OEmbedInfo {
    std::optional<QString> title;
    QString siteName;
    std::optional<QUrl> thumbnail;
};

/** The clip's text trimmed of white space and line breaks; empty without text. */
QString previewKey(const Clip &clip);

/**
 * The URL to fetch a key's preview from: the App Store web page for App Store links, else the key
 * itself when it is a strict http or https URL with a host. Nothing for links that carry user info
 * or credential-like query parameters: fetching those could sign in or use up a one-time link.
 */
std::optional<QUrl> previewURL(QStringView key, const ServiceHosts &hosts);

/** The App Store lookup request for an app id. */
QUrl appStoreLookupURL(const QString &id, const ServiceHosts &hosts);

/** The oEmbed request for a page of one of the two video sites, else nothing. */
std::optional<QUrl> oEmbedURL(const QUrl &page, const ServiceHosts &hosts);

/** Whether the key is a video page of one of the two video sites. */
bool isVideoLink(QStringView key, const ServiceHosts &hosts);

/** Whether an image may be fetched from `url`: http or https, a host, and no user info. */
bool isFetchableImageURL(const QUrl &url);

std::optional<AppStoreInfo> parseAppStoreLookup(const QByteArray &json);
std::optional<OEmbedInfo> parseOEmbed(const QByteArray &json, const QUrl &page);

/**
 * A page body as text: the declared charset (header or meta tag) when Qt knows it, else UTF-8
 * without an incomplete trailing sequence, else Latin-1.
 */
QString decodeHtmlBody(const QByteArray &body, const QByteArray &contentType);

/** The content of a meta tag by property or name, entity-decoded and untrimmed; nothing when empty. */
std::optional<QString> metaContent(const QString &key, const QString &html);
/** The text of the first `tag` element (1 to 300 characters, no markup), trimmed and decoded. */
std::optional<QString> firstTagText(const QString &tag, const QString &html);
/** The six entities "&amp;" (first), "&quot;", "&#39;", "&#x27;", "&lt;" and "&gt;". */
QString decodeHTMLEntities(QString text);

/** A text trimmed, or nothing when it was absent or blank. */
std::optional<QString> nonBlank(const std::optional<QString> &text);

} // namespace LinkPreviewParsing

} // namespace corvane
