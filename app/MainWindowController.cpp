#include "MainWindowController.h"

#include "QmlWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>
#include <QSettings>

namespace corvane {
namespace {
MainWindowController *g_main = nullptr;
const QString geometryKey = QStringLiteral("mainWindowGeometry");
} // namespace

MainWindowController::MainWindowController(QmlWindow &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    g_main = this;
    connect(&m_window, &QmlWindow::hidden, this, [this] {
        saveGeometry();
        if (m_onHidden)
            m_onHidden();
    });
}

MainWindowController::~MainWindowController()
{
    if (g_main == this)
        g_main = nullptr;
}

MainWindowController *MainWindowController::shared() { return g_main; }

QQuickWindow *MainWindowController::window() { return m_window.window(); }

bool MainWindowController::isShown() const { return m_window.isShown(); }

void MainWindowController::keepGeometryIn(QSettings *settings)
{
    m_geometrySettings = settings;
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (isShown())
            saveGeometry();
    });
}

void MainWindowController::saveGeometry()
{
    QQuickWindow *w = m_window.window();
    if (m_geometrySettings && w)
        m_geometrySettings->setValue(geometryKey, w->geometry());
}

void MainWindowController::restoreGeometry()
{
    QQuickWindow *w = m_window.window();
    if (!m_geometrySettings || !w || w->isVisible())
        return;
    const QRect saved = m_geometrySettings->value(geometryKey).toRect();
    if (!saved.isValid())
        return;
    // Only where a screen still shows enough of it to grab the title bar.
    for (QScreen *screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(saved);
        if (seen.width() >= 100 && seen.height() >= 50) {
            w->setGeometry(saved);
            return;
        }
    }
}

void MainWindowController::showWindow()
{
    restoreGeometry();
    m_window.showAndActivate();
}

void MainWindowController::showForSearching()
{
    restoreGeometry();
    m_window.showAndActivate();
    emit searchFocusRequested();
}

void MainWindowController::toggle()
{
    QQuickWindow *w = m_window.window();
    if (w && w->isVisible() && w->isActive())
        m_window.close();
    else
        showForSearching();
}

void MainWindowController::close() { m_window.close(); }

} // namespace corvane
