#pragma once

#include "DerivedLists.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <list>
#include <memory>
#include <optional>

namespace corvane {

/**
 * @brief The lists every view reads first from a whole new history (everything, no search), worked
 * out on the thread that built it so the main thread only takes them over.
 */
struct DerivedListSeed {
    SearchContext context;
    std::vector<int> visible;
    SectionLayout layout;

    static DerivedListSeed compute(const ClipCollection &clips, SearchContext context);
};

/**
 * @brief Remembers the last few derived lists, so a view binding that reads one twice pays once.
 *
 * A search result also depends on the secrets shown and on the day (date words, day titles), so
 * those are part of its key. Everything is dropped when the history's revision moves, but the
 * sources outlive an edit that keeps every clip's date and source.
 */
class DerivedListCache
{
public:
    static constexpr std::size_t capacity = 8;

    explicit DerivedListCache(const ClipCollection &clips)
        : m_clips(clips)
    {
    }

    /** The visible list as indices into the collection. */
    const std::vector<int> &visible(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    ClipList visibleList(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    /** The visible list as clip ids. */
    std::shared_ptr<const std::vector<std::int64_t>> visibleIDs(const ClipFilter &filter, const QString &searchText,
                                                                const SearchContext &context);
    const SectionLayout &sectionLayout(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    std::vector<ClipSection> sections(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    const QList<SourceApp> &sources();

    /** Takes lists worked out elsewhere for the history as it is now, in place of everything known. */
    void seed(DerivedListSeed seed);

    /** Call when the revealed secrets change: searches see different text. */
    void secretsChanged() { ++m_secretsRevision; }
    std::uint64_t secretsRevision() const { return m_secretsRevision; }

    /** Whether the visible list is at hand without working it out. */
    bool contains(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    /**
     * Takes a visible list worked out elsewhere (a background search) for the history's
     * `revision` and the secrets' `secretsRevision`; dropped when either has moved on since.
     */
    void insert(const ClipFilter &filter, const QString &searchText, const SearchContext &context, std::uint64_t revision,
                std::uint64_t secretsRevision, std::vector<int> indices);

private:
    struct Key {
        ClipFilter filter;
        QString searchText;
        std::uint64_t secretsRevision = 0;
        std::int64_t day = 0;
        bool operator==(const Key &) const = default;
    };
    struct Entry {
        Key key;
        std::vector<int> indices;
        std::optional<ClipList> list;
        std::shared_ptr<const std::vector<std::int64_t>> ids;
        std::optional<SectionLayout> layout;
    };

    Entry &lookup(const ClipFilter &filter, const QString &searchText, const SearchContext &context);
    Key keyFor(const ClipFilter &filter, const QString &searchText, const SearchContext &context) const;
    Entry *find(const Key &key);
    Entry &add(Key key, std::vector<int> indices);
    void dropIfStale();

    const ClipCollection &m_clips;
    std::uint64_t m_revision = ~std::uint64_t(0);
    std::uint64_t m_secretsRevision = 0;
    std::list<Entry> m_entries; // most recently used first
    std::optional<QList<SourceApp>> m_sources;
};

} // namespace corvane
