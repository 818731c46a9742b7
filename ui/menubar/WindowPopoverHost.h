#pragma once

#include "PopoverHost.h"

#include <QPointer>
#include <QQuickWindow>

namespace corvane {

/**
 * @brief The popover's host when the shell gives none: the window the popover sits in.
 *
 * Closing hides that window and quitting quits the application; the main and settings windows
 * belong to the shell, so those requests are passed on as signals.
 */
class WindowPopoverHost : public corvane::PopoverHost
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickWindow *window READ window WRITE setWindow NOTIFY windowChanged)

public:
    using PopoverHost::PopoverHost;

    QQuickWindow *window() const { return m_window; }
    void setWindow(QQuickWindow *window);

    bool isShown() const override { return m_window && m_window->isVisible(); }
    void performClose() override;
    void showMainWindow() override { emit mainWindowRequested(); }
    void showSettingsWindow() override { emit settingsWindowRequested(); }
    void quit() override;

signals:
    void windowChanged();
    void mainWindowRequested();
    void settingsWindowRequested();

private:
    QPointer<QQuickWindow> m_window;
};

} // namespace corvane
