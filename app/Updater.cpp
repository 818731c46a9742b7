#include "Updater.h"

#include "UpdateInstaller.h"

#include "Clock.h"

#include <QFutureWatcher>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtConcurrent>

#include <cstdio>

namespace corvane {
namespace {

constexpr qint64 kMaxFeedBytes = 1 << 20;
constexpr qint64 kMaxArchiveBytes = qint64(1) << 30;

QNetworkRequest requestFor(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(60'000);
    return request;
}

} // namespace

Updater::Updater(Options options, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_network(new QNetworkAccessManager(this))
    , m_clock(clock)
{
}

Updater::~Updater() = default;

void Updater::start()
{
    if (m_options.feedUrl.isEmpty())
        return;
    scheduleNext(firstCheckDelay);
}

void Updater::scheduleNext(std::chrono::milliseconds delay)
{
    m_timer = m_clock.schedule(int(delay.count()), [this] {
        scheduleNext(checkInterval);
        check(false);
    });
}

bool Updater::canInstallInPlace() const { return UpdateInstaller::isPortableInstall(m_options.installFolder); }

void Updater::check(bool userInitiated)
{
    if (m_options.feedUrl.isEmpty()) {
        emit checkFinished(Outcome::notConfigured, {}, {}, userInitiated);
        return;
    }
    if (!m_options.policy.allows(m_options.feedUrl)) {
        emit checkFinished(Outcome::failed, {}, tr("The update feed is not an https address."), userInitiated);
        return;
    }
    if (m_pendingCheck)
        m_pendingCheck->abort();
    QNetworkReply *reply = m_network->get(requestFor(m_options.feedUrl));
    m_pendingCheck = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, userInitiated] {
        reply->deleteLater();
        finishCheck(reply, userInitiated);
    });
}

void Updater::finishCheck(QNetworkReply *reply, bool userInitiated)
{
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        emit checkFinished(Outcome::failed, {}, reply->errorString(), userInitiated);
        return;
    }
    if (!m_options.policy.allows(reply->url())) {
        emit checkFinished(Outcome::failed, {}, tr("The update feed was redirected away from https."), userInitiated);
        return;
    }
    const FeedResult feed = parseFeed(reply->read(kMaxFeedBytes), m_options.policy);
    if (!feed.release) {
        emit checkFinished(Outcome::failed, {}, feed.error, userInitiated);
        return;
    }
    const bool newer = isNewerBuild(feed.release->build, m_options.currentBuild);
    if (newer && !userInitiated)
        std::fprintf(stderr, "Corvane: version %s (build %llu) is available\n", qPrintable(feed.release->version),
                     feed.release->build);
    emit checkFinished(newer ? Outcome::updateAvailable : Outcome::upToDate, *feed.release, {}, userInitiated);
}

void Updater::install(const Release &release)
{
    if (m_installing)
        return;
    if (!m_options.policy.allows(release.url)) {
        emit installFinished(false, tr("The download address is not an https address."), {});
        return;
    }
    m_installing = true;
    QNetworkReply *reply = m_network->get(requestFor(release.url));
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxArchiveBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, release] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError || !m_options.policy.allows(reply->url())) {
            m_installing = false;
            emit installFinished(false, tr("The download failed: %1").arg(reply->errorString()), {});
            return;
        }
        const QByteArray archive = reply->readAll();
        // Hashing and unpacking a large archive would stall the interface.
        auto *watcher = new QFutureWatcher<UpdateInstaller::Result>(this);
        connect(watcher, &QFutureWatcher<UpdateInstaller::Result>::finished, this, [this, watcher] {
            watcher->deleteLater();
            m_installing = false;
            const UpdateInstaller::Result result = watcher->result();
            emit installFinished(result.ok, result.error, result.executable);
        });
        watcher->setFuture(
            QtConcurrent::run(&UpdateInstaller::install, archive, release, m_options.installFolder, m_options.executableName));
    });
}

} // namespace corvane
