#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "QtClipboardService.h"
#include "SiteIconFetcher.h"
#include "SourceIconImageProvider.h"
#include "SystemClock.h"
#include "ThumbnailImageProvider.h"
#include "X11ActiveWindow.h"
#include "XdgDesktopEntries.h"

#include <QNetworkAccessManager>
#include <QQmlEngine>

namespace corvane {

ClipboardStore *ClipboardStore::shared()
{
    static ClipboardStore *store = [] {
        Services services;
        services.settings = AppSettings::shared();
        services.clipboard = new QtClipboardService;
        services.clock = new SystemClock;
        services.desktopEntries = new XdgDesktopEntries;
        services.activeWindow = new X11ActiveWindow(*services.desktopEntries);
        services.databasePath = ClipDatabase::defaultPath();
        services.openInBackground = true;
        auto *fetcher = new SiteIconFetcher(new QNetworkAccessManager);
        services.siteIcons = [fetcher](const QString &host, const QString &scheme,
                                       std::function<void(const QImage &)> done) {
            fetcher->fetchSiteIcon(host, scheme,
                                   [done = std::move(done)](std::optional<QImage> icon) { done(icon.value_or(QImage())); });
        };
        return new ClipboardStore(services);
    }();
    return store;
}

ClipboardStore *ClipboardStore::create(QQmlEngine *, QJSEngine *)
{
    ClipboardStore *store = shared();
    QQmlEngine::setObjectOwnership(store, QQmlEngine::CppOwnership);
    return store;
}

void ClipboardStore::installImageProviders(QQmlEngine *engine)
{
    engine->addImageProvider(QStringLiteral("thumb"), new ThumbnailImageProvider(this));
    engine->addImageProvider(QStringLiteral("source"), new SourceIconImageProvider(m_icons));
}

} // namespace corvane
