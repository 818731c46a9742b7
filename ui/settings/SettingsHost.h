#pragma once

#include "GlobalHotKeys.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace corvane {

class DesktopEntries;
class RunningAppsProvider;

/**
 * @brief What the settings window needs from the app around it: the build, the show-window key
 * and how its grab went, the desktop's apps, and the update check and feedback commands.
 */
class SettingsHost : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given by the shell")
    Q_PROPERTY(QString appBuild READ appBuild CONSTANT)
    Q_PROPERTY(QString showWindowKey READ showWindowKey NOTIFY showWindowKeyChanged)

public:
    struct Services {
        QString appBuild;
        /** Null where the desktop's apps cannot be listed. */
        RunningAppsProvider *runningApps = nullptr;
        const DesktopEntries *desktopEntries = nullptr;
        std::function<void()> checkForUpdates;
        std::function<void()> sendFeedback;
    };

    explicit SettingsHost(Services services, QObject *parent = nullptr);

    QString appBuild() const { return m_services.appBuild; }
    RunningAppsProvider *runningApps() const { return m_services.runningApps; }
    const DesktopEntries *desktopEntries() const { return m_services.desktopEntries; }

    /** The key as the desktop names it ("Super+Shift+V") and whether the shell holds it. */
    void setShowWindowKey(const QString &text, HotKeyStatus status);
    QString showWindowKey() const { return m_keyText; }
    HotKeyStatus showWindowKeyStatus() const { return m_keyStatus; }

    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void sendFeedback();

signals:
    void showWindowKeyChanged();

private:
    Services m_services;
    QString m_keyText;
    HotKeyStatus m_keyStatus = HotKeyStatus::unavailable;
};

} // namespace corvane
