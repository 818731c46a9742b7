#include "PrivacyTabModel.h"

#include "AppSettings.h"
#include "ClipboardStore.h"
#include "DesktopEntries.h"
#include "PrivacyPolicy.h"
#include "SettingsHost.h"

#include <QCollator>
#include <QGuiApplication>
#include <QLocale>

#include <algorithm>

namespace corvane {

PrivacyTabModel::PrivacyTabModel(QObject *parent)
    : QObject(parent)
    , m_selfID(QGuiApplication::desktopFileName())
    , m_overrides(new AppListModel(this))
    , m_exclusions(new AppListModel(this))
    , m_running(new AppListModel(this))
    , m_nameSkipped(new AppListModel(this))
{
}

AppSettings *PrivacyTabModel::settings() const { return m_store ? m_store->settings() : nullptr; }

void PrivacyTabModel::setStore(ClipboardStore *store)
{
    if (store == m_store)
        return;
    if (m_store) {
        m_store->disconnect(this);
        settings()->disconnect(this);
    }
    m_store = store;
    if (m_store) {
        connect(m_store, &ClipboardStore::recentSkipsChanged, this, &PrivacyTabModel::recentSkipsChanged);
        connect(settings(), &AppSettings::userExclusionsChanged, this, &PrivacyTabModel::updateLists);
        connect(settings(), &AppSettings::nameRuleOverridesChanged, this, &PrivacyTabModel::updateLists);
    }
    emit storeChanged();
    emit recentSkipsChanged();
    updateLists();
}

void PrivacyTabModel::setHost(SettingsHost *host)
{
    if (host == m_host)
        return;
    if (m_host && m_host->runningApps())
        m_host->runningApps()->disconnect(this);
    m_host = host;
    if (m_host && m_host->runningApps())
        connect(m_host->runningApps(), &RunningAppsProvider::windowListChanged, this, &PrivacyTabModel::windowListChanged);
    emit hostChanged();
}

bool PrivacyTabModel::knowsRunningApps() const { return m_host && m_host->runningApps() && m_host->runningApps()->isAvailable(); }

QVariantList PrivacyTabModel::recentSkips() const
{
    QVariantList skips;
    if (!m_store)
        return skips;
    for (const SkippedCopy &skip : m_store->recentSkips()) {
        QVariantMap row = skip.toVariantMap();
        row.insert(QStringLiteral("time"), skipTime(skip.date));
        skips.append(row);
    }
    return skips;
}

QVariantList PrivacyTabModel::protectedAppValues()
{
    QVariantList rows;
    for (const ExcludedApp &app : protectedRows())
        rows.append(QVariantMap{{QStringLiteral("bundleID"), app.bundleID}, {QStringLiteral("name"), app.name}});
    return rows;
}

QList<ExcludedApp> PrivacyTabModel::filterRunningApps(const QList<RunningApp> &raw, const QString &selfID,
                                                      const QList<ExcludedApp> &exclusions)
{
    QList<ExcludedApp> apps;
    for (const RunningApp &app : raw) {
        if (!app.regular || app.id.isEmpty() || (!selfID.isEmpty() && app.id == selfID)
            || PrivacyPolicy::isProtectedBundleID(app.id)
            || std::any_of(exclusions.begin(), exclusions.end(), [&app](const ExcludedApp &e) { return e.bundleID == app.id; }))
            continue;
        apps.append({app.id, app.name.isEmpty() ? app.id : app.name});
    }
    QCollator collator{QLocale::system()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(apps.begin(), apps.end(),
                     [&collator](const ExcludedApp &a, const ExcludedApp &b) { return collator.compare(a.name, b.name) < 0; });
    // Several windows of one app: the first stays.
    QSet<QString> seen;
    apps.removeIf([&seen](const ExcludedApp &app) {
        if (seen.contains(app.bundleID))
            return true;
        seen.insert(app.bundleID);
        return false;
    });
    return apps;
}

QList<ExcludedApp> PrivacyTabModel::nameSkipped(const QList<ExcludedApp> &running, const QList<ExcludedApp> &overrides)
{
    QList<ExcludedApp> apps;
    for (const ExcludedApp &app : running) {
        const bool overridden = std::any_of(overrides.begin(), overrides.end(),
                                            [&app](const ExcludedApp &o) { return o.bundleID == app.bundleID; });
        if (!overridden && PrivacyPolicy::hasSensitiveName(app.name))
            apps.append(app);
    }
    return apps;
}

QList<ExcludedApp> PrivacyTabModel::protectedRows()
{
    QList<ExcludedApp> rows;
    for (const PrivacyPolicy::ProtectedApp &app : PrivacyPolicy::protectedApps())
        rows.append({app.bundleIDs.isEmpty() ? app.name : app.bundleIDs.first(), app.name});
    return rows;
}

QString PrivacyTabModel::skipTime(const QDateTime &date)
{
    return QLocale::system().toString(date.toLocalTime().time(), QLocale::ShortFormat);
}

bool PrivacyTabModel::hasIcon(const QString &bundleID) const
{
    if (!m_host || !m_host->desktopEntries())
        return false;
    const auto entry = m_host->desktopEntries()->entry(bundleID);
    return entry && !entry->icon.isEmpty();
}

QList<RunningApp> PrivacyTabModel::rawApps() const
{
    if (knowsRunningApps())
        return m_host->runningApps()->runningApps();
    // No window list here: offer what is installed.
    QList<RunningApp> installed;
    if (m_host && m_host->desktopEntries()) {
        for (const DesktopEntry &entry : m_host->desktopEntries()->allEntries()) {
            if (!entry.noDisplay)
                installed.append({entry.id, entry.name, true});
        }
    }
    return installed;
}

void PrivacyTabModel::refresh()
{
    const QList<RunningApp> raw = rawApps();
    m_seenIDs.clear();
    for (const RunningApp &app : raw)
        m_seenIDs.insert(app.id);
    m_runningApps = filterRunningApps(raw, m_selfID, settings() ? settings()->userExclusions() : QList<ExcludedApp>());
    updateLists();
}

void PrivacyTabModel::windowListChanged()
{
    // Only a newly appeared app rebuilds the list; one that quit stays until the next rebuild.
    if (!knowsRunningApps())
        return;
    const QList<RunningApp> raw = m_host->runningApps()->runningApps();
    bool appeared = false;
    QSet<QString> ids;
    for (const RunningApp &app : raw) {
        ids.insert(app.id);
        appeared = appeared || !m_seenIDs.contains(app.id);
    }
    if (!appeared) {
        m_seenIDs = ids;
        return;
    }
    refresh();
}

void PrivacyTabModel::updateLists()
{
    const bool overridesShown = showOverrides(), nameSkippedShown = showNameSkipped();
    const QList<ExcludedApp> overrides = settings() ? settings()->nameRuleOverrides() : QList<ExcludedApp>();
    m_overrides->setApps(overrides);
    m_exclusions->setApps(settings() ? settings()->userExclusions() : QList<ExcludedApp>());
    m_running->setApps(m_runningApps);
    m_nameSkipped->setApps(nameSkipped(m_runningApps, overrides));
    if (overridesShown != showOverrides() || nameSkippedShown != showNameSkipped())
        emit listsChanged();
}

void PrivacyTabModel::addExclusion(const QString &bundleID, const QString &name)
{
    if (!settings())
        return;
    settings()->addExclusion(bundleID, name);
    refresh();
}

void PrivacyTabModel::removeExclusion(const QString &bundleID)
{
    if (!settings())
        return;
    settings()->removeExclusion(bundleID);
    refresh();
}

void PrivacyTabModel::allow(const QString &bundleID, const QString &name)
{
    if (!settings())
        return;
    settings()->addNameRuleOverride(bundleID, name);
    refresh();
}

void PrivacyTabModel::skipAgain(const QString &bundleID)
{
    if (!settings())
        return;
    settings()->removeNameRuleOverride(bundleID);
    refresh();
}

} // namespace corvane
