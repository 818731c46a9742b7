#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The commands of the app's menus, as QML calls them; the application carries them out.
 */
class AppCommands : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(bool settingsAvailable READ settingsAvailable CONSTANT)
public:
    /** `settingsAvailable`: whether this build has the settings screen. */
    explicit AppCommands(bool settingsAvailable, QObject *parent = nullptr)
        : QObject(parent)
        , m_settingsAvailable(settingsAvailable)
    {
    }

    bool settingsAvailable() const { return m_settingsAvailable; }

    Q_INVOKABLE void openSettings() { emit settingsRequested(); }
    Q_INVOKABLE void quit() { emit quitRequested(); }
    Q_INVOKABLE void showTagPicker() { emit tagPickerRequested(); }
    Q_INVOKABLE void quickLook() { emit quickLookRequested(); }
    Q_INVOKABLE void find() { emit findRequested(); }
    Q_INVOKABLE void showWelcomeTour() { emit welcomeTourRequested(); }
    Q_INVOKABLE void sendFeedback() { emit feedbackRequested(); }
    Q_INVOKABLE void runSelfTest() { emit selfTestRequested(); }
    Q_INVOKABLE void checkForUpdates() { emit updateCheckRequested(); }

signals:
    void settingsRequested();
    void quitRequested();
    void tagPickerRequested();
    void quickLookRequested();
    void findRequested();
    void welcomeTourRequested();
    void feedbackRequested();
    void selfTestRequested();
    void updateCheckRequested();

private:
    bool m_settingsAvailable;
};

} // namespace corvane
