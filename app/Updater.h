#pragma once

#include "UpdateFeed.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace corvane {

/**
 * @brief Checks the release feed and installs a newer build.
 *
 * The first check runs 20 s after `start()`, then every 6 hours. Background checks are silent;
 * a check the user asked for ends in `checkFinished` with `userInitiated` set, which the shell
 * shows as an alert.
 */
class Updater : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds firstCheckDelay{20'000};
    static constexpr std::chrono::milliseconds checkInterval{6 * 60 * 60 * 1000};

    enum class Outcome { upToDate, updateAvailable, failed, notConfigured };
    Q_ENUM(Outcome)

    struct Options {
        QUrl feedUrl;
        QString currentBuild;
        QString installFolder;    ///< folder of the running executable
        QString executableName;
        UrlPolicy policy;
    };

    using Scheduler = std::function<void(std::chrono::milliseconds, std::function<void()>)>;

    explicit Updater(Options options, QObject *parent = nullptr);

    /** Replaces the single-shot timer used for the periodic checks (tests). */
    void setScheduler(Scheduler scheduler) { m_schedule = std::move(scheduler); }

    void start();
    void check(bool userInitiated);
    /** Downloads, verifies and puts `release` in place; ends in `installFinished`. */
    void install(const Release &release);

    bool canInstallInPlace() const;
    const Options &options() const { return m_options; }

signals:
    void checkFinished(corvane::Updater::Outcome outcome, const corvane::Release &release,
                       const QString &error, bool userInitiated);
    void installFinished(bool ok, const QString &error, const QString &executable);

private:
    void scheduleNext(std::chrono::milliseconds delay);
    void finishCheck(QNetworkReply *reply, bool userInitiated);

    Options m_options;
    QNetworkAccessManager *m_network;
    Scheduler m_schedule;
    QPointer<QNetworkReply> m_pendingCheck;
    bool m_installing = false;
};

} // namespace corvane
