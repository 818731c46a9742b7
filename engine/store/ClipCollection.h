#pragma once

#include "ClipRef.h"
#include "FuzzyHaystack.h"
#include "IdIndex.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <array>
#include <span>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace corvane {

/** @brief A loaded clip with the values every derived list needs, worked out once per clip. */
struct ClipEntry {
    ClipRef clip;
    // Copies of the clip's fields the list filters read, so scanning 100,000 entries stays in
    // one contiguous block instead of visiting every clip.
    std::int64_t id = 0;
    ClipGroup group = ClipGroup::text;
    bool isPinned = false;
    std::int64_t tagMask = 0;
    double createdAt = 0;
    /** What the clip counts towards the storage used: its size and its thumbnail's. */
    std::int64_t storageBytes = 0;
    /** Empty when the clip has no source. */
    QString sourceKey;
    QString sourceHost;
    QString sourceDisplayName;
    /** The collection's number for `sourceKey` (the same for every clip of a source), else -1. */
    int sourceId = -1;
    /** Start of the calendar day of `createdAt`, seconds since 1970. */
    std::int64_t dayStart = 0;
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
    /** The fields of a clip; a secret's text only when `withSecretText` (while it is revealed). */
    static SearchFields searchFields(const Clip &clip, const QString &sourceDisplayName, bool withSecretText = false);
    SearchFields searchFields() const { return searchFields(*clip, sourceDisplayName); }
};

/**
 * @brief The entries and list order of one revision of a collection, for reading on another
 * thread while the collection moves on (the collection copies them before changing them).
 */
struct ClipSnapshot {
    std::shared_ptr<const std::vector<ClipEntry>> entries;
    std::shared_ptr<const std::vector<int>> listOrder;
    std::uint64_t revision = 0;
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
 * @brief The loaded history, newest first, with its list order.
 *
 * `replace` keeps the entry of every clip whose stored values did not change, so a reload after
 * one edit touches one entry, and `revision` moves only when something did change.
 */
class ClipCollection
{
public:
    /** Takes a fresh load; returns whether anything differs from before. */
    bool replace(QList<Clip> loaded, const QTimeZone &zone);
    /**
     * Applies known edits without reading everything again: `changed` are clips re-read from the
     * database (new ones included), `removed` ids that are gone. Returns whether anything differs.
     */
    bool patch(QList<Clip> changed, const QSet<std::int64_t> &removed);
    /**
     * Takes `updated`, a copy of this collection at `fromRevision` that a worker brought up to
     * date with replace(), as one step from the current revision. Edits made here meanwhile are
     * dropped with the old state; the caller reads them again. Returns whether it took it: not
     * when the worker found nothing to change.
     */
    bool adopt(ClipCollection &&updated, std::uint64_t fromRevision);
    void clear();

    const std::vector<ClipEntry> &entries() const { return *m_entries; }
    int size() const { return int(m_entries->size()); }
    std::uint64_t revision() const { return m_revision; }
    /** Source ids run from 0 to below this; ids stay with their keys for the collection's life. */
    int sourceIdCount() const { return int(m_sourceIds.size()); }
    /** Index into entries(), or -1. */
    int indexOf(std::int64_t id) const { return m_index.value(id); }
    const ClipEntry *entry(std::int64_t id) const;
    bool contains(std::int64_t id) const { return m_index.contains(id); }
    QSet<std::int64_t> ids() const;

    /** Pinned clips first, most recently pinned first, then the others newest first (indices). */
    const std::vector<int> &listOrder() const { return *m_listOrder; }
    /** The ids of listOrder(), shared: a list of every clip copies no references. */
    std::shared_ptr<const std::vector<std::int64_t>> listIDs() const { return m_listIDs; }
    /** How many clips are pinned: the first entries of listOrder(). */
    int pinnedCount() const { return m_pinnedCount; }
    /** What the step to revision() changed. */
    const ClipChange &lastChange() const { return m_lastChange; }
    ClipSnapshot snapshot() const { return {m_entries, m_listOrder, m_revision}; }
    /** Whether a snapshot is still out: entries must then not be changed in place. */
    bool isShared() const { return m_entries.use_count() > 1; }
    /** Hands a search index built elsewhere to the entry of `clip`, when it still holds that clip. */
    void adoptSearchIndex(const ClipRef &clip, FuzzyHaystack index);
    /** Every clip, newest first. */
    const ClipList &all() const;
    ClipList toList(const std::vector<int> &indices) const;

    /** Sum of byte sizes and thumbnail lengths of every clip. */
    std::int64_t storageUsed() const { return m_storageUsed; }

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

    std::shared_ptr<std::vector<ClipEntry>> m_entries = std::make_shared<std::vector<ClipEntry>>();
    IdIndex m_index;
    std::shared_ptr<std::vector<int>> m_listOrder = std::make_shared<std::vector<int>>();
    std::shared_ptr<const std::vector<std::int64_t>> m_listIDs = std::make_shared<std::vector<std::int64_t>>();
    int m_pinnedCount = 0;
    ClipChange m_lastChange;
    mutable std::optional<ClipList> m_all; // built when first asked for
    std::int64_t m_storageUsed = 0;
    QHash<QString, int> m_sourceIds;
    std::uint64_t m_revision = 0;
    QTimeZone m_zone;
};

/** True when two loads of the same row show the same clip (texts never change for an id). */
bool sameStoredClip(const Clip &a, const Clip &b);

} // namespace corvane
