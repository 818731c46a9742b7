#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

namespace corvane {

/**
 * @brief Fetches a website's icon: "/favicon.ico", else the icon link of its front page.
 *
 * Only http and https, only a bare host (no user info, port or path), at most 1 MB per
 * download, 10 s per request, decoded within fixed limits. Never reports an error: a failure
 * gives nothing. Callers fetch only while internet previews are enabled.
 */
class SiteIconFetcher : public QObject
{
    Q_OBJECT

public:
    using Completion = std::function<void(std::optional<QImage>)>;

    static constexpr qint64 maxDownloadBytes = 1024 * 1024;
    static constexpr int timeoutMs = 10'000;

    /** `port` replaces the scheme's port when set; for tests against a local server. */
    explicit SiteIconFetcher(QNetworkAccessManager *network, QObject *parent = nullptr, int port = -1);

    /** Asynchronous; `done` runs once on this object's thread. */
    void fetchSiteIcon(const QString &host, const QString &scheme, Completion done);

    /** The origin URL for an untrusted host and scheme, or nothing when either is unacceptable. */
    static std::optional<QUrl> originURL(const QString &host, const QString &scheme);

private:
    void download(const QUrl &url, std::function<void(std::optional<QByteArray>)> done);
    void fetchFromPage(const QUrl &origin, Completion done);

    QNetworkAccessManager *m_network;
    int m_port;
};

/** The first icon link ("icon", "shortcut icon", "apple-touch-icon") of an HTML page, resolved. */
std::optional<QUrl> iconLink(const QByteArray &html, const QUrl &pageURL);

} // namespace corvane
