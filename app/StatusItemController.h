#pragma once

#include "TrayIcons.h"

#include <QObject>
#include <QRect>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace corvane {

class Clock;
class QmlWindow;
class TimerHandle;

/**
 * @brief The tray icon: its right-click menu, the popover a left click toggles, the short flash
 * on each capture and the paused look.
 */
class StatusItemController : public QObject
{
    Q_OBJECT
public:
    static constexpr int flashMs = 600;
    /** How long to wait for a tray host to appear (autostart may run before the panel). */
    static constexpr int trayWaitMs = 30'000;
    static constexpr int trayPollMs = 1'000;

    StatusItemController(Clock &clock, QmlWindow &popover, QObject *parent = nullptr);
    ~StatusItemController() override;

    static StatusItemController *shared();

    /** Creates the icon and its menu and shows it, waiting for a tray when there is none yet. */
    void install();
    /** Where the icon is on the screen; empty when the tray does not tell. */
    QRect iconGeometry() const;
    /** Whether the icon is in a tray. */
    bool isTrayAvailable() const;
    /** "shown", "waiting for a tray" or "no tray", for the diagnostics. */
    QString trayStateText() const;

    /** Whether a capture may flash the icon right now (setting on, motion allowed). */
    void setFlashAllowed(std::function<bool()> allowed) { m_flashAllowed = std::move(allowed); }
    void flash();
    void setPaused(bool paused);
    /** Whether "Settings…" can open a settings screen in this build. */
    void setSettingsAvailable(bool available);
    TrayIcons::Look look() const { return m_look; }

    QMenu *menu() const { return m_menu.get(); }
    QmlWindow &popover() { return m_popover; }
    bool isShown() const;
    void performClose();
    void togglePopover();
    /** Shows the popover under the tray icon, or at the pointer when the tray does not say where. */
    void showPopover();

signals:
    void openRequested();
    void pauseForTenMinutesRequested();
    void pauseRequested();
    void resumeRequested();
    void settingsRequested();
    void quitRequested();

private:
    void buildMenu();
    void setLook(TrayIcons::Look look);
    void createIcon();
    static bool xembedTrayOnly();
    static bool statusNotifierHostRegistered();

    Clock &m_clock;
    QmlWindow &m_popover;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_tray = nullptr;
    QAction *m_pauseForTen = nullptr;
    QAction *m_pause = nullptr;
    QAction *m_settings = nullptr;
    std::function<bool()> m_flashAllowed = [] { return true; };
    std::unique_ptr<TimerHandle> m_flashTimer;
    std::unique_ptr<TimerHandle> m_trayWait;
    int m_trayWaited = 0;
    bool m_paused = false;
    TrayIcons::Look m_look = TrayIcons::Look::normal;
};

} // namespace corvane
