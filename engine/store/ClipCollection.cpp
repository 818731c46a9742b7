#include "ClipCollection.h"

#include "ClipText.h"

#include <algorithm>

namespace corvane {

namespace {

/** Start of a clip's calendar day, remembering the last day found (clips come in date order). */
class DayStarts {
public:
    explicit DayStarts(const QTimeZone &zone) : m_zone(zone) {}

    std::int64_t of(double createdAt)
    {
        const auto ms = std::int64_t(createdAt * 1000.0);
        if (ms >= m_startMs && ms < m_endMs)
            return m_startMs / 1000;
        const QDateTime moment = QDateTime::fromMSecsSinceEpoch(ms, m_zone);
        m_startMs = ClipText::startOfDay(moment, m_zone).toMSecsSinceEpoch();
        m_endMs = ClipText::startOfNextDay(moment, m_zone).toMSecsSinceEpoch();
        return m_startMs / 1000;
    }

private:
    QTimeZone m_zone;
    std::int64_t m_startMs = 1;
    std::int64_t m_endMs = 0;
};

/** Hosts of source URLs, parsed once per distinct URL (clips from one page share it). */
class SourceHosts {
public:
    QString of(const Clip &clip)
    {
        if (!clip.sourceURL || clip.sourceURL->isEmpty())
            return {};
        auto it = m_hosts.constFind(*clip.sourceURL);
        if (it == m_hosts.constEnd())
            it = m_hosts.insert(*clip.sourceURL, clip.sourceHost().value_or(QString()));
        return *it;
    }

private:
    QHash<QString, QString> m_hosts;
};

ClipEntry makeEntry(Clip &&clip, DayStarts &days, SourceHosts &hosts, QHash<QString, int> &sourceIds)
{
    ClipEntry entry;
    entry.id = clip.id;
    entry.group = clip.group;
    entry.isPinned = clip.isPinned;
    entry.tagMask = clip.tagMask;
    entry.createdAt = clip.createdAt;
    entry.storageBytes = clip.byteSize + clip.thumbnailPng.size();
    entry.dayStart = days.of(clip.createdAt);
    // As Clip::sourceKey and Clip::sourceDisplayName, with the URL parsed once.
    entry.sourceHost = hosts.of(clip);
    entry.sourceKey = entry.sourceHost.isEmpty() ? clip.sourceBundleID.value_or(QString())
                                                 : QStringLiteral("web:") + entry.sourceHost;
    if (!entry.sourceKey.isEmpty()) {
        auto id = sourceIds.constFind(entry.sourceKey);
        if (id == sourceIds.constEnd())
            id = sourceIds.insert(entry.sourceKey, int(sourceIds.size()));
        entry.sourceId = *id;
        entry.sourceKey = id.key(); // one copy per source, not one per clip
    }
    if (!entry.sourceHost.isEmpty())
        entry.sourceDisplayName = entry.sourceHost;
    else if (clip.sourceName && !clip.sourceName->isEmpty())
        entry.sourceDisplayName = *clip.sourceName;
    else
        entry.sourceDisplayName = QStringLiteral("Unknown");
    entry.clip = std::make_shared<const Clip>(std::move(clip));
    return entry;
}

double pinOrderDate(const Clip &clip) { return clip.pinnedAt.value_or(clip.createdAt); }

/** The database's order: newest first, the higher id first on equal dates. */
bool newestFirst(const ClipEntry &a, const ClipEntry &b)
{
    if (a.createdAt != b.createdAt)
        return a.createdAt > b.createdAt;
    return a.id > b.id;
}

} // namespace

QStringList ClipEntry::searchFields(const Clip &clip, const QString &sourceDisplayName)
{
    QStringList fields;
    auto add = [&fields](const std::optional<QString> &field) {
        if (field && !field->isEmpty())
            fields.append(*field);
    };
    if (clip.group != ClipGroup::secret)
        add(clip.text);
    add(clip.note);
    add(clip.smartTitle);
    add(clip.summary);
    add(clip.detail);
    fields.append(sourceDisplayName);
    return fields;
}

const FuzzyHaystack &ClipEntry::searchIndex() const
{
    if (!haystack)
        haystack = std::make_shared<const FuzzyHaystack>(searchFields(*clip, sourceDisplayName));
    return *haystack;
}

bool sameStoredClip(const Clip &a, const Clip &b)
{
    return a.id == b.id && a.group == b.group && a.createdAt == b.createdAt && a.isPinned == b.isPinned
        && a.pinnedAt == b.pinnedAt && a.tagMask == b.tagMask && a.note == b.note && a.summary == b.summary
        && a.smartTitle == b.smartTitle && a.sourceName == b.sourceName && a.sourceBundleID == b.sourceBundleID
        && a.sourceURL == b.sourceURL && a.byteSize == b.byteSize && a.imageSize == b.imageSize
        && a.detail == b.detail && a.storedPreview == b.storedPreview
        && a.textLength == b.textLength && a.textIsTruncated == b.textIsTruncated
        && a.text.has_value() == b.text.has_value() && a.thumbnailPng == b.thumbnailPng;
}

bool ClipCollection::replace(QList<Clip> loaded, const QTimeZone &zone)
{
    const bool zoneChanged = zone != m_zone;
    m_zone = zone;
    DayStarts days(zone);
    SourceHosts hosts;
    std::vector<ClipEntry> &entries = writableEntries();
    std::vector<ClipEntry> fresh;
    fresh.reserve(loaded.size());
    bool changed = zoneChanged || std::size_t(loaded.size()) != entries.size();
    for (qsizetype i = 0; i < loaded.size(); ++i) {
        Clip &clip = loaded[i];
        const int old = zoneChanged ? -1 : indexOf(clip.id);
        if (old >= 0 && sameStoredClip(*entries[old].clip, clip)) {
            fresh.push_back(std::move(entries[old]));
            changed = changed || old != int(i);
        } else {
            fresh.push_back(makeEntry(std::move(clip), days, hosts, m_sourceIds));
            changed = true;
        }
    }
    entries = std::move(fresh); // unchanged entries were moved over, indexes stay valid
    if (!changed)
        return false;
    rebuildIndexes();
    ++m_revision;
    return true;
}


bool ClipCollection::patch(QList<Clip> changed, const QSet<std::int64_t> &removed)
{
    bool differs = false;
    bool redated = false;
    // Positions, pins or membership changed: the indexes are rebuilt. A plain value edit (a
    // note, a tag) leaves them as they are, so it costs the edit alone, however long the history.
    bool restructured = !removed.isEmpty();
    std::vector<ClipEntry> &entries = writableEntries();
    const std::size_t loadedCount = entries.size();
    DayStarts days(m_zone);
    SourceHosts hosts;
    // Edits in place: with 100,000 clips, copying the entries would cost more than the edit.
    for (Clip &clip : changed) {
        if (removed.contains(clip.id))
            continue;
        const int at = indexOf(clip.id);
        if (at >= 0 && sameStoredClip(*entries[at].clip, clip))
            continue;
        differs = true;
        if (at < 0) {
            restructured = true;
            entries.push_back(makeEntry(std::move(clip), days, hosts, m_sourceIds));
            continue;
        }
        const Clip &old = *entries[at].clip;
        redated = redated || clip.createdAt != old.createdAt;
        restructured = restructured || clip.isPinned != old.isPinned || clip.pinnedAt != old.pinnedAt;
        m_storageUsed += clip.byteSize + clip.thumbnailPng.size() - old.byteSize - old.thumbnailPng.size();
        entries[at] = makeEntry(std::move(clip), days, hosts, m_sourceIds);
        if (m_all)
            (*m_all)[at] = entries[at].clip;
    }
    if (redated) {
        sortByDate();
    } else if (entries.size() > loadedCount) {
        // New clips only: sorted among themselves, then merged in, instead of sorting everything.
        const auto added = entries.begin() + std::ptrdiff_t(loadedCount);
        std::stable_sort(added, entries.end(), newestFirst);
        std::inplace_merge(entries.begin(), added, entries.end(), newestFirst);
    }
    if (!removed.isEmpty()) {
        const auto end = std::remove_if(entries.begin(), entries.end(),
                                        [&removed](const ClipEntry &entry) { return removed.contains(entry.clip->id); });
        differs = differs || end != entries.end();
        entries.erase(end, entries.end());
    }
    if (!differs)
        return false;
    if (redated || restructured)
        rebuildIndexes();
    ++m_revision;
    return true;
}

void ClipCollection::sortByDate()
{
    std::vector<ClipEntry> &entries = writableEntries();
    std::stable_sort(entries.begin(), entries.end(), newestFirst);
}

void ClipCollection::clear()
{
    if (m_entries->empty())
        return;
    writableEntries().clear();
    rebuildIndexes();
    ++m_revision;
}

const ClipEntry *ClipCollection::entry(std::int64_t id) const
{
    const int index = indexOf(id);
    return index < 0 ? nullptr : &(*m_entries)[index];
}

std::vector<ClipEntry> &ClipCollection::writableEntries()
{
    if (m_entries.use_count() > 1)
        m_entries = std::make_shared<std::vector<ClipEntry>>(*m_entries);
    return *m_entries;
}

void ClipCollection::adoptSearchIndex(const ClipRef &clip, std::shared_ptr<const FuzzyHaystack> index)
{
    const int at = indexOf(clip->id);
    if (at < 0)
        return;
    ClipEntry &entry = writableEntries()[at];
    if (entry.clip == clip && !entry.haystack)
        entry.haystack = std::move(index);
}

const ClipList &ClipCollection::all() const
{
    if (!m_all) {
        ClipList all;
        all.reserve(qsizetype(m_entries->size()));
        for (const ClipEntry &entry : *m_entries)
            all.append(entry.clip);
        m_all = std::move(all);
    }
    return *m_all;
}

QSet<std::int64_t> ClipCollection::ids() const
{
    QSet<std::int64_t> result;
    result.reserve(m_entries->size());
    for (const ClipEntry &entry : *m_entries)
        result.insert(entry.clip->id);
    return result;
}

ClipList ClipCollection::toList(const std::vector<int> &indices) const
{
    // Copying a reference writes its count next to the clip; asking for those lines a few clips
    // ahead hides most of the wait for memory on long lists.
    constexpr std::size_t ahead = 8;
    const std::vector<ClipEntry> &entries = *m_entries;
    ClipList list;
    list.reserve(qsizetype(indices.size()));
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i + ahead < indices.size())
            __builtin_prefetch(entries[indices[i + ahead]].clip.get(), 1);
        list.append(entries[indices[i]].clip);
    }
    return list;
}

void ClipCollection::rebuildIndexes()
{
    // Reads the entries' own copies only: visiting a million clips would miss the cache each time.
    const std::vector<ClipEntry> &entries = *m_entries;
    std::int64_t maxID = 0;
    for (const ClipEntry &entry : entries)
        maxID = std::max(maxID, entry.id);
    m_index.reset(maxID, entries.size());
    m_all.reset();
    m_storageUsed = 0;
    std::vector<int> pinned;
    std::vector<int> others;
    others.reserve(entries.size());
    for (int i = 0; i < int(entries.size()); ++i) {
        const ClipEntry &entry = entries[i];
        m_index.insert(entry.id, i);
        m_storageUsed += entry.storageBytes;
        (entry.isPinned ? pinned : others).push_back(i);
    }
    std::stable_sort(pinned.begin(), pinned.end(), [&entries](int a, int b) {
        return pinOrderDate(*entries[a].clip) > pinOrderDate(*entries[b].clip);
    });
    // A fresh order rather than a changed one: a snapshot may still read the old.
    pinned.insert(pinned.end(), others.begin(), others.end());
    m_listOrder = std::make_shared<std::vector<int>>(std::move(pinned));
}

} // namespace corvane
