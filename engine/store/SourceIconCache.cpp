#include "SourceIconCache.h"
#include "Logging.h"

#include "ClipDatabase.h"
#include "Clock.h"
#include "ImageTools.h"

#include <QDebug>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace corvane {

namespace {

const QString webPrefix = QStringLiteral("web:");

} // namespace

SourceIconCache::SourceIconCache(Clock &clock, AppIconLoader appIcons, SiteIconFetcher siteIcons, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_appIcons(std::move(appIcons))
    , m_siteIcons(std::move(siteIcons))
{
}

void SourceIconCache::setWebAllowed(bool allowed)
{
    if (allowed == m_webAllowed)
        return;
    m_webAllowed = allowed;
    if (allowed) {
        // Keys that failed only because fetching was off deserve a try now.
        for (auto it = m_failedAtMs.begin(); it != m_failedAtMs.end();)
            it = it.key().startsWith(webPrefix) ? m_failedAtMs.erase(it) : std::next(it);
    }
}

QString SourceIconCache::fetchableHost(const QString &key)
{
    if (!key.startsWith(webPrefix))
        return {};
    const QString host = key.mid(webPrefix.size());
    if (host.isEmpty() || host.size() > 253)
        return {};
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.host() != host.toLower() || !url.userInfo().isEmpty())
        return {};
    return url.host();
}

QImage SourceIconCache::cached(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_icons.value(key);
}

QImage SourceIconCache::icon(const QString &key)
{
    if (key.isEmpty())
        return {};
    if (QImage hit = cached(key); !hit.isNull())
        return hit;
    if (m_inFlight.contains(key) || recentlyFailed(key))
        return {};
    m_inFlight.insert(key);
    // Loaded after the caller's redraw, so a view reading icons never changes state mid-binding.
    QTimer::singleShot(0, this, [this, key] { load(key); });
    return {};
}

bool SourceIconCache::recentlyFailed(const QString &key) const
{
    auto it = m_failedAtMs.constFind(key);
    return it != m_failedAtMs.constEnd() && m_clock.now().toMSecsSinceEpoch() - *it < retryAfterMs;
}

void SourceIconCache::load(const QString &key)
{
    if (!key.startsWith(webPrefix)) {
        finish(key, m_appIcons ? m_appIcons(key) : QImage());
        return;
    }
    if (m_database) {
        try {
            if (auto stored = m_database->sourceIcon(key)) {
                QImage image;
                if (image.loadFromData(stored->png)) {
                    finish(key, image);
                    return;
                }
            }
        } catch (const std::exception &error) {
            qCWarning(logDb).noquote() << "Corvane: reading a source icon failed:" << error.what();
        }
    }
    const QString host = fetchableHost(key);
    if (!m_webAllowed || host.isEmpty() || !m_siteIcons) {
        finish(key, {});
        return;
    }
    QString scheme = m_schemeFor ? m_schemeFor(host) : QString();
    if (scheme != QLatin1String("http"))
        scheme = QStringLiteral("https");
    m_siteIcons(host, scheme, [self = QPointer<SourceIconCache>(this), key](const QImage &image) {
        if (!self)
            return;
        self->saveFetched(key, image);
    });
}

void SourceIconCache::saveFetched(const QString &key, const QImage &image)
{
    if (!image.isNull() && m_database) {
        try {
            if (auto png = pngData(image))
                m_database->saveSourceIcon(key, *png);
        } catch (const std::exception &error) {
            qCWarning(logDb).noquote() << "Corvane: saving a source icon failed:" << error.what();
        }
    }
    finish(key, image);
}

void SourceIconCache::finish(const QString &key, const QImage &icon)
{
    m_inFlight.remove(key);
    if (icon.isNull()) {
        m_failedAtMs.insert(key, m_clock.now().toMSecsSinceEpoch());
        return;
    }
    m_failedAtMs.remove(key);
    {
        QMutexLocker lock(&m_mutex);
        m_icons.insert(key, icon);
    }
    ++m_revision;
    emit iconArrived(key);
}

} // namespace corvane
