#include "LinkPreviewImageProvider.h"
#include "LinkPreviewService.h"
#include "LinuxDesktopServices.h"
#include "NetworkHttpClient.h"
#include "SiteIconFetcher.h"
#include "SystemClock.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QQmlEngine>

namespace corvane {

LinkPreviewService *LinkPreviewService::shared()
{
    static LinkPreviewService *service = [] {
        // One network access manager for every preview request, icons included.
        auto *network = new QNetworkAccessManager;
        auto *icons = new SiteIconFetcher(network);
        Services services;
        services.http = new NetworkHttpClient(network);
        services.clock = new SystemClock;
        services.desktop = new LinuxDesktopServices;
        services.siteIcons = [icons](const QString &host, const QString &scheme, QObject *context,
                                     std::function<void(const QImage &)> done) {
            icons->fetchSiteIcon(host, scheme, [context = QPointer<QObject>(context), done](std::optional<QImage> icon) {
                if (context)
                    done(icon.value_or(QImage()));
            });
        };
        return new LinkPreviewService(services);
    }();
    return service;
}

LinkPreviewService *LinkPreviewService::create(QQmlEngine *, QJSEngine *)
{
    LinkPreviewService *service = shared();
    QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
    return service;
}

void LinkPreviewService::installImageProvider(QQmlEngine *engine)
{
    if (!engine->imageProvider(QStringLiteral("linkpreview")))
        engine->addImageProvider(QStringLiteral("linkpreview"), new LinkPreviewImageProvider(this));
}

} // namespace corvane
