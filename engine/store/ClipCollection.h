#pragma once

#include "ClipRef.h"
#include "FuzzyHaystack.h"
#include "IdIndex.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <cstdint>
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
     * Built by whichever search thread reaches the entry first; each entry belongs to one thread.
     */
    mutable std::optional<FuzzyHaystack> haystack;

    const FuzzyHaystack &searchIndex() const;
    /** The fields a search looks at, in the index's order. */
    static QStringList searchFields(const Clip &clip, const QString &sourceDisplayName);
};

/**
 * @brief The loaded history, newest first, with its list order.
 *
 * `replace` keeps the entry of every clip whose stored values did not change, so a reload after
 * one edit touches one entry, and `revision` moves only when something did change.
 */
class ClipCollection {
public:
    /** Takes a fresh load; returns whether anything differs from before. */
    bool replace(QList<Clip> loaded, const QTimeZone &zone);
    /**
     * Applies known edits without reading everything again: `changed` are clips re-read from the
     * database (new ones included), `removed` ids that are gone. Returns whether anything differs.
     */
    bool patch(QList<Clip> changed, const QSet<std::int64_t> &removed);
    void clear();

    const std::vector<ClipEntry> &entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    std::uint64_t revision() const { return m_revision; }
    /** Source ids run from 0 to below this; ids stay with their keys for the collection's life. */
    int sourceIdCount() const { return int(m_sourceIds.size()); }
    /** Index into entries(), or -1. */
    int indexOf(std::int64_t id) const { return m_index.value(id); }
    const ClipEntry *entry(std::int64_t id) const;
    bool contains(std::int64_t id) const { return m_index.contains(id); }
    QSet<std::int64_t> ids() const;

    /** Pinned clips first, most recently pinned first, then the others newest first (indices). */
    const std::vector<int> &listOrder() const { return m_listOrder; }
    /** Every clip, newest first. */
    const ClipList &all() const;
    ClipList toList(const std::vector<int> &indices) const;

    /** Sum of byte sizes and thumbnail lengths of every clip. */
    std::int64_t storageUsed() const { return m_storageUsed; }

private:
    void rebuildIndexes();
    void sortByDate();

    std::vector<ClipEntry> m_entries;
    IdIndex m_index;
    std::vector<int> m_listOrder;
    mutable std::optional<ClipList> m_all; // built when first asked for
    std::int64_t m_storageUsed = 0;
    QHash<QString, int> m_sourceIds;
    std::uint64_t m_revision = 0;
    QTimeZone m_zone;
};

/** True when two loads of the same row show the same clip (texts never change for an id). */
bool sameStoredClip(const Clip &a, const Clip &b);

} // namespace corvane
