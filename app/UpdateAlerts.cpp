#include "UpdateAlerts.h"

#include "AppInfo.h"

#include <QMessageBox>
#include <QPushButton>

namespace corvane {

UpdateAlerts::UpdateAlerts(Updater &updater, std::function<void(const QUrl &)> openUrl,
                           std::function<void(const QString &)> relaunch, QObject *parent)
    : QObject(parent)
    , m_updater(updater)
    , m_openUrl(std::move(openUrl))
    , m_relaunch(std::move(relaunch))
{
    connect(&updater, &Updater::checkFinished, this,
            [this](Updater::Outcome outcome, const Release &release, const QString &error, bool userInitiated) {
                if (userInitiated)
                    present(checkAlert(outcome, release, error));
            });
    connect(&updater, &Updater::installFinished, this, [this](bool ok, const QString &error, const QString &executable) {
        if (ok)
            m_relaunch(executable);
        else
            present(installFailedAlert(error));
    });
}

std::unique_ptr<QMessageBox> UpdateAlerts::checkAlert(Updater::Outcome outcome, const Release &release, const QString &error)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(tr("Software Update"));
    // Everything the feed says is shown as plain text, never as markup.
    box->setTextFormat(Qt::PlainText);
    const QString current = tr("You have Corvane %1 (build %2).").arg(appVersion(), appBuild());
    switch (outcome) {
    case Updater::Outcome::notConfigured:
        box->setIcon(QMessageBox::Information);
        box->setText(tr("No update source is configured for this build of Corvane."));
        box->setInformativeText(tr("Updates come with the package or archive you installed Corvane from."));
        break;
    case Updater::Outcome::upToDate:
        box->setIcon(QMessageBox::Information);
        box->setText(tr("Corvane is up to date."));
        box->setInformativeText(current);
        break;
    case Updater::Outcome::failed:
        box->setIcon(QMessageBox::Warning);
        box->setText(tr("Corvane could not check for updates.\n\n%1").arg(error));
        break;
    case Updater::Outcome::updateAvailable: {
        box->setIcon(QMessageBox::Information);
        QString text = tr("Corvane %1 (build %2) is available.").arg(release.version).arg(release.build);
        if (!release.notes.trimmed().isEmpty())
            text += QStringLiteral("\n\n") + release.notes.trimmed();
        box->setText(text);
        box->setInformativeText(current);
        const bool inPlace = m_updater.canInstallInPlace();
        QPushButton *act
            = box->addButton(inPlace ? tr("Install and Relaunch") : tr("Open Download Page"), QMessageBox::AcceptRole);
        box->addButton(tr("Later"), QMessageBox::RejectRole);
        box->setDefaultButton(act);
        connect(act, &QPushButton::clicked, this, [this, release, inPlace] {
            if (inPlace)
                m_updater.install(release);
            else
                m_openUrl(release.url);
        });
        return box;
    }
    }
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

std::unique_ptr<QMessageBox> UpdateAlerts::installFailedAlert(const QString &error)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(tr("Software Update"));
    box->setIcon(QMessageBox::Warning);
    box->setTextFormat(Qt::PlainText);
    box->setText(tr("The update could not be installed. Nothing was changed.\n\n%1").arg(error));
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

void UpdateAlerts::present(std::unique_ptr<QMessageBox> box)
{
    QMessageBox *shown = box.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

} // namespace corvane
