#include "ClipCollection.h"

#include "ClipText.h"

#include <algorithm>
#include <bit>

namespace corvane {

namespace {

/** Start of a clip's calendar day, remembering the last day found (clips come in date order). */
class DayStarts
{
public:
    explicit DayStarts(const QTimeZone &zone)
        : m_zone(zone)
    {
    }

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
class SourceHosts
{
public:
    QString of(const Clip &clip)
    {
        const std::optional<QString> &url = clip.sourceURL();
        if (!url || url->isEmpty())
            return {};
        auto it = m_hosts.constFind(*url);
        if (it == m_hosts.constEnd())
            it = m_hosts.insert(*url, clip.sourceHost().value_or(QString()));
        return *it;
    }

private:
    QHash<QString, QString> m_hosts;
};

/** The entry of `clip`, holding no object yet. */
ClipEntry entryOf(const Clip &clip, DayStarts &days, SourceHosts &hosts, ClipSources &sources)
{
    ClipEntry entry;
    entry.id = clip.id;
    entry.group = clip.group;
    entry.isPinned = clip.isPinned;
    entry.tagMask = std::uint8_t(clip.tagMask & ColorTags::knownBits);
    entry.createdAt = clip.createdAt;
    const std::int64_t storage = clip.byteSize + clip.thumbnailPng.size();
    entry.storage = storage >= 0 && storage < ClipEntry::largeStorage ? std::uint32_t(storage) : ClipEntry::largeStorage;
    entry.dayOffset = std::int32_t(std::int64_t(clip.createdAt) - days.of(clip.createdAt));
    entry.source = sources.of(clip, hosts.of(clip));
    entry.stamp = changeableStamp(clip);
    return entry;
}

ClipEntry makeEntry(Clip &&clip, DayStarts &days, SourceHosts &hosts, ClipSources &sources)
{
    ClipEntry entry = entryOf(clip, days, hosts, sources);
    entry.clip = std::make_shared<const Clip>(std::move(clip));
    return entry;
}

/**
 * Room for the clips still to come: growing a million entries by copying them would stall the
 * copy that needs it, and room not yet written costs no memory.
 */
std::size_t withRoomToGrow(std::size_t count) { return count + count / 8 + 16; }

/** Pinned clips are always held (see ClipCollection::holds). */
double pinOrderDate(const ClipEntry &entry) { return entry.clip ? entry.clip->pinnedAt.value_or(entry.createdAt) : entry.createdAt; }

void mix(std::uint64_t &hash, std::uint64_t value)
{
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
}

void mix(std::uint64_t &hash, const OptionalString &value)
{
    mix(hash, value ? qHash(*value, 1) : 0x5A17);
}

/** The database's order: newest first, the higher id first on equal dates. */
bool newestFirst(const ClipEntry &a, const ClipEntry &b)
{
    if (a.createdAt != b.createdAt)
        return a.createdAt > b.createdAt;
    return a.id > b.id;
}

} // namespace

const ClipSource ClipEntry::noSource;

std::uint32_t changeableStamp(const std::optional<double> &pinnedAt, std::int64_t tags, std::int64_t byteSize, const QSize &imageSize,
                              std::int64_t thumbnailLength, const OptionalString &note, const OptionalString &summary,
                              const OptionalString &smartTitle, const OptionalString &detail)
{
    std::uint64_t hash = 0;
    mix(hash, pinnedAt ? std::bit_cast<std::uint64_t>(*pinnedAt) : 0x7FF8DEAD);
    mix(hash, std::uint64_t(tags));
    mix(hash, std::uint64_t(byteSize));
    mix(hash, std::uint64_t(std::uint32_t(imageSize.width())) << 32 | std::uint32_t(imageSize.height()));
    mix(hash, std::uint64_t(thumbnailLength));
    mix(hash, note);
    mix(hash, summary);
    mix(hash, smartTitle);
    mix(hash, detail);
    return std::uint32_t(hash ^ (hash >> 32));
}

std::uint32_t changeableStamp(const Clip &clip)
{
    return changeableStamp(clip.pinnedAt, clip.tagMask, clip.byteSize, clip.imageSize, clip.thumbnailPng.size(), clip.note,
                           clip.summary, clip.smartTitle, clip.detail);
}

const ClipSource *ClipSources::of(const Clip &clip, const QString &host)
{
    // As Clip::sourceKey and Clip::sourceDisplayName, with the URL's host already worked out.
    std::lock_guard lock(m_mutex);
    const ClipSource **known = nullptr;
    ClipSource source;
    const QString name = clip.sourceName().value_or(QString());
    if (!host.isEmpty()) {
        known = &m_web[{host, name}];
        if (!*known)
            source = {QStringLiteral("web:") + host, host, host, name};
    } else {
        known = &m_apps[{clip.sourceBundleID().value_or(QString()), name}];
        if (!*known)
            source = {clip.sourceBundleID().value_or(QString()), {}, name.isEmpty() ? QStringLiteral("Unknown") : name, name};
    }
    if (*known)
        return *known;
    if (!source.key.isEmpty()) {
        auto id = m_ids.constFind(source.key);
        if (id == m_ids.constEnd())
            id = m_ids.insert(source.key, int(m_ids.size()));
        source.id = *id;
    }
    *known = &m_sources.emplace_back(std::move(source));
    return *known;
}

void ClipTallies::countApartFromDay(const ClipEntry &entry, int by)
{
    pinned += entry.isPinned ? by : 0;
    groups[std::size_t(entry.group)] += by;
    for (unsigned mask = entry.tagMask; mask != 0; mask &= mask - 1)
        tags[std::size_t(std::countr_zero(mask))] += by;
    sources.count(entry.source, entry.createdAt, entry.id, by);
}

void ClipTallies::count(const ClipEntry &entry, int by)
{
    countApartFromDay(entry, by);
    const auto day = days.try_emplace(entry.dayStart(), 0).first;
    if ((day->second += by) == 0)
        days.erase(day);
}

ClipEntry::SearchFields ClipEntry::searchFields(const Clip &clip, const QString &sourceDisplayName, const QString *secretText)
{
    SearchFields fields;
    auto add = [&fields](const auto &field) {
        if (field && !field->isEmpty())
            fields.views[fields.count++] = *field;
    };
    // Views need a text held in memory; the index of a clip that holds none is built as it loads.
    add(clip.group == ClipGroup::secret ? secretText : clip.heldText());
    add(clip.note);
    add(clip.smartTitle);
    add(clip.summary);
    add(clip.detail);
    fields.views[fields.count++] = sourceDisplayName;
    return fields;
}

const FuzzyHaystack &ClipEntry::searchIndex() const
{
    if (!haystack && clip) // an entry without its object got its index before letting go of it
        haystack = FuzzyHaystack(searchFields().span());
    return haystack;
}

bool sameStoredClip(const Clip &a, const Clip &b)
{
    return a.id == b.id && a.group == b.group && a.createdAt == b.createdAt && a.isPinned == b.isPinned
        && a.pinnedAt == b.pinnedAt && a.tagMask == b.tagMask && a.note == b.note && a.summary == b.summary
        && a.smartTitle == b.smartTitle && a.origin == b.origin
        && a.byteSize == b.byteSize && a.imageSize == b.imageSize && a.detail == b.detail
        && a.storedPreview == b.storedPreview && a.textLength == b.textLength && a.textIsTruncated == b.textIsTruncated
        && a.hasText() == b.hasText() && a.thumbnailPng == b.thumbnailPng;
}

bool sameStoredClip(const ClipEntry &entry, const Clip &clip)
{
    if (entry.clip)
        return sameStoredClip(*entry.clip, clip);
    // Texts, kinds and sources never change for a row; what can is in the entry or its stamp.
    return entry.id == clip.id && entry.group == clip.group && entry.createdAt == clip.createdAt
        && entry.isPinned == clip.isPinned && entry.tagMask == std::uint8_t(clip.tagMask & ColorTags::knownBits)
        && entry.stamp == changeableStamp(clip);
}

static_assert(sizeof(ClipEntry) <= 64, "a million entries: keep an entry within one cache line");

bool ClipCollection::holds(const ClipEntry &entry, std::size_t position) const
{
    // Pinned clips keep their pin date for the list order, large ones their exact size.
    return !m_onDemand || position < std::size_t(m_heldNewest) || entry.isPinned || entry.storage == ClipEntry::largeStorage;
}

void ClipCollection::release(ClipEntry &entry, std::size_t position) const
{
    if (!entry.clip || holds(entry, position))
        return;
    entry.searchIndex();
    entry.clip.reset();
}

void ClipCollection::setOnDemand(std::shared_ptr<OnDemandClips> clips, int heldNewest)
{
    m_onDemand = std::move(clips);
    m_heldNewest = heldNewest;
}

ClipRef ClipCollection::clipAt(int index) const
{
    const ClipEntry &entry = (*m_entries)[std::size_t(index)];
    if (entry.clip || !m_onDemand)
        return entry.clip;
    return m_onDemand->get(entry.id);
}

bool ClipCollection::replace(QList<Clip> loaded, const QTimeZone &zone, std::vector<FuzzyHaystack> indexes)
{
    const bool zoneChanged = zone != m_zone;
    m_zone = zone;
    DayStarts days(zone);
    SourceHosts hosts;
    std::vector<ClipEntry> &entries = writableEntries();
    std::vector<ClipEntry> fresh;
    fresh.reserve(withRoomToGrow(std::size_t(loaded.size())));
    bool changed = zoneChanged || std::size_t(loaded.size()) != entries.size();
    for (qsizetype i = 0; i < loaded.size(); ++i) {
        Clip &clip = loaded[i];
        const int old = zoneChanged ? -1 : indexOf(clip.id);
        FuzzyHaystack *index = std::size_t(i) < indexes.size() ? &indexes[std::size_t(i)] : nullptr;
        if (old >= 0 && sameStoredClip(entries[old], clip)) {
            fresh.push_back(std::move(entries[old]));
            changed = changed || old != int(i);
        } else {
            // Most clips of a large history get no object: none is made for them.
            ClipEntry entry = entryOf(clip, days, hosts, *m_sources);
            if (index)
                entry.haystack = std::move(*index);
            if (holds(entry, fresh.size()))
                entry.clip = std::make_shared<const Clip>(std::move(clip));
            else if (!entry.haystack)
                entry.haystack = FuzzyHaystack(ClipEntry::searchFields(clip, entry.sourceDisplayName()).span());
            fresh.push_back(std::move(entry));
            changed = true;
        }
        if (index && !fresh.back().haystack)
            fresh.back().haystack = std::move(*index);
        release(fresh.back(), fresh.size() - 1);
    }
    entries = std::move(fresh); // unchanged entries were moved over, indexes stay valid
    if (!changed)
        return false;
    m_lastChange = {m_revision, true, {}, {}, false};
    ++m_revision;
    m_all.reset();
    if (m_onDemand)
        m_onDemand->clear();
    rebuildIndexes();
    return true;
}

bool ClipCollection::adopt(ClipCollection &&updated, std::uint64_t fromRevision)
{
    if (updated.m_revision == fromRevision)
        return false;
    const std::uint64_t current = m_revision;
    *this = std::move(updated);
    if (m_onDemand)
        m_onDemand->clear();
    // Whatever happened here meanwhile, listeners see one step that may have changed anything.
    m_lastChange = {current, true, {}, {}, false};
    m_revision = current + 1;
    return true;
}

bool ClipCollection::patch(QList<Clip> changed, const QSet<std::int64_t> &removed, std::vector<FuzzyHaystack> indexes)
{
    bool differs = false;
    bool redated = false;
    // Only what moved is worked out again: a plain value edit (a note, a tag) keeps the indexes,
    // a pin moves one clip in the list order, and only new or deleted clips rebuild the indexes.
    std::vector<int> pins;
    std::vector<std::pair<double, std::int64_t>> added; // dates and ids of new clips
    QSet<std::int64_t> replaced;
    bool sameSources = true;
    // A read that found nothing new must not copy the entries a snapshot still reads.
    const bool anyChange = std::any_of(changed.cbegin(), changed.cend(),
                                       [&](const Clip &clip) {
                                           const int at = indexOf(clip.id);
                                           return !removed.contains(clip.id) && (at < 0 || !sameStoredClip((*m_entries)[at], clip));
                                       })
        || std::any_of(removed.cbegin(), removed.cend(), [this](std::int64_t id) { return contains(id); });
    if (!anyChange)
        return false;
    std::vector<ClipEntry> &entries = writableEntries();
    DayStarts days(m_zone);
    SourceHosts hosts;
    std::vector<int> gone;
    // A clip copied again comes with a new date: it is taken out and merged in like a new clip,
    // since sorting a million entries would stall the copy. Past a few, one sort is quicker.
    constexpr std::size_t maxMoves = 64;
    std::size_t moves = 0;
    // Edits in place: with 100,000 clips, copying the entries would cost more than the edit.
    for (qsizetype k = 0; k < changed.size(); ++k) {
        Clip &clip = changed[k];
        if (removed.contains(clip.id))
            continue;
        const int at = indexOf(clip.id);
        if (at >= 0 && sameStoredClip(entries[at], clip))
            continue;
        differs = true;
        replaced.insert(clip.id);
        FuzzyHaystack index = std::size_t(k) < indexes.size() ? std::move(indexes[std::size_t(k)]) : FuzzyHaystack();
        if (at < 0) {
            sameSources = false;
            added.emplace_back(clip.createdAt, clip.id);
            entries.push_back(makeEntry(std::move(clip), days, hosts, *m_sources));
            entries.back().haystack = std::move(index);
            m_storageUsed += entries.back().storageBytes();
            m_tallies.count(entries.back(), 1);
            continue;
        }
        const ClipEntry &old = entries[at];
        const bool move = clip.createdAt != old.createdAt && moves < maxMoves;
        redated = redated || (clip.createdAt != old.createdAt && !move);
        // A clip without its object is unpinned, and so has no pin date.
        if (clip.isPinned != old.isPinned || (old.clip && clip.pinnedAt != old.clip->pinnedAt))
            pins.push_back(at);
        ClipEntry fresh = makeEntry(std::move(clip), days, hosts, *m_sources);
        fresh.haystack = std::move(index);
        m_storageUsed += fresh.storageBytes() - old.storageBytes();
        m_tallies.count(old, -1);
        m_tallies.count(fresh, 1);
        sameSources = sameSources && fresh.source == old.source;
        if (!old.clip)
            release(fresh, std::size_t(m_heldNewest)); // an edit keeps a clip as held as it was
        if (move) {
            ++moves;
            if (!pins.empty() && pins.back() == at)
                pins.pop_back(); // it goes in again with its pin, as a new clip does
            gone.push_back(at);
            added.emplace_back(fresh.createdAt, fresh.id);
            entries.push_back(std::move(fresh)); // `old` is not used past here
            continue;
        }
        entries[at] = std::move(fresh);
        if (m_all)
            (*m_all)[at] = clipAt(at);
    }
    QSet<std::int64_t> taken;
    for (std::int64_t id : removed) {
        if (const int at = indexOf(id); at >= 0) {
            gone.push_back(at);
            taken.insert(id);
            m_storageUsed -= entries[std::size_t(at)].storageBytes();
            m_tallies.count(entries[std::size_t(at)], -1);
        }
    }
    std::sort(gone.begin(), gone.end());
    if (!gone.empty()) {
        differs = true;
        removeAt(gone);
    }
    if (!differs)
        return false;
    if (redated) {
        sortByDate();
        m_all.reset();
    } else if (!added.empty()) {
        // New clips only: sorted among themselves, then merged in, instead of sorting everything.
        const auto first = entries.end() - std::ptrdiff_t(added.size());
        std::stable_sort(first, entries.end(), newestFirst);
        std::inplace_merge(entries.begin(), first, entries.end(), newestFirst);
    }
    if (m_onDemand) {
        m_onDemand->forget(replaced);
        m_onDemand->forget(taken);
    }
    m_lastChange = {m_revision, false, std::move(replaced), std::move(taken), sameSources && !redated && gone.empty()};
    ++m_revision;
    const bool moved = !added.empty() || !gone.empty();
    if (redated || (moved && !pins.empty()) || (moved && !shiftIndexes(gone, added)))
        rebuildIndexes();
    else if (!pins.empty())
        reorderPins(pins);
    if (m_all && !added.empty()) {
        // Copying a million references would cost more than moving them up for a few new ones.
        std::vector<int> positions;
        for (const auto &[createdAt, id] : added)
            positions.push_back(indexOf(id));
        std::sort(positions.begin(), positions.end());
        if (positions.size() > 64) {
            m_all.reset();
        } else {
            for (int at : positions)
                m_all->insert(at, clipAt(at));
        }
    }
    return true;
}

bool ClipCollection::shiftIndexes(const std::vector<int> &gone, const std::vector<std::pair<double, std::int64_t>> &added)
{
    // Positions move by the clips taken out before them and the new clips put in before them;
    // working that out from the list order reads a few entries, where a rebuild reads every one.
    const std::vector<ClipEntry> &entries = *m_entries;
    std::vector<int> addedAt;
    for (const auto &[createdAt, id] : added) {
        const auto at
            = std::lower_bound(entries.begin(), entries.end(), std::pair(createdAt, id),
                               [](const ClipEntry &entry, const std::pair<double, std::int64_t> &key) {
                                   return entry.createdAt != key.first ? entry.createdAt > key.first : entry.id > key.second;
                               });
        if (at == entries.end() || at->id != id || at->isPinned)
            return false; // a new pinned clip goes among the pinned ones: rare, rebuilt
        addedAt.push_back(int(at - entries.begin()));
    }
    std::sort(addedAt.begin(), addedAt.end());
    // New clip j comes after exactly addedAt[j] - j of the clips that stay.
    std::vector<int> staysBefore(addedAt.size());
    for (std::size_t j = 0; j < addedAt.size(); ++j)
        staysBefore[j] = addedAt[j] - int(j);
    auto isGone = [&gone](int at) { return std::binary_search(gone.begin(), gone.end(), at); };
    auto newPosition = [&](int at) {
        const int rank = at - int(std::lower_bound(gone.begin(), gone.end(), at) - gone.begin());
        return rank + int(std::upper_bound(staysBefore.begin(), staysBefore.end(), rank) - staysBefore.begin());
    };
    const std::vector<int> &order = *m_listOrder;
    const std::vector<std::int64_t> &ids = *m_listIDs;
    auto newOrder = std::make_shared<std::vector<int>>();
    auto newIDs = std::make_shared<std::vector<std::int64_t>>();
    newOrder->reserve(entries.size());
    newIDs->reserve(entries.size());
    for (std::size_t k = 0; k < std::size_t(m_pinnedCount); ++k) {
        if (!isGone(order[k])) {
            newOrder->push_back(newPosition(order[k]));
            newIDs->push_back(ids[k]);
        }
    }
    const int pinnedCount = int(newOrder->size());
    // The others are in entry order, so the new clips merge in by position.
    std::size_t next = 0;
    auto addUpTo = [&](int position) {
        for (; next < addedAt.size() && addedAt[next] < position; ++next) {
            newOrder->push_back(addedAt[next]);
            newIDs->push_back(entries[std::size_t(addedAt[next])].id);
        }
    };
    std::size_t goneAt = 0;
    for (std::size_t k = std::size_t(m_pinnedCount); k < order.size(); ++k) {
        const int at = order[k];
        while (goneAt < gone.size() && gone[goneAt] < at)
            ++goneAt;
        if (goneAt < gone.size() && gone[goneAt] == at)
            continue;
        const int position = newPosition(at);
        addUpTo(position);
        newOrder->push_back(position);
        newIDs->push_back(ids[k]);
    }
    addUpTo(int(entries.size()));
    std::int64_t maxID = 0;
    for (std::int64_t id : *newIDs)
        maxID = std::max(maxID, id);
    m_index.reset(maxID, entries.size());
    for (std::size_t k = 0; k < newIDs->size(); ++k)
        m_index.insert((*newIDs)[k], (*newOrder)[k]);
    m_pinnedCount = pinnedCount;
    m_listOrder = std::move(newOrder);
    m_listIDs = std::move(newIDs);
    return true;
}

void ClipCollection::removeAt(const std::vector<int> &positions)
{
    std::vector<ClipEntry> &entries = *m_entries;
    const std::size_t allSize = m_all ? std::size_t(m_all->size()) : 0;
    ClipRef *all = m_all ? m_all->data() : nullptr;
    std::size_t out = std::size_t(positions.front());
    for (std::size_t k = 0; k < positions.size(); ++k) {
        const std::size_t from = std::size_t(positions[k]) + 1;
        const std::size_t to = k + 1 < positions.size() ? std::size_t(positions[k + 1]) : entries.size();
        std::move(entries.begin() + std::ptrdiff_t(from), entries.begin() + std::ptrdiff_t(to),
                  entries.begin() + std::ptrdiff_t(out));
        if (all)
            std::move(all + from, all + std::min(to, allSize), all + out);
        out += to - from;
    }
    entries.erase(entries.begin() + std::ptrdiff_t(out), entries.end());
    if (m_all)
        m_all->resize(qsizetype(allSize - positions.size()));
}

void ClipCollection::sortPinned(std::vector<int> &pinned) const
{
    const std::vector<ClipEntry> &entries = *m_entries;
    std::sort(pinned.begin(), pinned.end());
    std::stable_sort(pinned.begin(), pinned.end(),
                     [&entries](int a, int b) { return pinOrderDate(entries[a]) > pinOrderDate(entries[b]); });
}

void ClipCollection::reorderPins(const std::vector<int> &pins)
{
    const std::vector<ClipEntry> &entries = *m_entries;
    const auto split = std::ptrdiff_t(m_pinnedCount);
    std::vector<int> pinned(m_listOrder->begin(), m_listOrder->begin() + split);
    // The others stay in entry order, so a clip's place among them is found by halving.
    std::vector<int> others(m_listOrder->begin() + split, m_listOrder->end());
    std::vector<std::int64_t> otherIDs(m_listIDs->begin() + split, m_listIDs->end());
    for (int at : pins) {
        const auto wasPinned = std::find(pinned.begin(), pinned.end(), at);
        const auto place = std::lower_bound(others.begin(), others.end(), at);
        const auto idPlace = otherIDs.begin() + (place - others.begin());
        if (entries[std::size_t(at)].isPinned && wasPinned == pinned.end()) {
            pinned.push_back(at);
            if (place != others.end() && *place == at) {
                others.erase(place);
                otherIDs.erase(idPlace);
            }
        } else if (!entries[std::size_t(at)].isPinned && wasPinned != pinned.end()) {
            pinned.erase(wasPinned);
            others.insert(place, at);
            otherIDs.insert(idPlace, entries[std::size_t(at)].id);
        }
    }
    sortPinned(pinned);
    m_pinnedCount = int(pinned.size());
    auto ids = std::make_shared<std::vector<std::int64_t>>();
    ids->reserve(pinned.size() + otherIDs.size());
    for (int at : pinned)
        ids->push_back(entries[std::size_t(at)].id);
    ids->insert(ids->end(), otherIDs.begin(), otherIDs.end());
    // Fresh lists rather than changed ones: a snapshot may still read the old.
    pinned.insert(pinned.end(), others.begin(), others.end());
    m_listOrder = std::make_shared<std::vector<int>>(std::move(pinned));
    m_listIDs = std::move(ids);
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
    m_lastChange = {m_revision, true, {}, {}, false};
    ++m_revision;
    m_all.reset();
    if (m_onDemand)
        m_onDemand->clear();
    rebuildIndexes();
}

const ClipEntry *ClipCollection::entry(std::int64_t id) const
{
    const int index = indexOf(id);
    return index < 0 ? nullptr : &(*m_entries)[index];
}

std::vector<ClipEntry> &ClipCollection::writableEntries()
{
    if (m_entries.use_count() > 1) {
        auto copy = std::make_shared<std::vector<ClipEntry>>();
        copy->reserve(withRoomToGrow(m_entries->size()));
        copy->assign(m_entries->begin(), m_entries->end());
        m_entries = std::move(copy);
    }
    return *m_entries;
}

void ClipCollection::adoptSearchIndex(const ClipRef &clip, FuzzyHaystack index)
{
    const int at = indexOf(clip->id);
    if (at < 0)
        return;
    ClipEntry &entry = writableEntries()[at];
    if (entry.clip && entry.clip == clip && !entry.haystack)
        entry.haystack = std::move(index);
}

const ClipList &ClipCollection::all() const
{
    if (!m_all) {
        ClipList all;
        all.reserve(qsizetype(m_entries->size()));
        for (int i = 0; i < int(m_entries->size()); ++i)
            all.append(clipAt(i));
        m_all = std::move(all);
    }
    return *m_all;
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
        list.append(clipAt(indices[i]));
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
    m_storageUsed = 0;
    m_tallies = {};
    std::int64_t runDay = 0;
    std::int64_t run = 0; // clips of runDay just before: entries come by date, days in runs
    std::vector<int> pinned;
    std::vector<int> others;
    others.reserve(entries.size());
    auto ids = std::make_shared<std::vector<std::int64_t>>();
    ids->reserve(entries.size());
    std::vector<std::int64_t> &otherIDs = *ids;
    for (int i = 0; i < int(entries.size()); ++i) {
        const ClipEntry &entry = entries[i];
        m_index.insert(entry.id, i);
        m_storageUsed += entry.storageBytes();
        m_tallies.countApartFromDay(entry, 1);
        if (run > 0 && entry.dayStart() != runDay) {
            m_tallies.days[runDay] += run;
            run = 0;
        }
        runDay = entry.dayStart();
        ++run;
        if (entry.isPinned) {
            pinned.push_back(i);
        } else {
            others.push_back(i);
            otherIDs.push_back(entry.id);
        }
    }
    if (run > 0)
        m_tallies.days[runDay] += run;
    sortPinned(pinned);
    m_pinnedCount = int(pinned.size());
    std::vector<std::int64_t> pinnedIDs;
    for (int at : pinned)
        pinnedIDs.push_back(entries[std::size_t(at)].id);
    ids->insert(ids->begin(), pinnedIDs.begin(), pinnedIDs.end());
    // A fresh order rather than a changed one: a snapshot may still read the old.
    pinned.insert(pinned.end(), others.begin(), others.end());
    m_listOrder = std::make_shared<std::vector<int>>(std::move(pinned));
    m_listIDs = std::move(ids);
}

} // namespace corvane
