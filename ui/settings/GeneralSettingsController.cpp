#include "GeneralSettingsController.h"

#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipText.h"
#include "ClipboardStore.h"
#include "SettingsHost.h"

#include <QtConcurrent>

namespace corvane {
namespace {

using Result = std::optional<QString>;

Result pruneTo(const std::shared_ptr<ClipDatabase> &db, std::int64_t limit)
{
    try {
        db->prune(limit);
        return std::nullopt;
    } catch (const ClipDatabase::Error &error) {
        return error.message();
    }
}

Result clearAll(const std::shared_ptr<ClipDatabase> &db)
{
    try {
        db->exec(GeneralSettingsController::clearSql);
        db->deleteOrphanLinkPreviews();
        db->checkpoint();
        return std::nullopt;
    } catch (const ClipDatabase::Error &error) {
        return error.message();
    }
}

} // namespace

GeneralSettingsController::GeneralSettingsController(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<Result>::finished, this, [this] {
        const Job job = *m_running;
        finished(job, m_watcher.result());
    });
}

GeneralSettingsController::~GeneralSettingsController()
{
    // The worker holds its own reference to the database; only wait so no result arrives late.
    m_watcher.waitForFinished();
}

AppSettings *GeneralSettingsController::settings() const { return m_store ? m_store->settings() : nullptr; }

void GeneralSettingsController::setStore(ClipboardStore *store)
{
    if (store == m_store)
        return;
    if (m_store)
        m_store->disconnect(this);
    disconnect(m_limitConnection);
    m_store = store;
    if (m_store) {
        connect(m_store, &ClipboardStore::storageUsedChanged, this, &GeneralSettingsController::storageUsedChanged);
        connect(m_store, &ClipboardStore::isPausedChanged, this, &GeneralSettingsController::isPausedChanged);
        // The limit as the form first sees it is not a change.
        m_knownLimit = settings()->storageLimit();
        m_limitConnection = connect(settings(), &AppSettings::storageLimitChanged, this, [this] {
            const std::int64_t old = std::exchange(m_knownLimit, settings()->storageLimit());
            emit storageLimitChanged();
            onStorageLimitChanged(old, m_knownLimit);
        });
    }
    emit storeChanged();
    emit storageLimitChanged();
    emit storageUsedChanged();
    emit isPausedChanged();
}

void GeneralSettingsController::setHost(SettingsHost *host)
{
    if (host == m_host)
        return;
    if (m_host)
        m_host->disconnect(this);
    m_host = host;
    if (m_host)
        connect(m_host, &SettingsHost::showWindowKeyChanged, this, &GeneralSettingsController::keyChanged);
    emit hostChanged();
    emit keyChanged();
}

QVariantList GeneralSettingsController::storagePresets()
{
    QVariantList presets;
    for (const std::int64_t value : AppSettings::storageLimitPresets())
        presets.append(
            QVariantMap{{QStringLiteral("value"), qint64(value)}, {QStringLiteral("label"), ClipText::byteCount(value)}});
    return presets;
}

int GeneralSettingsController::storagePresetIndex() const
{
    return settings() ? int(AppSettings::storageLimitPresets().indexOf(settings()->storageLimit())) : -1;
}

void GeneralSettingsController::setStoragePresetIndex(int index)
{
    const auto &presets = AppSettings::storageLimitPresets();
    if (settings() && index >= 0 && index < presets.size())
        settings()->setStorageLimit(presets.at(index));
}

QString GeneralSettingsController::storageUsedText() const { return ClipText::byteCount(m_store ? m_store->storageUsed() : 0); }

bool GeneralSettingsController::isPaused() const { return m_store && m_store->isPaused(); }

void GeneralSettingsController::setPaused(bool paused)
{
    if (!m_store)
        return;
    if (paused)
        m_store->pause();
    else
        m_store->resume();
}

QString GeneralSettingsController::busyText() const
{
    if (!m_running)
        return {};
    return *m_running == Job::clear ? tr("Clearing the history…") : tr("Removing the oldest clips…");
}

void GeneralSettingsController::onStorageLimitChanged(std::int64_t oldLimit, std::int64_t newLimit)
{
    if (oldLimit == newLimit || !m_store)
        return;
    enqueue({Job::prune, newLimit});
}

void GeneralSettingsController::clearHistory()
{
    if (m_store)
        enqueue({Job::clear});
}

void GeneralSettingsController::enqueue(Pending pending)
{
    // A newer limit replaces one still waiting: only the last choice matters.
    if (pending.job == Job::prune && !m_queue.empty() && m_queue.back().job == Job::prune)
        m_queue.back() = pending;
    else
        m_queue.push_back(pending);
    if (!m_running)
        startNext();
}

void GeneralSettingsController::startNext()
{
    if (m_queue.empty() || !m_store)
        return;
    const Pending next = m_queue.front();
    m_queue.pop_front();
    const std::shared_ptr<ClipDatabase> db = m_store->sharedDatabase();
    m_running = next.job;
    emit busyChanged();
    if (!db) {
        // Without a database there is nothing to delete; the lists still refresh.
        QMetaObject::invokeMethod(
            this, [this, job = next.job] { finished(job, std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    m_watcher.setFuture(next.job == Job::clear ? QtConcurrent::run(clearAll, db) : QtConcurrent::run(pruneTo, db, next.limit));
}

void GeneralSettingsController::finished(Job job, const std::optional<QString> &error)
{
    m_running.reset();
    if (m_store) {
        m_store->reload();
        if (error)
            m_store->showNotice((job == Job::clear ? tr("Couldn’t clear the history: ") : tr("Couldn’t remove old clips: "))
                                    + *error,
                                Notice::Kind::warning);
    }
    emit busyChanged();
    if (job == Job::clear)
        emit clearFinished(!error, error.value_or(QString()));
    else
        emit pruneFinished(!error);
    startNext();
}

QString GeneralSettingsController::availabilityFooter(IntelligenceService::Availability reason)
{
    if (reason == IntelligenceService::Availability::available)
        return QStringLiteral("Runs entirely on this computer. Long text gets a one-line summary; pinned clips get a short "
                              "title. Secrets are never sent.");
    return QStringLiteral("Summaries and smart titles need an on-device language model, which this system does not provide.");
}

QString GeneralSettingsController::versionText(const QString &build)
{
    return QStringLiteral("Version 1.00 Beta (") + build + u')';
}

QString GeneralSettingsController::versionText() const
{
    return versionText(m_host && !m_host->appBuild().isEmpty() ? m_host->appBuild() : QStringLiteral("1"));
}

QString GeneralSettingsController::keycapText() const { return m_host ? m_host->showWindowKey() : QString(); }

QString GeneralSettingsController::keycapNote(HotKeyStatus status)
{
    switch (status) {
    case HotKeyStatus::registered:
        return {};
    case HotKeyStatus::heldByOtherClient:
        return tr("Another program already uses this key, so it doesn’t open Corvane. Bind “corvane --toggle” to a "
                  "key in your desktop’s keyboard settings.");
    case HotKeyStatus::invalid:
        return tr("This keyboard has no such key. Bind “corvane --toggle” to a key in your desktop’s keyboard settings.");
    case HotKeyStatus::unavailable:
        break;
    }
    return tr("This session has no global keys for Corvane. Bind “corvane --toggle” to a key in your desktop’s "
              "keyboard settings.");
}

QString GeneralSettingsController::keycapNote() const
{
    return keycapNote(m_host ? m_host->showWindowKeyStatus() : HotKeyStatus::unavailable);
}

} // namespace corvane
