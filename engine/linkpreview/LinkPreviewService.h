#pragma once

#include "LinkPreview.h"
#include "PreviewPipeline.h"
#include "ServiceHosts.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class QJSEngine;
class QQmlEngine;

namespace corvane {

struct Clip;
class ClipboardStore;
class Clock;
class DesktopServices;
class HttpClient;
class TimerHandle;

/**
 * @brief Previews of link clips: title, site name, picture and icon, kept in memory and in the
 * history database, fetched at most once at a time per link and not again for 30 s after a
 * failure. Main thread only, except `preview()`, which image providers call from their threads.
 *
 * Views follow `revision`, which moves whenever a preview arrives or a fetch starts or ends; its
 * signal comes once per turn of the event loop.
 */
class LinkPreviewService : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_MOC_INCLUDE("ClipboardStore.h")
    Q_PROPERTY(int revision READ revision NOTIFY revisionChanged)

public:
    static constexpr qint64 retryAfterMs = 30'000;
    static constexpr int maxConcurrentFetches = 4;
    /** How long after the history changed its unused previews are dropped. */
    static constexpr int sweepDelayMs = 2'000;

    struct Services {
        HttpClient *http = nullptr;
        PreviewPipeline::SiteIconFetch siteIcons;
        Clock *clock = nullptr;
        /** Opens links in the browser; nothing is opened without it. */
        DesktopServices *desktop = nullptr;
        ServiceHosts hosts;
    };

    /** The process's service, installed by the application with setShared(); null before. */
    static LinkPreviewService *shared();
    static void setShared(LinkPreviewService *service);
    static LinkPreviewService *create(QQmlEngine *, QJSEngine *);
    /** Adds "image://linkpreview/..." to a QML engine. */
    void installImageProvider(QQmlEngine *engine);

    explicit LinkPreviewService(const Services &services, QObject *parent = nullptr);
    ~LinkPreviewService() override;

    /** Makes sure the clip's preview is present or on its way; safe to call any number of times. */
    void loadPreview(const Clip &clip, ClipboardStore &store);
    Q_INVOKABLE void loadPreview(qint64 clipID, corvane::ClipboardStore *store);

    /** The preview of a key, or nothing. Any thread. */
    std::optional<LinkPreview> preview(const QString &key) const;
    bool isLoading(const QString &key) const { return m_loading.contains(key); }
    /** A fetch of the key failed less than 30 s ago. */
    bool hasFailed(const QString &key) const;
    int revision() const { return m_revision; }
    const ServiceHosts &hosts() const { return m_hosts; }

    /** Records a fetch's outcome: the preview in memory and in the store's database, or the failure. */
    void complete(const QString &key, const std::optional<LinkPreview> &preview, ClipboardStore *store);
    /** Drops the previews, in memory and in the database, of links that no clip of `store` holds. */
    void forgetUnused(ClipboardStore &store);
    /**
     * Follows a store (again is harmless): previews of links it no longer holds are dropped a moment
     * after its history changes, and turning previews off aborts the fetches under way.
     */
    void follow(ClipboardStore &store);

    /** What the link card of a clip shows (see decideLinkCard), for QML. */
    Q_INVOKABLE QVariantMap card(qint64 clipID, corvane::ClipboardStore *store) const;
    /** The icon source and name of a clip that stands for an application; empty map for others. */
    Q_INVOKABLE QVariantMap appCard(qint64 clipID, corvane::ClipboardStore *store) const;
    /** Opens a web address in the browser; anything else is ignored. */
    Q_INVOKABLE void openLink(const QString &url);

signals:
    void revisionChanged();
    void previewChanged(const QString &key);

private:
    struct Pending {
        QString key;
        QUrl url;
        QPointer<ClipboardStore> store;
    };

    void startFetches();
    void scheduleSweep(ClipboardStore &store);
    /** forgetUnused() with the links' keys worked out on a worker; done again if the history moved meanwhile. */
    void sweep(ClipboardStore &store);
    /** Drops the previews, in memory and in the database, whose keys are not in `live`. */
    void forgetAllBut(const QSet<QString> &live, ClipboardStore &store);
    /** Aborts every fetch under way or queued; their results are dropped. */
    void cancelFetches();
    void bump();

    ServiceHosts m_hosts;
    HttpClient *m_http;
    PreviewPipeline::SiteIconFetch m_siteIcons;
    Clock *m_clock;
    DesktopServices *m_desktop;
    mutable QMutex m_mutex; // guards m_previews for image providers
    QHash<QString, LinkPreview> m_previews;
    QSet<QString> m_loading;
    QHash<QString, qint64> m_failedAtMs;
    QList<Pending> m_queue;
    QHash<QString, PreviewPipeline *> m_running;
    QSet<ClipboardStore *> m_watched;
    std::unique_ptr<TimerHandle> m_sweep;
    int m_revision = 0;
    bool m_revisionSignalDue = false;
};

} // namespace corvane
