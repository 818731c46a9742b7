#include "StatusItemController.h"
#include "Logging.h"

#include "Clock.h"
#include "KeyLegend.h"
#include "PopoverPlacement.h"
#include "QmlWindow.h"
#include "X11Support.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QMenu>
#include <QQuickWindow>
#include <QScreen>
#include <QSystemTrayIcon>

#include <cstdio>
#include <cstdlib>

namespace corvane {
namespace {
StatusItemController *g_shared = nullptr;
}

StatusItemController::StatusItemController(Clock &clock, QmlWindow &popover, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_popover(popover)
{
    g_shared = this;
    buildMenu();
}

StatusItemController::~StatusItemController()
{
    if (g_shared == this)
        g_shared = nullptr;
}

StatusItemController *StatusItemController::shared() { return g_shared; }

void StatusItemController::buildMenu()
{
    m_menu = std::make_unique<QMenu>();
    connect(m_menu->addAction(tr("Open Corvane")), &QAction::triggered, this, &StatusItemController::openRequested);
    m_menu->addSeparator();
    m_pauseForTen = m_menu->addAction(tr("Pause for 10 Minutes"));
    connect(m_pauseForTen, &QAction::triggered, this, [this] {
        if (m_paused)
            emit resumeRequested();
        else
            emit pauseForTenMinutesRequested();
    });
    m_pause = m_menu->addAction(tr("Pause"));
    connect(m_pause, &QAction::triggered, this, &StatusItemController::pauseRequested);
    m_menu->addSeparator();
    m_settings = m_menu->addAction(tr("Settings…"));
    connect(m_settings, &QAction::triggered, this, &StatusItemController::settingsRequested);
    m_menu->addSeparator();
    connect(m_menu->addAction(tr("Quit Corvane")), &QAction::triggered, this, &StatusItemController::quitRequested);
}

void StatusItemController::install()
{
    if (m_tray || m_trayWait)
        return;
    // Qt decides once per process whether a StatusNotifierItem host exists, at the first tray
    // call. Asking before the panel is up (at autostart) would leave the icon without a host for
    // good, so the host is awaited on D-Bus first.
    if (statusNotifierHostRegistered() || xembedTrayOnly()) {
        createIcon();
        return;
    }
    qCWarning(logUi, "Corvane: no system tray yet; waiting for one");
    if (QDBusConnection::sessionBus().isConnected()) {
        auto *watcher = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus(),
                                                QDBusServiceWatcher::WatchForRegistration, this);
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
            // The host registers with the watcher a moment after the watcher itself appears.
            m_trayWaited = 0;
        });
    }
    m_trayWait = m_clock.scheduleRepeating(trayPollMs, [this] {
        m_trayWaited += trayPollMs;
        if (statusNotifierHostRegistered() || xembedTrayOnly()) {
            m_trayWait.reset();
            createIcon();
        } else if (m_trayWaited >= trayWaitMs || !QDBusConnection::sessionBus().isConnected()) {
            // No StatusNotifierItem host: an older XEmbed tray is the last chance.
            m_trayWait.reset();
            if (QSystemTrayIcon::isSystemTrayAvailable())
                createIcon();
            else
                qCWarning(logUi, "Corvane: no system tray; open Corvane with %s or \"corvane --toggle\"",
                          qPrintable(KeyLegend::text(KeyLegend::showWindow())));
        }
    });
}

bool StatusItemController::statusNotifierHostRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool StatusItemController::xembedTrayOnly()
{
    // An XEmbed tray without any StatusNotifierItem watcher (a bare window manager with a tray
    // such as trayer) takes the icon at once instead of after the wait for a late panel.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value())
        return false;
    xcb_connection_t *x = X11Support::connection();
    if (!x)
        return false;
    const xcb_atom_t selection = X11Support::atom(x, "_NET_SYSTEM_TRAY_S0");
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

void StatusItemController::createIcon()
{
    m_tray = new QSystemTrayIcon(TrayIcons::icon(m_look), this);
    m_tray->setToolTip(m_paused ? tr("Corvane — Paused") : QStringLiteral("Corvane"));
    m_tray->setContextMenu(m_menu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            togglePopover();
    });
    m_tray->show();
}

QRect StatusItemController::iconGeometry() const { return m_tray ? m_tray->geometry() : QRect(); }

bool StatusItemController::isTrayAvailable() const { return m_tray != nullptr; }

QString StatusItemController::trayStateText() const
{
    if (m_tray && m_tray->isVisible())
        return QStringLiteral("shown");
    if (m_trayWait)
        return QStringLiteral("waiting for a tray");
    return QStringLiteral("no tray available");
}

void StatusItemController::setLook(TrayIcons::Look look)
{
    if (m_look == look)
        return;
    m_look = look;
    if (m_tray)
        m_tray->setIcon(TrayIcons::icon(look));
}

void StatusItemController::flash()
{
    if (!m_flashAllowed())
        return;
    setLook(TrayIcons::Look::flash);
    m_flashTimer = m_clock.schedule(flashMs, [this] { setLook(m_paused ? TrayIcons::Look::paused : TrayIcons::Look::normal); });
}

void StatusItemController::setPaused(bool paused)
{
    m_paused = paused;
    m_pauseForTen->setText(paused ? tr("Resume") : tr("Pause for 10 Minutes"));
    m_pause->setEnabled(!paused);
    if (m_tray)
        m_tray->setToolTip(paused ? tr("Corvane — Paused") : QStringLiteral("Corvane"));
    if (!m_flashTimer || !m_flashTimer->isActive())
        setLook(paused ? TrayIcons::Look::paused : TrayIcons::Look::normal);
}

void StatusItemController::setSettingsAvailable(bool available) { m_settings->setEnabled(available); }

bool StatusItemController::isShown() const { return m_popover.isShown(); }

void StatusItemController::performClose() { m_popover.close(); }

void StatusItemController::togglePopover()
{
    if (isShown())
        performClose();
    else
        showPopover();
}

void StatusItemController::showPopover()
{
    QQuickWindow *window = m_popover.window();
    if (!window)
        return;
    const QRect icon = m_tray ? m_tray->geometry() : QRect();
    const QPoint pointer = QCursor::pos();
    QScreen *screen = QGuiApplication::screenAt(icon.isEmpty() ? pointer : icon.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    window->setScreen(screen);
    window->setGeometry(popoverGeometry(window->size(), icon, pointer, screen->availableGeometry()));
    m_popover.showAndActivate();
}

} // namespace corvane
