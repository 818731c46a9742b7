#include "SettingsWindowController.h"

#include "QmlWindow.h"

namespace corvane {
namespace {
SettingsWindowController *g_settings = nullptr;
}

SettingsWindowController::SettingsWindowController(QmlWindow &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    g_settings = this;
}

SettingsWindowController::~SettingsWindowController()
{
    if (g_settings == this)
        g_settings = nullptr;
}

SettingsWindowController *SettingsWindowController::shared() { return g_settings; }

QQuickWindow *SettingsWindowController::window() { return m_window.window(); }

void SettingsWindowController::showWindow() { m_window.showAndActivate(); }

} // namespace corvane
