#pragma once

#include "UpdateFeed.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace corvane {

class Clock;
class TimerHandle;

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
        QString installFolder; ///< folder of the running executable
        QString executableName;
        UrlPolicy policy;
    };

    Updater(Options options, Clock &clock, QObject *parent = nullptr);
    ~Updater() override;

    void start();
    void check(bool userInitiated);
    /** Downloads, verifies and puts `release` in place; ends in `installFinished`. */
    void install(const Release &release);

    bool canInstallInPlace() const;
    const Options &options() const { return m_options; }

signals:
    void checkFinished(corvane::Updater::Outcome outcome, const corvane::Release &release, const QString &error,
                       bool userInitiated);
    void installFinished(bool ok, const QString &error, const QString &executable);

private:
    void scheduleNext(std::chrono::milliseconds delay);
    void finishCheck(QNetworkReply *reply, bool userInitiated);

    Options m_options;
    QNetworkAccessManager *m_network;
    Clock &m_clock;
    std::unique_ptr<TimerHandle> m_timer;
    QPointer<QNetworkReply> m_pendingCheck;
    bool m_installing = false;
};

} // namespace corvane
