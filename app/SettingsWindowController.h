#pragma once

#include <QObject>

class QQuickWindow;

namespace corvane {

class QmlWindow;

/** @brief The settings window, built once. */
class SettingsWindowController : public QObject
{
    Q_OBJECT
public:
    explicit SettingsWindowController(QmlWindow &window, QObject *parent = nullptr);
    ~SettingsWindowController() override;

    static SettingsWindowController *shared();

    QQuickWindow *window();
    void showWindow();

private:
    QmlWindow &m_window;
};

} // namespace corvane
