#pragma once

#include "HttpClient.h"
#include "LinkPreview.h"
#include "ServiceHosts.h"

#include <QImage>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief One fetch of a link's preview: the App Store lookup (final for App Store links), then a
 * video site's oEmbed, then the page's own metadata. Destroying the pipeline aborts it.
 *
 * Downloads are capped (pages 400,000 bytes, JSON 1 MiB, images 8 MiB) and only 2xx answers
 * count. Images are decoded, scaled and encoded on worker threads.
 */
class PreviewPipeline : public QObject
{
    Q_OBJECT

public:
    /** Fetches a site's icon; `done` gets a null image on failure and never runs once `context` is gone. */
    using SiteIconFetch = std::function<void(const QString &host, const QString &scheme, QObject *context,
                                             std::function<void(const QImage &)> done)>;
    using Completion = std::function<void(std::optional<LinkPreview>)>;

    static constexpr qint64 htmlBytes = 400'000;
    static constexpr qint64 jsonBytes = 1024 * 1024;
    static constexpr qint64 imageBytes = 8 * 1024 * 1024;
    /** A site icon that has not come by then is left out, so a slow icon cannot hold the preview. */
    static constexpr int siteIconDeadlineMs = 20'000;
    static constexpr char userAgent[]
        = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 (KHTML, like Gecko) "
          "Version/18.0 Safari/605.1.15";

    PreviewPipeline(const ServiceHosts &hosts, HttpClient &http, SiteIconFetch siteIcons, QObject *parent = nullptr);

    void setSiteIconDeadline(int ms) { m_siteIconDeadlineMs = ms; }

    /** Runs the stages for `url`; `done` runs once, later, on this thread. */
    void run(const QUrl &url, Completion done);

private:
    struct Found {
        std::optional<QString> title;
        std::optional<QString> siteName;
        QImage image;
        QImage icon;
    };
    using ImageDone = std::function<void(const QImage &)>;
    using BodyDone = std::function<void(std::optional<HttpResponse>)>;

    void runAppStoreStage(const QString &id);
    void runOEmbedStage(const QUrl &request, const QUrl &page);
    void runPageStage(const QUrl &page);
    void readPage(const QUrl &page, const HttpResponse &response);
    void get(const QUrl &url, QList<BodyRule> accept, BodyDone done);
    void loadImage(const QUrl &url, int keepSide, ImageDone done);
    void decode(const QByteArray &bytes, int keepSide, ImageDone done);
    /** Adds the site's icon, then finishes. */
    void finishWithSiteIcon(Found found, const QUrl &page);
    /** Scales and encodes the pictures off the main thread, then reports. */
    void finish(Found found);
    void fail() { finishWith(std::nullopt); }
    void finishWith(std::optional<LinkPreview> preview);

    ServiceHosts m_hosts;
    HttpClient &m_http;
    SiteIconFetch m_siteIcons;
    Completion m_done;
    int m_siteIconDeadlineMs = siteIconDeadlineMs;
};

} // namespace corvane
