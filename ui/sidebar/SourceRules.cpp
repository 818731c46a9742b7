#include "SourceRules.h"

#include "AppSettings.h"
#include "ClipboardStore.h"

namespace corvane::SourceRules {

bool filterFieldVisible(int total) { return total >= filterFieldThreshold; }

QList<SourceApp> filterSources(const QList<SourceApp> &sources, const QString &query, bool fieldShown)
{
    if (query.isEmpty() || !fieldShown)
        return sources;
    QList<SourceApp> matching;
    for (const SourceApp &source : sources) {
        if (source.name.contains(query, Qt::CaseInsensitive))
            matching.append(source);
    }
    return matching;
}

bool showAllVisible(const QList<SourceApp> &sources, int sidebarRowCount, const QStringList &hidden)
{
    int visible = 0;
    bool anyHidden = false;
    for (const SourceApp &source : sources) {
        if (hidden.contains(source.bundleID))
            anyHidden = true;
        else
            ++visible;
    }
    return visible > sidebarRowCount || anyHidden;
}

void followSources(ClipboardStore &store, QObject *receiver, const std::function<void()> &rebuild)
{
    QObject::connect(&store, &ClipboardStore::clipsChanged, receiver, rebuild);
    QObject::connect(store.settings(), &AppSettings::keptSourcesChanged, receiver, rebuild);
    QObject::connect(store.settings(), &AppSettings::hiddenSourcesChanged, receiver, rebuild);
}

void unfollowSources(ClipboardStore &store, QObject *receiver)
{
    store.disconnect(receiver);
    store.settings()->disconnect(receiver);
}

void toggleKept(ClipboardStore &store, const QString &key)
{
    if (store.settings()->keptSources().contains(key))
        store.unkeepSource(key);
    else
        store.keepSource(key);
}

void toggleHidden(ClipboardStore &store, const QString &key)
{
    if (store.settings()->hiddenSources().contains(key))
        store.unhideSource(key);
    else
        store.hideSource(key);
}

} // namespace corvane::SourceRules
