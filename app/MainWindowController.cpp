#include "MainWindowController.h"

#include "QmlWindow.h"

namespace corvane {
namespace {
MainWindowController *g_main = nullptr;
}

MainWindowController::MainWindowController(QmlWindow &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    g_main = this;
    connect(&m_window, &QmlWindow::hidden, this, [this] {
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

void MainWindowController::showWindow() { m_window.showAndActivate(); }

void MainWindowController::showForSearching()
{
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
