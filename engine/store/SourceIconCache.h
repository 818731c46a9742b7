#pragma once

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>

namespace corvane {

class Clock;
class ClipDatabase;

/**
 * @brief Source icons by source key: app icons from desktop entries, website icons from the web.
 *
 * A miss starts one load and answers nothing; views ask again when `revision` moves. Keys being
 * loaded are not loaded twice, and a key that gave nothing is not tried again for an hour, so a
 * view that redraws often cannot start a stream of requests.
 */
class SourceIconCache : public QObject
{
    Q_OBJECT

public:
    /** The icon of an installed app, or a null image. Main thread. */
    using AppIconLoader = std::function<QImage(const QString &bundleID)>;
    /** Fetches a website's icon and calls back on the main thread, with a null image on failure. */
    using SiteIconFetcher
        = std::function<void(const QString &host, const QString &scheme, std::function<void(const QImage &)> done)>;

    static constexpr std::int64_t retryAfterMs = 60LL * 60 * 1000;
    static constexpr int iconPixelSize = 64;

    SourceIconCache(Clock &clock, AppIconLoader appIcons, SiteIconFetcher siteIcons, QObject *parent = nullptr);

    /** Website icons are looked up in and saved to the database's icon table when one is set. */
    void setDatabase(ClipDatabase *database) { m_database = database; }
    /** Whether website icons may be fetched (the internet-previews setting). */
    void setWebAllowed(bool allowed);
    /** The scheme to fetch a host's icon with ("http" or "https"); "https" when unset. */
    void setSchemeLookup(std::function<QString(const QString &host)> lookup) { m_schemeFor = std::move(lookup); }

    /** The cached icon; on a miss starts loading it and returns a null image. Main thread. */
    QImage icon(const QString &key);
    /** The cached icon without loading anything. Any thread. */
    QImage cached(const QString &key) const;
    int revision() const { return m_revision; }
    bool isLoading(const QString &key) const { return m_inFlight.contains(key); }

    /** The host of a "web:" key when it is a plain host name fit to fetch from, else empty. */
    static QString fetchableHost(const QString &key);

signals:
    /** An icon arrived; `revision` has moved. */
    void iconArrived(const QString &key);

private:
    void load(const QString &key);
    void saveFetched(const QString &key, const QImage &image);
    void finish(const QString &key, const QImage &icon);
    bool recentlyFailed(const QString &key) const;

    Clock &m_clock;
    AppIconLoader m_appIcons;
    SiteIconFetcher m_siteIcons;
    ClipDatabase *m_database = nullptr;
    std::function<QString(const QString &)> m_schemeFor;
    bool m_webAllowed = true;
    mutable QMutex m_mutex; // guards m_icons, read by image providers off the main thread
    QHash<QString, QImage> m_icons;
    QSet<QString> m_inFlight;
    QHash<QString, std::int64_t> m_failedAtMs;
    int m_revision = 0;
};

} // namespace corvane
