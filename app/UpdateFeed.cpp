#include "UpdateFeed.h"

#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane {
namespace {

// Builds may come as numbers or as digit strings; anything else is refused.
std::optional<qulonglong> readBuild(const QJsonValue &value)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (d >= 0 && d == double(qulonglong(d)))
            return qulonglong(d);
        return std::nullopt;
    }
    bool ok = false;
    const QString text = value.toString().trimmed();
    const qulonglong build = text.toULongLong(&ok);
    if (!ok || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return build;
}

} // namespace

bool UrlPolicy::allows(const QUrl &url) const
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http") || !allowLoopbackHttp)
        return false;
    const QString host = url.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

FeedResult parseFeed(const QByteArray &json, const UrlPolicy &policy)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return {std::nullopt, QStringLiteral("The release feed is not valid JSON.")};
    const QJsonObject object = document.object();

    Release release;
    release.version = object.value(QStringLiteral("version")).toString().trimmed();
    if (release.version.isEmpty())
        return {std::nullopt, QStringLiteral("The release feed names no version.")};

    const auto build = readBuild(object.value(QStringLiteral("build")));
    if (!build)
        return {std::nullopt, QStringLiteral("The release feed's build is not a number.")};
    release.build = *build;

    release.url = QUrl(object.value(QStringLiteral("url")).toString().trimmed(), QUrl::StrictMode);
    if (!policy.allows(release.url))
        return {std::nullopt, QStringLiteral("The release feed's download address is not an https address.")};

    const QString hex = object.value(QStringLiteral("sha256")).toString().trimmed().toLower();
    const QByteArray digest = QByteArray::fromHex(hex.toLatin1());
    if (hex.size() != 64 || digest.size() != 32 || digest.toHex() != hex.toLatin1())
        return {std::nullopt, QStringLiteral("The release feed's SHA-256 checksum is malformed.")};
    release.sha256 = digest;

    release.notes = object.value(QStringLiteral("notes")).toString();
    return {release, {}};
}

bool isNewerBuild(qulonglong releaseBuild, const QString &currentBuild)
{
    bool ok = false;
    const qulonglong current = currentBuild.trimmed().toULongLong(&ok);
    return releaseBuild > (ok ? current : 1);
}

} // namespace corvane
