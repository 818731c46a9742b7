#include "PreviewParsing.h"

#include "Clip.h"
#include "ClipText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrlQuery>

namespace corvane::LinkPreviewParsing {
namespace {

// Query parameter words that mark sign-in, reset and pre-signed links.
bool isCredentialWord(QStringView word)
{
    static const QStringList words{QStringLiteral("token"),    QStringLiteral("code"),      QStringLiteral("key"),
                                   QStringLiteral("sig"),      QStringLiteral("signature"), QStringLiteral("auth"),
                                   QStringLiteral("password"), QStringLiteral("reset"),     QStringLiteral("otp"),
                                   QStringLiteral("session"),  QStringLiteral("magic")};
    return words.contains(word.toString());
}

bool hasCredentialParameter(const QUrl &url)
{
    static const QRegularExpression separators(QStringLiteral("[^a-z0-9]+"));
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto &item : items) {
        for (const QString &word : item.first.toLower().split(separators, Qt::SkipEmptyParts)) {
            if (isCredentialWord(word))
                return true;
        }
    }
    return false;
}

bool hostIs(const QString &host, const QString &domain) { return host == domain || host.endsWith(u'.' + domain); }

std::optional<QJsonObject> jsonObject(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<QString> stringValue(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

std::optional<QUrl> parsedURL(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    const QUrl url(*text);
    return url.isValid() && !url.isEmpty() ? std::optional<QUrl>(url) : std::nullopt;
}

QByteArray declaredCharset(const QByteArray &body, const QByteArray &contentType)
{
    static const QRegularExpression inHeader(QStringLiteral(R"(charset\s*=\s*["']?([A-Za-z0-9._:-]+))"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inMeta(QStringLiteral(R"(<meta[^>]+charset\s*=\s*["']?([A-Za-z0-9._:-]+))"),
                                           QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = inHeader.match(QString::fromLatin1(contentType));
    if (!match.hasMatch())
        match = inMeta.match(QString::fromLatin1(body.left(4096)));
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

// Bytes of a UTF-8 sequence cut off at the end of `bytes`: 0 when the last sequence is whole.
qsizetype incompleteTail(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

QString previewKey(const Clip &clip) { return clip.text().value_or(QString()).trimmed(); }

std::optional<QUrl> previewURL(QStringView key, const ServiceHosts &hosts)
{
    if (const auto id = ClipText::appStoreID(key))
        return hosts.appStoreWeb.url(QStringLiteral("/app/id") + *id);
    // QUrl lower-cases the scheme, so the raw text decides: "HTTP://" and "httpx:" do not pass.
    if (!key.startsWith(u"http://") && !key.startsWith(u"https://"))
        return std::nullopt;
    const QUrl url(key.toString(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || hasCredentialParameter(url))
        return std::nullopt;
    return url;
}

QUrl appStoreLookupURL(const QString &id, const ServiceHosts &hosts)
{
    return hosts.appStoreLookup.url(QStringLiteral("/lookup"), QStringLiteral("id=") + id);
}

std::optional<QUrl> oEmbedURL(const QUrl &page, const ServiceHosts &hosts)
{
    const QString host = page.host(QUrl::FullyEncoded).toLower();
    // Only letters and digits stay as they are; Qt would leave "-._~" unescaped without the include set.
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(page.toString(QUrl::FullyEncoded), {}, "-._~"));
    QUrl request;
    if (hostIs(host, hosts.videoDomain) || host == hosts.videoShortHost)
        request = hosts.videoWeb.url(QStringLiteral("/oembed"), QStringLiteral("format=json&url=") + encoded);
    else if (hostIs(host, hosts.secondVideoDomain))
        request = hosts.secondVideoWeb.url(QStringLiteral("/api/oembed.json"), QStringLiteral("url=") + encoded);
    return request.isValid() && !request.isEmpty() ? std::optional<QUrl>(request) : std::nullopt;
}

bool isVideoLink(QStringView key, const ServiceHosts &hosts)
{
    const QString lower = key.toString().toLower();
    return lower.contains(hosts.videoDomain + QStringLiteral("/watch")) || lower.contains(hosts.videoShortHost + u'/')
        || lower.contains(hosts.secondVideoDomain + u'/');
}

bool isFetchableImageURL(const QUrl &url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") && !url.host().isEmpty()
        && url.userInfo().isEmpty();
}

std::optional<AppStoreInfo> parseAppStoreLookup(const QByteArray &json)
{
    const auto top = jsonObject(json);
    if (!top)
        return std::nullopt;
    const QJsonValue results = top->value(QStringLiteral("results"));
    if (!results.isArray() || results.toArray().isEmpty())
        return std::nullopt;
    for (const QJsonValue &element : results.toArray()) {
        if (!element.isObject())
            return std::nullopt;
    }
    const QJsonObject first = results.toArray().first().toObject();
    AppStoreInfo info;
    info.title = stringValue(first, QStringLiteral("trackName"));
    auto seller = stringValue(first, QStringLiteral("sellerName"));
    if (!seller)
        seller = stringValue(first, QStringLiteral("artistName"));
    info.siteName = QStringLiteral("App Store");
    if (seller)
        info.siteName += QStringLiteral(" · ") + *seller;
    const QString artworkKey
        = first.contains(QStringLiteral("artworkUrl512")) ? QStringLiteral("artworkUrl512") : QStringLiteral("artworkUrl100");
    info.artwork = parsedURL(stringValue(first, artworkKey));
    return info;
}

std::optional<OEmbedInfo> parseOEmbed(const QByteArray &json, const QUrl &page)
{
    const auto top = jsonObject(json);
    if (!top)
        return std::nullopt;
    OEmbedInfo info;
    info.title = stringValue(*top, QStringLiteral("title"));
    info.siteName = stringValue(*top, QStringLiteral("provider_name")).value_or(page.host(QUrl::FullyEncoded));
    info.thumbnail = parsedURL(stringValue(*top, QStringLiteral("thumbnail_url")));
    return info;
}

QString decodeHtmlBody(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray charset = declaredCharset(body, contentType);
    if (!charset.isEmpty() && charset != "utf-8" && charset != "utf8") {
        QStringDecoder declared(charset.constData());
        if (declared.isValid())
            return declared.decode(body);
    }
    const QByteArrayView whole = QByteArrayView(body).chopped(incompleteTail(body));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(whole);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(body);
}

std::optional<QString> metaContent(const QString &key, const QString &html)
{
    // A quoted value may hold the other kind of quote ("Don't miss").
    const QString property = QStringLiteral(R"re((?:property|name)=(?:"%1"|'%1'))re").arg(key);
    const QString content = QStringLiteral(R"re(content=(?:"([^"]*)"|'([^']*)'))re");
    const QString patterns[] = {QStringLiteral("<meta[^>]+") + property + QStringLiteral("[^>]*") + content,
                                QStringLiteral("<meta[^>]+") + content + QStringLiteral("[^>]*") + property};
    for (const QString &pattern : patterns) {
        const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
        if (!expression.isValid())
            continue;
        const QRegularExpressionMatch match = expression.match(html);
        if (!match.hasMatch())
            continue;
        const QString value = match.capturedStart(1) >= 0 ? match.captured(1) : match.captured(2);
        return value.isEmpty() ? std::nullopt : std::optional<QString>(decodeHTMLEntities(value));
    }
    return std::nullopt;
}

std::optional<QString> firstTagText(const QString &tag, const QString &html)
{
    const QRegularExpression expression(QStringLiteral("<%1[^>]*>([^<]{1,300})</%1>").arg(tag),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = expression.match(html);
    if (!match.hasMatch())
        return std::nullopt;
    return decodeHTMLEntities(match.captured(1).trimmed());
}

QString decodeHTMLEntities(QString text)
{
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
        .replace(QStringLiteral("&#x27;"), QStringLiteral("'"))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
}

std::optional<QString> nonBlank(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
}

} // namespace corvane::LinkPreviewParsing
