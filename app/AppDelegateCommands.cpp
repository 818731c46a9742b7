// The menu commands, reports and relaunch of AppDelegate.
#include "AppDelegate.h"

#include "AppCommands.h"
#include "AppEvents.h"
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "DesktopServices.h"
#include "LinuxPlatform.h"
#include "DiagnosticsCollector.h"
#include "Feedback.h"
#include "KeyLegend.h"
#include "MainWindowController.h"
#include "QmlWindow.h"
#include "ReportFiles.h"
#include "SelfTest.h"
#include "SettingsWindowController.h"
#include "SingleInstance.h"
#include "StatusItemController.h"
#include "Updater.h"
#include "X11GlobalHotKeys.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QQuickWindow>
#include <QtConcurrent>

namespace corvane {
namespace {

QMessageBox *alert(QMessageBox::Icon icon, const QString &text)
{
    auto *box = new QMessageBox(icon, QStringLiteral("Corvane"), text, QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void present(QMessageBox *box)
{
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace

void AppDelegate::wireCommands()
{
    connect(m_commands, &AppCommands::settingsRequested, m_settingsController, &SettingsWindowController::showWindow);
    connect(m_commands, &AppCommands::quitRequested, qApp, &QCoreApplication::quit);
    connect(m_commands, &AppCommands::tagPickerRequested, this, [this] { m_store->setShowTagPicker(true); });
    connect(m_commands, &AppCommands::quickLookRequested, this, [this] { m_store->setQuickLookClip(m_store->selectedID()); });
    connect(m_commands, &AppCommands::findRequested, m_main, &MainWindowController::showForSearching);
    connect(m_commands, &AppCommands::welcomeTourRequested, this,
            [] { AppEvents::instance().post(AppEvents::showWelcomeTourName()); });
    connect(m_commands, &AppCommands::feedbackRequested, this, &AppDelegate::sendFeedback);
    connect(m_commands, &AppCommands::selfTestRequested, this, &AppDelegate::runSelfTest);
    connect(m_commands, &AppCommands::updateCheckRequested, this, [this] { m_updater->check(true); });
}

void AppDelegate::postFocusSearch() { AppEvents::instance().post(AppEvents::focusSearchName()); }

QString AppDelegate::diagnosticsText() const
{
    DiagnosticsSources sources;
    sources.store = m_store;
    sources.settings = m_settings;
    sources.hotKeys = m_hotKeys;
    sources.statusItem = m_statusItem;
    sources.hotKeyLegends
        = {{showWindowKey, KeyLegend::text(KeyLegend::showWindow())}, {nextItemKey, KeyLegend::text(KeyLegend::nextPasteItem())}};
    sources.databasePath = m_store && m_store->database() ? m_store->database()->path() : ClipDatabase::defaultPath();
    return DiagnosticsReport::format(collectDiagnostics(sources));
}

void AppDelegate::sendFeedback()
{
    const QString error = Feedback::send(m_platform->desktop(), diagnosticsText());
    if (!error.isEmpty())
        present(alert(QMessageBox::Warning, tr("The diagnostics report could not be written.\n\n%1").arg(error)));
}

void AppDelegate::runSelfTest()
{
    if (m_selfTestRunning)
        return;
    m_selfTestRunning = true;
    // The checks use a temporary database only; they run off the main thread.
    auto *watcher = new QFutureWatcher<SelfTest::Report>(this);
    connect(watcher, &QFutureWatcher<SelfTest::Report>::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_selfTestRunning = false;
        const SelfTest::Report report = watcher->result();
        QString error;
        const auto path = ReportFiles::write(QString::fromLatin1(ReportFiles::selfTestFileName), report.text(), &error);
        const QString summary = report.passed()
            ? tr("The self-test passed all %1 checks.").arg(report.results.size())
            : tr("The self-test found %1 failures in %2 checks.").arg(report.failureCount()).arg(report.results.size());
        QMessageBox *box = alert(report.passed() ? QMessageBox::Information : QMessageBox::Warning,
                                 path ? summary : summary + tr("\n\nThe report could not be written: %1").arg(error));
        if (path) {
            QPushButton *show = box->addButton(tr("Show in Files"), QMessageBox::ActionRole);
            connect(show, &QPushButton::clicked, this, [this, file = *path] { m_platform->desktop().showInFileManager({file}); });
        }
        present(box);
    });
    watcher->setFuture(QtConcurrent::run([] { return SelfTest::run(); }));
}

void AppDelegate::relaunch(const QString &executable)
{
    // The new copy must find no running Corvane, or it would hand over to this one and exit.
    m_instance.release();
    if (!QProcess::startDetached(executable, {})) {
        present(alert(QMessageBox::Warning,
                      tr("The update was installed, but Corvane could not restart. "
                         "Start it again yourself.")));
        return;
    }
    QCoreApplication::quit();
}

} // namespace corvane
