#pragma once

#include <QString>
#include <QUrl>

namespace corvane {

/** @brief Scheme, host and port of one web service; tests point it at a loopback server. */
struct ServiceEndpoint {
    QString scheme = QStringLiteral("https");
    QString host;
    int port = -1;

    /** The endpoint's URL with `path` and an already encoded `query`. */
    QUrl url(const QString &path, const QString &query = {}) const
    {
        QUrl result;
        result.setScheme(scheme);
        result.setHost(host);
        result.setPort(port);
        result.setPath(path);
        if (!query.isEmpty())
            result.setQuery(query, QUrl::StrictMode);
        return result;
    }
};

/**
 * @brief The web services link previews and detail actions talk to. The defaults are the real
 * ones; nothing reads them from the environment or a file.
 */
struct ServiceHosts {
    ServiceEndpoint appStoreLookup{QStringLiteral("https"), QStringLiteral("itunes.apple.com")};
    ServiceEndpoint appStoreWeb{QStringLiteral("https"), QStringLiteral("apps.apple.com")};
    /** The first video site: its main domain, its short-link host and its main web host. */
    QString videoDomain = QStringLiteral("youtube.com");
    QString videoShortHost = QStringLiteral("youtu.be");
    ServiceEndpoint videoWeb{QStringLiteral("https"), QStringLiteral("www.youtube.com")};
    /** The second video site: its domain, which also answers its oEmbed requests. */
    QString secondVideoDomain = QStringLiteral("vimeo.com");
    ServiceEndpoint secondVideoWeb{QStringLiteral("https"), QStringLiteral("vimeo.com")};
    /** "Track Flight" opens <flightTracking>/live/flight/<airline number>. */
    ServiceEndpoint flightTracking{QStringLiteral("https"), QStringLiteral("www.flightaware.com")};
    /** "Open in Maps" without a geo: handler opens <webMaps>/search?query=<address>. */
    ServiceEndpoint webMaps{QStringLiteral("https"), QStringLiteral("www.openstreetmap.org")};
};

} // namespace corvane
