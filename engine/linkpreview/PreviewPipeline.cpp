#include "PreviewPipeline.h"

#include "ClipText.h"
#include "ImageTools.h"
#include "PreviewParsing.h"
#include "RunOffThread.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent>

namespace corvane {
namespace {

using namespace LinkPreviewParsing;

ImageDecodeLimits previewImageLimits(int keepSide)
{
    // 8,192 px a side and 64 MB for the decoder: enough for any share image, not for a bomb.
    return ImageDecodeLimits{PreviewPipeline::imageBytes, 8192, 64, keepSide};
}

QByteArray pngAtMost(const QImage &image, int pixels)
{
    if (image.isNull())
        return {};
    const auto small = downscaled(image, pixels);
    return small ? pngData(*small).value_or(QByteArray()) : QByteArray();
}

const QList<BodyRule> jsonRules{{"application/json", PreviewPipeline::jsonBytes, false},
                                {"text/javascript", PreviewPipeline::jsonBytes, false},
                                {"text/json", PreviewPipeline::jsonBytes, false}};
const QList<BodyRule> imageRules{{"image/", PreviewPipeline::imageBytes, false}};

} // namespace

PreviewPipeline::PreviewPipeline(const ServiceHosts &hosts, HttpClient &http, SiteIconFetch siteIcons, QObject *parent)
    : QObject(parent)
    , m_hosts(hosts)
    , m_http(http)
    , m_siteIcons(std::move(siteIcons))
{
}

void PreviewPipeline::run(const QUrl &url, Completion done)
{
    m_done = std::move(done);
    if (const auto id = ClipText::appStoreID(url.toString())) {
        runAppStoreStage(*id);
        return;
    }
    if (const auto request = oEmbedURL(url, m_hosts)) {
        runOEmbedStage(*request, url);
        return;
    }
    // The system link-metadata stage of other platforms has no counterpart here; the page's own
    // metadata serves instead.
    runPageStage(url);
}

void PreviewPipeline::runAppStoreStage(const QString &id)
{
    get(appStoreLookupURL(id, m_hosts), jsonRules, [this](std::optional<HttpResponse> response) {
        const auto info = response ? parseAppStoreLookup(response->body) : std::nullopt;
        if (!info) {
            fail();
            return;
        }
        Found found{nonBlank(info->title), info->siteName, {}, {}};
        if (!info->artwork) {
            finish(found);
            return;
        }
        loadImage(*info->artwork, LinkPreview::iconPixels, [this, found](const QImage &artwork) mutable {
            found.icon = artwork;
            finish(found);
        });
    });
}

void PreviewPipeline::runOEmbedStage(const QUrl &request, const QUrl &page)
{
    get(request, jsonRules, [this, page](std::optional<HttpResponse> response) {
        const auto info = response ? parseOEmbed(response->body, page) : std::nullopt;
        if (!info) {
            runPageStage(page);
            return;
        }
        Found found{nonBlank(info->title), info->siteName, {}, {}};
        const auto settle = [this, page](Found result) {
            if (!result.title && result.image.isNull())
                runPageStage(page);
            else
                finishWithSiteIcon(result, page);
        };
        if (!info->thumbnail) {
            settle(found);
            return;
        }
        loadImage(*info->thumbnail, LinkPreview::imagePixels, [found, settle](const QImage &thumbnail) mutable {
            found.image = thumbnail;
            settle(found);
        });
    });
}

void PreviewPipeline::runPageStage(const QUrl &page)
{
    QList<BodyRule> accept{{"text/html", htmlBytes, true}, {"application/xhtml+xml", htmlBytes, true}};
    accept += imageRules;
    get(page, accept, [this, page](std::optional<HttpResponse> response) {
        if (!response) {
            fail();
            return;
        }
        readPage(page, *response);
    });
}

void PreviewPipeline::readPage(const QUrl &page, const HttpResponse &response)
{
    const QString host = page.host(QUrl::FullyEncoded);
    if (response.mediaType().startsWith("image/")) {
        // A direct link to a picture previews as the picture itself.
        decode(response.body, LinkPreview::imagePixels, [this, page, host](const QImage &image) {
            if (image.isNull())
                fail();
            else
                finishWithSiteIcon(Found{std::nullopt, host, image, {}}, page);
        });
        return;
    }
    const QString html = decodeHtmlBody(response.body, response.contentType);
    Found found;
    found.title = nonBlank(metaContent(QStringLiteral("og:title"), html));
    if (!found.title)
        found.title = nonBlank(firstTagText(QStringLiteral("title"), html));
    found.siteName = metaContent(QStringLiteral("og:site_name"), html).value_or(host);
    const auto imageText = metaContent(QStringLiteral("og:image"), html);
    const QUrl imageURL = imageText ? page.resolved(QUrl(imageText->trimmed())) : QUrl();
    if (!imageText || !imageURL.isValid()) {
        if (found.title)
            finishWithSiteIcon(found, page);
        else
            fail();
        return;
    }
    loadImage(imageURL, LinkPreview::imagePixels, [this, found, page](const QImage &image) mutable {
        found.image = image;
        if (!found.title && image.isNull())
            fail();
        else
            finishWithSiteIcon(found, page);
    });
}

void PreviewPipeline::get(const QUrl &url, QList<BodyRule> accept, BodyDone done)
{
    HttpRequest request{url, userAgent, std::move(accept)};
    m_http.get(request, this, [done](std::optional<HttpResponse> response) {
        // An error or challenge page is no preview; the failure lets the link be tried again later.
        done(response && response->isSuccess() ? response : std::nullopt);
    });
}

void PreviewPipeline::loadImage(const QUrl &url, int keepSide, ImageDone done)
{
    // Pages name their pictures; without this check one could make us read file: or qrc: URLs.
    if (!isFetchableImageURL(url)) {
        QMetaObject::invokeMethod(
            this, [done] { done(QImage()); }, Qt::QueuedConnection);
        return;
    }
    get(url, imageRules, [this, keepSide, done](std::optional<HttpResponse> response) {
        if (!response) {
            done(QImage());
            return;
        }
        decode(response->body, keepSide, done);
    });
}

void PreviewPipeline::decode(const QByteArray &bytes, int keepSide, ImageDone done)
{
    const ImageDecodeLimits limits = previewImageLimits(keepSide);
    runOffThread<QImage>(
        this, [bytes, limits] { return decodeUntrustedImage(bytes, limits).value_or(QImage()); }, done);
}

void PreviewPipeline::finishWithSiteIcon(Found found, const QUrl &page)
{
    if (!m_siteIcons) {
        finish(found);
        return;
    }
    const QString scheme = page.scheme().isEmpty() ? QStringLiteral("https") : page.scheme();
    auto settled = std::make_shared<bool>(false);
    const auto settle = [this, found, settled](const QImage &icon) {
        if (std::exchange(*settled, true))
            return;
        Found withIcon = found;
        withIcon.icon = icon;
        finish(withIcon);
    };
    QTimer::singleShot(m_siteIconDeadlineMs, this, [settle] { settle(QImage()); });
    m_siteIcons(page.host(QUrl::FullyEncoded), scheme, this, settle);
}

void PreviewPipeline::finish(Found found)
{
    const QImage image = found.image;
    const QImage icon = found.icon;
    runOffThread<std::pair<QByteArray, QByteArray>>(
        this,
        [image, icon] { return std::pair(pngAtMost(image, LinkPreview::imagePixels), pngAtMost(icon, LinkPreview::iconPixels)); },
        [this, found](const std::pair<QByteArray, QByteArray> &pictures) {
            finishWith(LinkPreview{found.title, found.siteName, pictures.first, pictures.second});
        });
}

void PreviewPipeline::finishWith(std::optional<LinkPreview> preview)
{
    if (Completion done = std::exchange(m_done, {}))
        done(std::move(preview));
}

} // namespace corvane
