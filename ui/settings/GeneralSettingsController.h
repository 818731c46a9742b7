#pragma once

#include "ClipboardStore.h"
#include "GlobalHotKeys.h"
#include "IntelligenceService.h"
#include "SettingsHost.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace corvane {

class AppSettings;
class ClipDatabase;

/**
 * @brief The General tab's rules: storage presets and the prune after a limit change, clearing
 * the history, the pause switch, which switches are enabled, and the footer, version and key texts.
 *
 * Pruning and clearing run on a worker thread one after the other; the store reloads on the main
 * thread after each, whether or not it worked, and a failure shows a warning notice.
 */
class GeneralSettingsController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(corvane::SettingsHost *host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(QVariantList storagePresets READ storagePresets CONSTANT)
    Q_PROPERTY(int storagePresetIndex READ storagePresetIndex WRITE setStoragePresetIndex NOTIFY storageLimitChanged)
    Q_PROPERTY(QString storageUsedText READ storageUsedText NOTIFY storageUsedChanged)
    Q_PROPERTY(bool isPaused READ isPaused WRITE setPaused NOTIFY isPausedChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString busyText READ busyText NOTIFY busyChanged)
    Q_PROPERTY(bool summariesAvailable READ summariesAvailable CONSTANT)
    Q_PROPERTY(QString availabilityText READ availabilityText CONSTANT)
    Q_PROPERTY(QString versionText READ versionText NOTIFY hostChanged)
    Q_PROPERTY(QString keycapText READ keycapText NOTIFY keyChanged)
    Q_PROPERTY(QString keycapNote READ keycapNote NOTIFY keyChanged)

public:
    static inline const QString clearSql = QStringLiteral("DELETE FROM clips WHERE pinned = 0 AND tags = 0");

    explicit GeneralSettingsController(QObject *parent = nullptr);
    ~GeneralSettingsController() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    SettingsHost *host() const { return m_host; }
    void setHost(SettingsHost *host);

    /** [{value, label}] for each storage preset, in stored order: "250 MB" … "5 GB". */
    static QVariantList storagePresets();
    int storagePresetIndex() const;
    /** Stores the preset at `index` as the limit; the prune follows from the change. */
    void setStoragePresetIndex(int index);
    QString storageUsedText() const;

    bool isPaused() const;
    /** On pauses with no end; off resumes. */
    void setPaused(bool paused);

    bool busy() const { return m_running.has_value(); }
    QString busyText() const;

    /** Prunes to `newLimit` when it differs from `oldLimit`, then reloads the store in any case. */
    void onStorageLimitChanged(std::int64_t oldLimit, std::int64_t newLimit);
    /** Deletes every clip that is neither pinned nor tagged and the previews only they held, then reloads. */
    Q_INVOKABLE void clearHistory();

    static bool summariesAvailable() { return IntelligenceService::shared()->isAvailable(); }
    static QString availabilityFooter(IntelligenceService::Availability reason);
    static QString availabilityText() { return availabilityFooter(IntelligenceService::shared()->unavailableReason()); }
    static QString versionText(const QString &build);
    QString versionText() const;
    QString keycapText() const;
    static QString keycapNote(HotKeyStatus status);
    QString keycapNote() const;

signals:
    void storeChanged();
    void hostChanged();
    void storageLimitChanged();
    void storageUsedChanged();
    void isPausedChanged();
    void busyChanged();
    void keyChanged();
    /** A clear ended; on failure `error` says why. */
    void clearFinished(bool ok, const QString &error);
    /** A prune after a limit change ended (also when there was nothing to prune). */
    void pruneFinished(bool ok);

private:
    enum class Job { prune, clear };
    struct Pending {
        Job job;
        std::int64_t limit = 0;
    };

    AppSettings *settings() const;
    void enqueue(Pending pending);
    void startNext();
    void finished(Job job, const std::optional<QString> &error);

    QPointer<ClipboardStore> m_store;
    QPointer<SettingsHost> m_host;
    std::int64_t m_knownLimit = 0;
    std::deque<Pending> m_queue;
    std::optional<Job> m_running;
    QFutureWatcher<std::optional<QString>> m_watcher;
    QMetaObject::Connection m_limitConnection;
};

} // namespace corvane
