#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QQmlEngine;
class QSettings;

namespace corvane {

class AppCommands;
class AppSettings;
class ClipboardStore;
class Clock;
class DesktopEntries;
class DesktopServices;
class DesktopSettings;
class GlobalHotKeys;
class LinuxPlatform;
class LoginItem;
class MainWindowController;
class PasteQueuePanelController;
class RunningAppsProvider;
class QmlWindow;
class SettingsHost;
class SettingsWindowController;
class SingleInstance;
class StatusItemController;
class UpdateAlerts;
class Updater;

/**
 * @brief Starts Corvane in its fixed order and wires the long-lived objects together: store,
 * tray, hot keys, windows, paste-queue panel, menus and updater.
 */
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    static inline const QString showWindowKey = QStringLiteral("showMainWindow");
    static inline const QString nextItemKey = QStringLiteral("nextPasteQueueItem");

    explicit AppDelegate(SingleInstance &instance, QObject *parent = nullptr);
    ~AppDelegate() override;

    /** Everything after the single-instance check, in start-up order. */
    void start();

    /** The diagnostics report as text. */
    QString diagnosticsText() const;

    StatusItemController *statusItem() const { return m_statusItem; }
    PasteQueuePanelController *pasteQueuePanel() const { return m_panel; }
    MainWindowController *mainWindow() const { return m_main; }
    ClipboardStore *store() const { return m_store; }

private:
    void setAppIcon();
    void startUpdater();
    void createStore();
    void enableLaunchAtLoginOnce();
    void installStatusItem();
    void registerHotKeys();
    void installPasteQueuePanel();
    void showMainWindow();
    void forceLightAppearance();
    void scheduleDemonstrations();

    void createWindows();
    void wireCommands();
    void tuneSharedPool();
    void wireSingleInstance();
    void runSelfTest();
    void sendFeedback();
    void relaunch(const QString &executable);
    void postFocusSearch();

    SingleInstance &m_instance;
    std::unique_ptr<LinuxPlatform> m_platform;
    RunningAppsProvider *m_runningApps = nullptr;
    SettingsHost *m_settingsHost = nullptr;
    QSettings *m_userDefaults = nullptr;
    DesktopSettings *m_desktopSettings = nullptr;
    GlobalHotKeys *m_hotKeys = nullptr;
    AppSettings *m_settings = nullptr;
    ClipboardStore *m_store = nullptr;
    Updater *m_updater = nullptr;
    UpdateAlerts *m_updateAlerts = nullptr;
    std::unique_ptr<QQmlEngine> m_engine;
    AppCommands *m_commands = nullptr;
    QmlWindow *m_mainWindow = nullptr;
    QmlWindow *m_settingsWindow = nullptr;
    QmlWindow *m_popoverWindow = nullptr;
    QmlWindow *m_panelWindow = nullptr;
    MainWindowController *m_main = nullptr;
    SettingsWindowController *m_settingsController = nullptr;
    StatusItemController *m_statusItem = nullptr;
    PasteQueuePanelController *m_panel = nullptr;
    bool m_selfTestRunning = false;
};

} // namespace corvane
