#pragma once

#include "AppListModel.h"
#include "ClipboardStore.h"
#include "ExcludedApp.h"
#include "RunningAppsProvider.h"
#include "SettingsHost.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace corvane {

class AppSettings;

/**
 * @brief The Privacy tab's lists and edits: recent skips, the always-skipped password managers,
 * the name-rule overrides, the user's exclusions with the apps that may still be excluded, and the
 * running apps the name rule skips.
 *
 * The apps offered are rebuilt when the tab appears, when a new app shows up on the desktop and
 * after every edit, never when an app quits. Without a window list (no X11) the installed apps are
 * offered instead.
 */
class PrivacyTabModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(corvane::SettingsHost *host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(QVariantList recentSkips READ recentSkips NOTIFY recentSkipsChanged)
    Q_PROPERTY(QVariantList protectedApps READ protectedAppValues CONSTANT)
    Q_PROPERTY(corvane::AppListModel *overrides READ overrides CONSTANT)
    Q_PROPERTY(corvane::AppListModel *exclusions READ exclusions CONSTANT)
    Q_PROPERTY(corvane::AppListModel *runningApps READ runningApps CONSTANT)
    Q_PROPERTY(corvane::AppListModel *nameSkippedApps READ nameSkippedApps CONSTANT)
    Q_PROPERTY(bool showOverrides READ showOverrides NOTIFY listsChanged)
    Q_PROPERTY(bool showNameSkipped READ showNameSkipped NOTIFY listsChanged)
    Q_PROPERTY(bool knowsRunningApps READ knowsRunningApps NOTIFY hostChanged)

public:
    explicit PrivacyTabModel(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    SettingsHost *host() const { return m_host; }
    void setHost(SettingsHost *host);
    /** This app's own id, never offered; the desktop-file name by default. */
    void setSelfID(const QString &id) { m_selfID = id; }

    QVariantList recentSkips() const;
    static QVariantList protectedAppValues();
    AppListModel *overrides() const { return m_overrides; }
    AppListModel *exclusions() const { return m_exclusions; }
    AppListModel *runningApps() const { return m_running; }
    AppListModel *nameSkippedApps() const { return m_nameSkipped; }
    bool showOverrides() const { return m_overrides->count() > 0; }
    bool showNameSkipped() const { return m_nameSkipped->count() > 0; }
    bool knowsRunningApps() const;

    /** Regular apps with an id that are not this app, protected or excluded; sorted by name, one per id. */
    static QList<ExcludedApp> filterRunningApps(const QList<RunningApp> &raw, const QString &selfID,
                                                const QList<ExcludedApp> &exclusions);
    /** Running apps with a password-like name and no override. */
    static QList<ExcludedApp> nameSkipped(const QList<ExcludedApp> &running, const QList<ExcludedApp> &overrides);
    /** One row per protected password manager: its first id (or its name) and its name. */
    static QList<ExcludedApp> protectedRows();
    /** The time of day only, in the short format of the user's locale. */
    static QString skipTime(const QDateTime &date);

    /** Whether the desktop names an icon for the app (else the placeholder is drawn). */
    Q_INVOKABLE bool hasIcon(const QString &bundleID) const;
    /** Rebuilds the apps offered from the desktop. */
    Q_INVOKABLE void refresh();
    Q_INVOKABLE void addExclusion(const QString &bundleID, const QString &name);
    Q_INVOKABLE void removeExclusion(const QString &bundleID);
    Q_INVOKABLE void allow(const QString &bundleID, const QString &name);
    Q_INVOKABLE void skipAgain(const QString &bundleID);

signals:
    void storeChanged();
    void hostChanged();
    void recentSkipsChanged();
    void listsChanged();

private:
    AppSettings *settings() const;
    QList<RunningApp> rawApps() const;
    void windowListChanged();
    void updateLists();

    QPointer<ClipboardStore> m_store;
    QPointer<SettingsHost> m_host;
    QString m_selfID;
    QList<ExcludedApp> m_runningApps;
    QSet<QString> m_seenIDs;
    AppListModel *m_overrides;
    AppListModel *m_exclusions;
    AppListModel *m_running;
    AppListModel *m_nameSkipped;
};

} // namespace corvane
