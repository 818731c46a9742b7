#include "SiteIconFetcher.h"

#include "ImageTools.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>

#include <memory>

namespace corvane {
namespace {

bool isWebScheme(const QString &scheme) { return scheme == u"http" || scheme == u"https"; }

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpression pattern(QStringLiteral(R"re((?:^|\s)%1\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re").arg(name),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
    if (!match.hasMatch())
        return {};
    for (int group = 1; group <= 3; ++group) {
        if (match.capturedStart(group) >= 0)
            return match.captured(group);
    }
    return {};
}

} // namespace

std::optional<QUrl> iconLink(const QByteArray &html, const QUrl &pageURL)
{
    static const QRegularExpression linkTag(QStringLiteral(R"(<link\b([^>]*)>)"), QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(html);
    for (auto it = linkTag.globalMatch(text); it.hasNext();) {
        const QString tag = u' ' + it.next().captured(1);
        const QStringList rel = attribute(tag, QStringLiteral("rel")).toLower().split(u' ', Qt::SkipEmptyParts);
        if (!rel.contains(u"icon") && !rel.contains(u"apple-touch-icon"))
            continue;
        QString href = attribute(tag, QStringLiteral("href")).trimmed();
        href.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        if (href.isEmpty())
            continue;
        const QUrl resolved = pageURL.resolved(QUrl(href));
        if (resolved.isValid() && isWebScheme(resolved.scheme()))
            return resolved;
    }
    return std::nullopt;
}

SiteIconFetcher::SiteIconFetcher(QNetworkAccessManager *network, QObject *parent, int port)
    : QObject(parent)
    , m_network(network)
    , m_port(port)
{
}

std::optional<QUrl> SiteIconFetcher::originURL(const QString &host, const QString &scheme)
{
    const QString lowerScheme = scheme.toLower();
    static const QRegularExpression forbidden(QStringLiteral(R"([\s@/:?#\\%])"));
    if (!isWebScheme(lowerScheme) || host.isEmpty() || host.contains(forbidden))
        return std::nullopt;
    QUrl url;
    url.setScheme(lowerScheme);
    url.setHost(host, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

void SiteIconFetcher::fetchSiteIcon(const QString &host, const QString &scheme, Completion done)
{
    std::optional<QUrl> origin = originURL(host, scheme);
    if (!origin) {
        QMetaObject::invokeMethod(
            this, [done] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    if (m_port > 0)
        origin->setPort(m_port);
    QUrl favicon = *origin;
    favicon.setPath(QStringLiteral("/favicon.ico"));
    download(favicon, [this, origin = *origin, done](std::optional<QByteArray> data) {
        if (data) {
            if (auto image = decodeUntrustedImage(*data)) {
                done(image);
                return;
            }
        }
        fetchFromPage(origin, done);
    });
}

void SiteIconFetcher::fetchFromPage(const QUrl &origin, Completion done)
{
    QUrl page = origin;
    page.setPath(QStringLiteral("/"));
    download(page, [this, page, done](std::optional<QByteArray> html) {
        const std::optional<QUrl> link = html ? iconLink(*html, page) : std::nullopt;
        if (!link) {
            done(std::nullopt);
            return;
        }
        download(*link, [done](std::optional<QByteArray> data) { done(data ? decodeUntrustedImage(*data) : std::nullopt); });
    });
}

void SiteIconFetcher::download(const QUrl &url, std::function<void(std::optional<QByteArray>)> done)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Corvane"));
    QNetworkReply *reply = m_network->get(request);
    auto body = std::make_shared<QByteArray>();
    auto tooLarge = std::make_shared<bool>(false);
    const auto take = [reply, body, tooLarge] {
        body->append(reply->readAll());
        if (body->size() > maxDownloadBytes && !*tooLarge) {
            *tooLarge = true;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, tooLarge] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxDownloadBytes && !*tooLarge) {
            *tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, take);
    connect(reply, &QNetworkReply::finished, this, [reply, body, tooLarge, take, done] {
        reply->deleteLater();
        if (!*tooLarge && reply->error() == QNetworkReply::NoError)
            take();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (*tooLarge || reply->error() != QNetworkReply::NoError || status < 200 || status >= 300) {
            done(std::nullopt);
            return;
        }
        done(*body);
    });
}

} // namespace corvane
