#pragma once

#include "Updater.h"

#include <QObject>

#include <functional>
#include <memory>

class QMessageBox;

namespace corvane {

/**
 * @brief Shows the updater's outcomes the user should see: every outcome of a check the user
 * asked for, and the end of an installation. Release texts from the feed are shown as plain text.
 */
class UpdateAlerts : public QObject
{
    Q_OBJECT
public:
    /** `openUrl` opens the download page; `relaunch` starts the new executable and quits. */
    UpdateAlerts(Updater &updater, std::function<void(const QUrl &)> openUrl, std::function<void(const QString &)> relaunch,
                 QObject *parent = nullptr);

    /** The alert for a check's outcome; its buttons carry the follow-up actions. */
    std::unique_ptr<QMessageBox> checkAlert(Updater::Outcome outcome, const Release &release, const QString &error);
    std::unique_ptr<QMessageBox> installFailedAlert(const QString &error);

private:
    void present(std::unique_ptr<QMessageBox> box);

    Updater &m_updater;
    std::function<void(const QUrl &)> m_openUrl;
    std::function<void(const QString &)> m_relaunch;
};

} // namespace corvane
