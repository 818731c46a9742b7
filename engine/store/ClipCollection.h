#pragma once

#include "ClipRef.h"
#include "FuzzyHaystack.h"
#include "IdIndex.h"
#include "OnDemandClips.h"
#include "SourceTallies.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <array>
#include <deque>
#include <map>
#include <span>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace corvane {

/**
 * @brief Where clips came from, held once per distinct source rather than once per clip:
 * the values a clip's source gives the lists (see Clip::sourceKey and Clip::sourceDisplayName).
 */
struct ClipSource {
    /** Empty when the clips have no source. */
    QString key;
    QString host;
    QString displayName;
    /** The clips' source app name as stored, empty when none. */
    QString name;
    /** The collection's number for `key` (the same for every clip of a source), else -1. */
    int id = -1;
};

class ClipSources;

/** @brief A loaded clip with the values every derived list needs, worked out once per clip. */
struct ClipEntry {
    /**
     * The clip, or null in a large collection for a clip that is not among the newest, pinned
     * or large ones: ClipCollection::clip reads those on demand.
     */
    ClipRef clip;
    // Copies of the clip's fields the list filters read, so scanning 100,000 entries stays in
    // one contiguous block instead of visiting every clip.
    std::int64_t id = 0;
    double createdAt = 0;
    /** Owned by the collection's sources, which outlive its entries and snapshots. */
    const ClipSource *source = &noSource;
    ClipGroup group = ClipGroup::text;
    /** The known tag bits of the clip's mask. */
    std::uint8_t tagMask = 0;
    bool isPinned = false;
    /** Seconds from the start of the clip's calendar day to `createdAt` (whole seconds). */
    std::int32_t dayOffset = 0;
    /** Storage bytes when they fit, else `largeStorage` and they are read from the clip. */
    std::uint32_t storage = 0;
    /** changeableStamp() of the clip: tells a changed row without the clip's object. */
    std::uint32_t stamp = 0;

    static constexpr std::uint32_t largeStorage = ~std::uint32_t(0);
    static const ClipSource noSource;

    const QString &sourceKey() const { return source->key; }
    const QString &sourceHost() const { return source->host; }
    const QString &sourceDisplayName() const { return source->displayName; }
    /** The collection's number for the clip's source, else -1. */
    int sourceId() const { return source->id; }
    /** Start of the calendar day of `createdAt`, seconds since 1970. */
    std::int64_t dayStart() const { return std::int64_t(createdAt) - dayOffset; }
    /** What the clip counts towards the storage used: its size and its thumbnail's. */
    std::int64_t storageBytes() const
    {
        return storage != largeStorage ? std::int64_t(storage) : clip->byteSize + clip->thumbnailPng.size();
    }
    /**
     * The searchable fields, indexed on the first search and kept while the clip is unchanged.
     * A secret's text is left out: its clear text is searched only while it is revealed.
     * Shared by the collection's snapshots; set only on the main thread while no snapshot is out.
     */
    mutable FuzzyHaystack haystack;

    /** The index, built and kept when missing (only by the collection's owner, see isShared()). */
    const FuzzyHaystack &searchIndex() const;

    /** @brief The fields a search looks at, as views into the clip, in the index's order. */
    struct SearchFields {
        std::array<QStringView, 6> views;
        std::size_t count = 0;

        std::span<const QStringView> span() const { return {views.data(), count}; }
    };
    /**
     * The fields of a clip, viewing its held text; a secret's text only as `secretText` (its clear
     * text while it is revealed, which the caller reads and keeps).
     */
    static SearchFields searchFields(const Clip &clip, const QString &sourceDisplayName, const QString *secretText = nullptr);
    SearchFields searchFields() const { return searchFields(*clip, sourceDisplayName()); }
};

/** A hash of the values of a stored clip that edits can change, apart from those an entry copies. */
std::uint32_t changeableStamp(const std::optional<double> &pinnedAt, std::int64_t tags, std::int64_t byteSize, const QSize &imageSize,
                              std::int64_t thumbnailLength, const OptionalString &note, const OptionalString &summary,
                              const OptionalString &smartTitle, const OptionalString &detail);
std::uint32_t changeableStamp(const Clip &clip);

/** @brief How many clips each pin state, group, tag and calendar day has. */
struct ClipTallies {
    std::int64_t pinned = 0;
    /** Indexed by ClipGroup. */
    std::array<std::int64_t, ClipGroups::allCases.size()> groups{};
    /** Indexed by ColorTag. */
    std::array<std::int64_t, ColorTags::allCases.size()> tags{};
    /** Clips per start of day (seconds since 1970); days without clips are left out. */
    std::map<std::int64_t, std::int64_t> days;
    SourceTallies sources;

    /** Counts `entry` in (`by` 1) or out (`by` -1). */
    void count(const ClipEntry &entry, int by);
    /** The same leaving out its day, for a pass that counts days by runs. */
    void countApartFromDay(const ClipEntry &entry, int by);
};

/**
 * @brief The entries and list order of one revision of a collection, for reading on another
 * thread while the collection moves on (the collection copies them before changing them).
 */
struct ClipSnapshot {
    std::shared_ptr<const std::vector<ClipEntry>> entries;
    std::shared_ptr<const std::vector<int>> listOrder;
    std::uint64_t revision = 0;
    /** Keeps the sources the entries point to. */
    std::shared_ptr<const ClipSources> sources;
};

/**
 * @brief What one revision of a collection changed, for lists that follow it revision by revision.
 */
struct ClipChange {
    /** The revision the change started from. */
    std::uint64_t fromRevision = 0;
    /** Any clip may have changed (a full load): nothing finer is known. */
    bool everything = true;
    /** Clips whose loaded object was replaced or added. */
    QSet<std::int64_t> ids;
    /** Clips taken out. */
    QSet<std::int64_t> removed;
    /** No clip came, went, or changed its date or source: what is counted per source stands. */
    bool sameSources = false;
};

/**
 * @brief The distinct sources of a collection's clips. Only ever added to, so an entry's source
 * stays where it is while other threads read the entries; a copy of the collection brought up
 * to date on a worker shares them, so adding one is guarded.
 */
class ClipSources
{
public:
    /** The source of `clip`, whose URL has `host` (empty when it has none); one per source and app name. */
    const ClipSource *of(const Clip &clip, const QString &host);
    /** Source ids run from 0 to below this. */
    int idCount() const
    {
        std::lock_guard lock(m_mutex);
        return int(m_ids.size());
    }

private:
    mutable std::mutex m_mutex;
    std::deque<ClipSource> m_sources;
    QHash<QString, int> m_ids;
    /** Web sources by host and app name; the others by bundle id and name. */
    QHash<std::pair<QString, QString>, const ClipSource *> m_web;
    QHash<std::pair<QString, QString>, const ClipSource *> m_apps;
};

/**
 * @brief The loaded history, newest first, with its list order.
 *
 * `replace` keeps the entry of every clip whose stored values did not change, so a reload after
 * one edit touches one entry, and `revision` moves only when something did change.
 */
class ClipCollection
{
public:
    /**
     * Takes a fresh load; returns whether anything differs from before. `indexes`, when given,
     * are the clips' search indexes in the same order (see LoadIndexer).
     */
    bool replace(QList<Clip> loaded, const QTimeZone &zone, std::vector<FuzzyHaystack> indexes = {});
    /**
     * Applies known edits without reading everything again: `changed` are clips re-read from the
     * database (new ones included), `removed` ids that are gone. Returns whether anything differs.
     */
    bool patch(QList<Clip> changed, const QSet<std::int64_t> &removed, std::vector<FuzzyHaystack> indexes = {});
    /**
     * Takes `updated`, a copy of this collection at `fromRevision` that a worker brought up to
     * date with replace(), as one step from the current revision. Edits made here meanwhile are
     * dropped with the old state; the caller reads them again. Returns whether it took it: not
     * when the worker found nothing to change.
     */
    bool adopt(ClipCollection &&updated, std::uint64_t fromRevision);
    void clear();

    /**
     * Lets the collection hold no object for most clips of a large history, reading them through
     * `clips` when asked; null holds every clip. Copies of the collection share it.
     */
    void setOnDemand(std::shared_ptr<OnDemandClips> clips, int heldNewest = defaultHeldNewest);
    /** Clips past this many of the newest are held only when pinned or large. */
    static constexpr int defaultHeldNewest = 2000;

    /** The clip of entry `index`: held, or read on demand (null when it cannot be read). */
    ClipRef clipAt(int index) const;
    /** The clip with `id`, or null. */
    ClipRef clip(std::int64_t id) const
    {
        const int index = indexOf(id);
        return index < 0 ? nullptr : clipAt(index);
    }

    const std::vector<ClipEntry> &entries() const { return *m_entries; }
    int size() const { return int(m_entries->size()); }
    std::uint64_t revision() const { return m_revision; }
    /** Source ids run from 0 to below this; ids stay with their keys for the collection's life. */
    int sourceIdCount() const { return m_sources->idCount(); }
    /** Index into entries(), or -1. */
    int indexOf(std::int64_t id) const { return m_index.value(id); }
    const ClipEntry *entry(std::int64_t id) const;
    bool contains(std::int64_t id) const { return m_index.contains(id); }

    /** Pinned clips first, most recently pinned first, then the others newest first (indices). */
    const std::vector<int> &listOrder() const { return *m_listOrder; }
    /** The ids of listOrder(), shared: a list of every clip copies no references. */
    std::shared_ptr<const std::vector<std::int64_t>> listIDs() const { return m_listIDs; }
    /** How many clips are pinned: the first entries of listOrder(). */
    int pinnedCount() const { return m_pinnedCount; }
    /** What the step to revision() changed. */
    const ClipChange &lastChange() const { return m_lastChange; }
    ClipSnapshot snapshot() const { return {m_entries, m_listOrder, m_revision, m_sources}; }
    /** Whether a snapshot is still out: entries must then not be changed in place. */
    bool isShared() const { return m_entries.use_count() > 1; }
    /** Hands a search index built elsewhere to the entry of `clip`, when it still holds that clip. */
    void adoptSearchIndex(const ClipRef &clip, FuzzyHaystack index);
    /** Every clip, newest first (reads every clip not held: for small histories). */
    const ClipList &all() const;
    ClipList toList(const std::vector<int> &indices) const;

    /** Sum of byte sizes and thumbnail lengths of every clip. */
    std::int64_t storageUsed() const { return m_storageUsed; }
    /** Kept up to date by every change, so counting needs no pass over the clips. */
    const ClipTallies &tallies() const { return m_tallies; }

private:
    void rebuildIndexes();
    /** The list order after pins changed on `pins` (entry indices), nothing else having moved. */
    void reorderPins(const std::vector<int> &pins);
    /**
     * Moves the indexes past clips taken out (their old positions, ascending) and new ones put in
     * (dates and ids); false when it cannot and they must be rebuilt.
     */
    bool shiftIndexes(const std::vector<int> &gone, const std::vector<std::pair<double, std::int64_t>> &added);
    /** Takes the entries at `positions` (ascending) out of the entries and the cached list. */
    void removeAt(const std::vector<int> &positions);
    void sortByDate();
    /** Pinned entries in list order: most recently pinned first, then entry order. */
    void sortPinned(std::vector<int> &pinned) const;
    /** The entries to change: a copy when a snapshot still reads them. */
    std::vector<ClipEntry> &writableEntries();
    /** Whether the entry at `position` of a fresh list keeps its clip's object. */
    bool holds(const ClipEntry &entry, std::size_t position) const;
    /** Drops the object of `entry` unless it is to be held; keeps its search index. */
    void release(ClipEntry &entry, std::size_t position) const;

    std::shared_ptr<std::vector<ClipEntry>> m_entries = std::make_shared<std::vector<ClipEntry>>();
    IdIndex m_index;
    std::shared_ptr<std::vector<int>> m_listOrder = std::make_shared<std::vector<int>>();
    std::shared_ptr<const std::vector<std::int64_t>> m_listIDs = std::make_shared<std::vector<std::int64_t>>();
    int m_pinnedCount = 0;
    ClipChange m_lastChange;
    mutable std::optional<ClipList> m_all; // built when first asked for
    std::int64_t m_storageUsed = 0;
    ClipTallies m_tallies;
    std::shared_ptr<ClipSources> m_sources = std::make_shared<ClipSources>();
    std::shared_ptr<OnDemandClips> m_onDemand;
    int m_heldNewest = defaultHeldNewest;
    std::uint64_t m_revision = 0;
    QTimeZone m_zone;
};

/** True when two loads of the same row show the same clip (texts never change for an id). */
bool sameStoredClip(const Clip &a, const Clip &b);
/** The same for a loaded entry, which may hold no object. */
bool sameStoredClip(const ClipEntry &entry, const Clip &clip);

} // namespace corvane
