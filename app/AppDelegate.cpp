#include "AppDelegate.h"
#include "Logging.h"

#include "AppCommands.h"
#include "AppInfo.h"
#include "AppSettings.h"
#include "AppUrls.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "DesktopAccess.h"
#include "UiSetup.h"
#include "StatusPopoverHost.h"
#include "DiagnosticsCollector.h"
#include "Feedback.h"
#include "KeyLegend.h"
#include "DesktopServices.h"
#include "LinkPreviewService.h"
#include "LinuxPlatform.h"
#include "MainWindowController.h"
#include "Motion.h"
#include "PasteQueuePanelController.h"
#include "PortalDesktopSettings.h"
#include "QmlWindow.h"
#include "ReportFiles.h"
#include "SelfTest.h"
#include "SettingsFile.h"
#include "SettingsHost.h"
#include "SettingsWindowController.h"
#include "SingleInstance.h"
#include "StatusItemController.h"
#include "TrayIcons.h"
#include "UpdateAlerts.h"
#include "Updater.h"
#include "UserGreeting.h"
#include "X11GlobalHotKeys.h"
#include "X11RunningApps.h"

#include <QApplication>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSettings>
#include <QStyle>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

namespace corvane {

AppDelegate::AppDelegate(SingleInstance &instance, QObject *parent)
    : QObject(parent)
    , m_instance(instance)
    , m_platform(std::make_unique<LinuxPlatform>())
{
}

AppDelegate::~AppDelegate()
{
    // Windows go before the engine that built them.
    delete m_mainWindow;
    delete m_settingsWindow;
    delete m_popoverWindow;
    delete m_panelWindow;
    setInspectorDesktop(nullptr);
}

void AppDelegate::start()
{
    tuneSharedPool();
    wireSingleInstance();
    setAppIcon();
    startUpdater();
    createStore();
    enableLaunchAtLoginOnce();
    createWindows();
    installStatusItem();
    // No summary service is attached: this system has no on-device language model.
    registerHotKeys();
    installPasteQueuePanel();
    showMainWindow();
    forceLightAppearance();
    scheduleDemonstrations();
    // Once the main window has shown its first frame, which they would otherwise hold up: the
    // history's whole-file check and read, and the popover, built hidden so the first tray click
    // loads no QML.
    auto afterFirstFrame = [this, popover = m_popoverWindow] {
        m_store->continueOpening();
        popover->window();
    };
    QQuickWindow *main = m_mainWindow->window();
    if (main && main->isVisible())
        connect(main, &QQuickWindow::frameSwapped, m_popoverWindow, afterFirstFrame,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    else
        QTimer::singleShot(0, m_popoverWindow, afterFirstFrame);
    // A window that never draws must not keep the history closed and the clipboard unwatched.
    QTimer::singleShot(2000, m_store, [store = m_store] { store->continueOpening(); });
}

void AppDelegate::tuneSharedPool()
{
    // Background work (the history's full read, indexes, previews) comes in bursts; threads left
    // idle after one are given back within seconds rather than Qt's half a minute.
    QThreadPool *pool = QThreadPool::globalInstance();
    pool->setObjectName(QStringLiteral("Corvane pool"));
    pool->setExpiryTimeout(3000);
}

void AppDelegate::wireSingleInstance()
{
    connect(&m_instance, &SingleInstance::showRequested, this, [this] { m_main->showWindow(); });
    connect(&m_instance, &SingleInstance::toggleRequested, this, [this] { m_main->toggle(); });
    connect(&m_instance, &SingleInstance::nextRequested, this, [this] { m_store->next(); });
    connect(&m_instance, &SingleInstance::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppDelegate::setAppIcon() { QApplication::setWindowIcon(TrayIcons::appIcon()); }

void AppDelegate::startUpdater()
{
    const QFileInfo executable(QCoreApplication::applicationFilePath());
    Updater::Options options{QUrl(updateFeedUrl()), appBuild(), executable.absolutePath(), executable.fileName(), {}};
    m_updater = new Updater(options, m_platform->clock(), this);
    m_updateAlerts = new UpdateAlerts(
        *m_updater, [this](const QUrl &url) { m_platform->desktop().openUrl(url); },
        [this](const QString &executablePath) { relaunch(executablePath); }, this);
    m_updater->start();
}

void AppDelegate::createStore()
{
    const QString file
        = QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"), QStringLiteral("Corvane"))
              .fileName();
    const std::optional<QString> settingsProblem = SettingsFile::prepare(file);
    m_userDefaults = new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"),
                                   QStringLiteral("Corvane"), this);
    m_settings = new AppSettings(m_userDefaults, &m_platform->loginItem(), this);
    if (settingsProblem)
        m_settings->reportProblem(*settingsProblem);
    connect(qApp, &QCoreApplication::aboutToQuit, m_userDefaults, [this] { m_userDefaults->sync(); });
    AppSettings::setShared(m_settings);
    // Parentless and kept to the end of the process, as QML engines hold them as singletons.
    m_store = new ClipboardStore(m_platform->storeServices(m_settings));
    ClipboardStore::setShared(m_store);
    LinkPreviewService::setShared(new LinkPreviewService(m_platform->linkPreviewServices()));
    // Copies under way get a few seconds to be saved, then the history is closed cleanly.
    connect(qApp, &QCoreApplication::aboutToQuit, m_store, [this] { m_store->shutdown(); });
    m_desktopSettings = new PortalDesktopSettings(this);
    Motion::instance().follow(m_desktopSettings);
}

void AppDelegate::enableLaunchAtLoginOnce()
{
    if (m_settings->didEnableLaunchAtLogin())
        return;
    m_settings->setLaunchAtLogin(true);
    m_settings->setDidEnableLaunchAtLogin(true);
}

void AppDelegate::createWindows()
{
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    m_engine = std::make_unique<QQmlEngine>();
    installUi(*m_engine, m_store);
    UserGreeting::instance().setDesktopServices(&m_platform->desktop());
    setInspectorDesktop(&m_platform->desktop());
    m_commands = new AppCommands(!AppUrls::existing(AppUrls::settingsView).isEmpty(), this);

    const QVariantMap shared{{QStringLiteral("store"), QVariant::fromValue<QObject *>(m_store)},
                             {QStringLiteral("settings"), QVariant::fromValue<QObject *>(m_settings)}};
    QVariantMap main = shared;
    main.insert(QStringLiteral("commands"), QVariant::fromValue<QObject *>(m_commands));
    main.insert(QStringLiteral("contentUrl"), AppUrls::mainView);
    m_mainWindow = new QmlWindow(*m_engine, AppUrls::mainWindow, main);

    m_runningApps = new X11RunningApps(m_platform->desktopEntries(), this);
    m_settingsHost = new SettingsHost({appBuild(), m_runningApps, &m_platform->desktopEntries(),
                                       [this] { m_updater->check(true); }, [this] { sendFeedback(); }},
                                      this);
    QVariantMap settingsWindow = shared;
    settingsWindow.insert(QStringLiteral("contentUrl"), AppUrls::existing(AppUrls::settingsView));
    settingsWindow.insert(QStringLiteral("host"), QVariant::fromValue<QObject *>(m_settingsHost));
    m_settingsWindow = new QmlWindow(*m_engine, AppUrls::settingsWindow, settingsWindow);
    m_settingsWindow->setReleaseGraphicsWhenHidden(true);

    QVariantMap popover = shared;
    popover.insert(QStringLiteral("contentUrl"), AppUrls::popoverView);
    m_popoverWindow = new QmlWindow(*m_engine, AppUrls::popoverWindow, popover);
    connect(m_popoverWindow, &QmlWindow::built, this, [this](QQuickWindow *window) {
        window->setProperty("reduceMotion", m_desktopSettings->reduceMotion());
        connect(m_desktopSettings, &DesktopSettings::reduceMotionChanged, window,
                [this, window] { window->setProperty("reduceMotion", m_desktopSettings->reduceMotion()); });
    });

    m_main = new MainWindowController(*m_mainWindow, this);
    m_main->keepGeometryIn(m_userDefaults);
    m_main->setOnHidden([this] { m_store->hideAllSecrets(); });
    connect(m_main, &MainWindowController::searchFocusRequested, this, &AppDelegate::postFocusSearch);
    m_settingsController = new SettingsWindowController(*m_settingsWindow, this);
    wireCommands();
}

void AppDelegate::installStatusItem()
{
    m_statusItem = new StatusItemController(m_platform->clock(), *m_popoverWindow, this);
    m_statusItem->setSettingsAvailable(m_commands->settingsAvailable());
    m_statusItem->setFlashAllowed([this] { return m_settings->animateMenuBarIcon() && !m_desktopSettings->reduceMotion(); });
    connect(m_statusItem, &StatusItemController::openRequested, m_main, &MainWindowController::showWindow);
    connect(m_statusItem, &StatusItemController::pauseForTenMinutesRequested, this, [this] { m_store->pause(600); });
    connect(m_statusItem, &StatusItemController::pauseRequested, this, [this] { m_store->pause(); });
    connect(m_statusItem, &StatusItemController::resumeRequested, this, [this] { m_store->resume(); });
    connect(m_statusItem, &StatusItemController::settingsRequested, m_settingsController, &SettingsWindowController::showWindow);
    connect(m_statusItem, &StatusItemController::quitRequested, qApp, &QCoreApplication::quit);
    auto *host = new StatusPopoverHost(*m_statusItem,
                                       {[this] { m_main->showWindow(); },
                                        [this] {
                                            if (m_commands->settingsAvailable())
                                                m_settingsController->showWindow();
                                        },
                                        [] { QCoreApplication::quit(); }},
                                       this);
    m_popoverWindow->setInitialProperty(QStringLiteral("host"), QVariant::fromValue<QObject *>(host));
    m_store->onPauseChanged = [this](bool paused) { m_statusItem->setPaused(paused); };
    m_store->onCaptureFeedback = [this] { m_statusItem->flash(); };
    m_statusItem->setPaused(m_store->isPaused());
    m_statusItem->install();
}

void AppDelegate::registerHotKeys()
{
    m_hotKeys = new X11GlobalHotKeys(this);
    connect(m_hotKeys, &GlobalHotKeys::activated, this, [this](const QString &id) {
        if (id == showWindowKey)
            m_main->toggle();
        else if (id == nextItemKey)
            m_store->next();
    });
    for (const auto &[id, sequence] :
         {std::pair{showWindowKey, KeyLegend::showWindow()}, std::pair{nextItemKey, KeyLegend::nextPasteItem()}}) {
        const HotKeyStatus status = m_hotKeys->registerHotKey(id, sequence);
        if (status == HotKeyStatus::unavailable) {
            qCWarning(logApp,
                      "Corvane: global keys need X11; bind \"corvane --toggle\" and \"corvane --next\" "
                      "to keys in your desktop's settings instead");
            break;
        }
    }
    auto showKeyInSettings = [this] {
        m_settingsHost->setShowWindowKey(KeyLegend::text(KeyLegend::showWindow()), m_hotKeys->status(showWindowKey));
    };
    showKeyInSettings();
    connect(m_hotKeys, &GlobalHotKeys::statusChanged, this, showKeyInSettings);
}

void AppDelegate::installPasteQueuePanel()
{
    m_panel = new PasteQueuePanelController(this);
    m_panelWindow = new QmlWindow(*m_engine, AppUrls::pasteQueuePanel,
                                  {{QStringLiteral("controller"), QVariant::fromValue<QObject *>(m_panel)}});
    m_panel->setPanel(m_panelWindow);
    m_panel->setTrayIconGeometry([this] { return m_statusItem ? m_statusItem->iconGeometry() : QRect(); });
    connect(m_panel, &PasteQueuePanelController::nextRequested, this, [this] { m_store->next(); });
    connect(m_panel, &PasteQueuePanelController::clearRequested, this, [this] { m_store->clearQueue(); });
    m_store->onCorvaneChanged = [this] { m_panel->update(m_store->pasteQueueTitles(), m_store->pasteQueueIndex()); };
}

void AppDelegate::showMainWindow() { m_main->showWindow(); }

void AppDelegate::forceLightAppearance()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void AppDelegate::scheduleDemonstrations()
{
    if (!m_settings->demoFlag(QStringLiteral("CVDemoSelectFirst")))
        return;
    QTimer::singleShot(0, this, [this] {
        const auto visible = m_store->visibleIDs(m_store->filter(), m_store->searchText());
        if (!visible->empty())
            m_store->select(visible->front());
    });
}

} // namespace corvane
