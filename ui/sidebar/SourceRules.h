#pragma once

#include "SourceApp.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace corvane {

class ClipboardStore;

/** @brief What the sidebar shows of the sources and how its source actions change the lists. */
namespace SourceRules {

/** The sources popover offers its filter field from this many sources on. */
inline constexpr int filterFieldThreshold = 16;

bool filterFieldVisible(int total);

/**
 * The popover's list: every source in ranked order, hidden ones included; with a query, those whose
 * name contains it, ignoring case (the key is never matched, the query never trimmed). The query
 * only filters while its field is shown, so it cannot hide sources once the field is gone.
 */
QList<SourceApp> filterSources(const QList<SourceApp> &sources, const QString &query, bool fieldShown);

/**
 * Whether "Show all" follows the source rows: some visible source did not fit, or a source that
 * still has clips is hidden. Hidden keys of sources without clips are left out, since the popover
 * could not list them to be shown again.
 */
bool showAllVisible(const QList<SourceApp> &sources, int sidebarRowCount, const QStringList &hidden);

/**
 * Calls `rebuild` whenever the history or the kept or hidden sources change, until `receiver`
 * goes or unfollowSources. The store also says sidebarSourcesChanged after every reload; the
 * settings' own signals cover the rest, so one reload costs one rebuild.
 */
void followSources(ClipboardStore &store, QObject *receiver, const std::function<void()> &rebuild);
void unfollowSources(ClipboardStore &store, QObject *receiver);

/** Keep unless kept, else stop keeping. */
void toggleKept(ClipboardStore &store, const QString &key);
/** Hide unless hidden, else show again. */
void toggleHidden(ClipboardStore &store, const QString &key);

} // namespace SourceRules
} // namespace corvane
