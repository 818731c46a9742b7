#include "LinuxPlatform.h"
#include "Logging.h"

#include "ClipDatabase.h"
#include "LinuxDesktopServices.h"
#include "NetworkHttpClient.h"
#include "QtClipboardService.h"
#include "SiteIconFetcher.h"
#include "SystemClock.h"
#include "X11ActiveWindow.h"
#include "X11ClipboardSource.h"
#include "XdgAutostartLoginItem.h"
#include "XdgDesktopEntries.h"

#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace corvane {

LinuxPlatform::LinuxPlatform()
    : m_clock(std::make_unique<SystemClock>())
    , m_clipboard(std::make_unique<QtClipboardService>())
    , m_desktopEntries(std::make_unique<XdgDesktopEntries>())
    , m_activeWindow(std::make_unique<X11ActiveWindow>(*m_desktopEntries))
    , m_desktop(std::make_unique<LinuxDesktopServices>())
    , m_loginItem(std::make_unique<XdgAutostartLoginItem>())
    , m_network(std::make_unique<QNetworkAccessManager>())
    , m_siteIcons(std::make_unique<SiteIconFetcher>(m_network.get()))
    , m_http(std::make_unique<NetworkHttpClient>(m_network.get()))
{
}

LinuxPlatform::~LinuxPlatform() = default;

ClipboardStore::Services LinuxPlatform::storeServices(AppSettings *settings) const
{
    ClipboardStore::Services services;
    services.settings = settings;
    services.clipboard = m_clipboard.get();
    services.clock = m_clock.get();
    services.desktopEntries = m_desktopEntries.get();
    services.activeWindow = m_activeWindow.get();
    services.databasePath = ClipDatabase::defaultPath();
    services.openInBackground = true;
    services.checkWhenAskedFrom = 64 << 20; // the application asks once its window is on screen
    services.loadInBackground = true;
    services.siteIcons
        = [fetcher = m_siteIcons.get()](const QString &host, const QString &scheme, std::function<void(const QImage &)> done) {
              fetcher->fetchSiteIcon(host, scheme,
                                     [done = std::move(done)](std::optional<QImage> icon) { done(icon.value_or(QImage())); });
          };
    services.clipboardSource = &LinuxPlatform::clipboardSource;
    return services;
}

LinkPreviewService::Services LinuxPlatform::linkPreviewServices() const
{
    LinkPreviewService::Services services;
    services.http = m_http.get();
    services.clock = m_clock.get();
    services.desktop = m_desktop.get();
    services.siteIcons = [fetcher = m_siteIcons.get()](const QString &host, const QString &scheme, QObject *context,
                                                       std::function<void(const QImage &)> done) {
        fetcher->fetchSiteIcon(host, scheme, [context = QPointer<QObject>(context), done](std::optional<QImage> icon) {
            if (context)
                done(icon.value_or(QImage()));
        });
    };
    return services;
}

std::unique_ptr<ClipboardSource> LinuxPlatform::clipboardSource(ClipboardService &clipboard)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto source = X11ClipboardSource::create())
            return source;
        qCWarning(logX11, "Corvane: no private X connection for clipboard reads; reading on the main thread");
    }
    return std::make_unique<DirectClipboardSource>(clipboard);
}

} // namespace corvane
