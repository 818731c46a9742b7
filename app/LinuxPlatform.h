#pragma once

#include "ClipboardStore.h"
#include "LinkPreviewService.h"

#include <memory>

class QNetworkAccessManager;

namespace corvane {

class ActiveWindow;
class ClipboardService;
class ClipboardSource;
class Clock;
class DesktopEntries;
class DesktopServices;
class LoginItem;
class NetworkHttpClient;
class SiteIconFetcher;

/**
 * @brief The one place the Linux services are created. Everything below the application gets
 * them as the platform's interfaces: the store, the link previews, the views.
 */
class LinuxPlatform
{
public:
    LinuxPlatform();
    ~LinuxPlatform();
    LinuxPlatform(const LinuxPlatform &) = delete;
    LinuxPlatform &operator=(const LinuxPlatform &) = delete;

    Clock &clock() const { return *m_clock; }
    ClipboardService &clipboard() const { return *m_clipboard; }
    DesktopEntries &desktopEntries() const { return *m_desktopEntries; }
    DesktopServices &desktop() const { return *m_desktop; }
    LoginItem &loginItem() const { return *m_loginItem; }

    /** The store's services over this platform, with the history at its usual place. */
    ClipboardStore::Services storeServices(AppSettings *settings) const;
    LinkPreviewService::Services linkPreviewServices() const;

    /** The X11 reader thread when the session has X11, else reads through `clipboard`. */
    static std::unique_ptr<ClipboardSource> clipboardSource(ClipboardService &clipboard);

private:
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<ClipboardService> m_clipboard;
    std::unique_ptr<DesktopEntries> m_desktopEntries;
    std::unique_ptr<ActiveWindow> m_activeWindow;
    std::unique_ptr<DesktopServices> m_desktop;
    std::unique_ptr<LoginItem> m_loginItem;
    // One network access manager for every request, previews and icons alike.
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<SiteIconFetcher> m_siteIcons;
    std::unique_ptr<NetworkHttpClient> m_http;
};

} // namespace corvane
