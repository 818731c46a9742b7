#include "PasteQueuePanelController.h"

#include "PopoverPlacement.h"
#include "QmlWindow.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>

namespace corvane {

PasteQueuePanelController::PasteQueuePanelController(QObject *parent)
    : QObject(parent)
{
}

void PasteQueuePanelController::update(const QStringList &titles, int currentIndex)
{
    m_model.setItems(titles, currentIndex);
    if (titles.isEmpty()) {
        if (m_panel)
            m_panel->close();
    } else if (!isPanelShown()) {
        showPanel();
    }
}

bool PasteQueuePanelController::isPanelShown() const { return m_panel && m_panel->isShown(); }

void PasteQueuePanelController::showPanel()
{
    if (!m_panel)
        return;
    QQuickWindow *window = m_panel->window();
    if (!window)
        return;
    // A corner of the screen, out of the way of the windows the user pastes into.
    const QRect icon = m_trayIcon ? m_trayIcon() : QRect();
    QScreen *screen = icon.isEmpty() ? nullptr : QGuiApplication::screenAt(icon.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window->setPosition(pasteQueuePanelPosition(window->size(), icon, screen->availableGeometry(), screenMargin));
    // Never activated: the user keeps typing in the app they paste into.
    window->show();
}

} // namespace corvane
