#include "DerivedListCache.h"

#include "ClipText.h"

namespace corvane {

DerivedListSeed DerivedListSeed::compute(const ClipCollection &clips, SearchContext context)
{
    DerivedListSeed seed{std::move(context), {}, {}};
    const ClipFilter all = ClipFilter::all();
    seed.visible = DerivedLists::visible(clips, all, {}, seed.context);
    seed.layout = DerivedLists::sectionLayout(clips, seed.visible, all, {}, seed.context);
    return seed;
}

void DerivedListCache::seed(DerivedListSeed seed)
{
    m_revision = m_clips.revision();
    m_entries.clear();
    m_sources.reset(); // ranked from the collection's tallies when asked: no pass over the clips
    Entry &entry = add(keyFor(ClipFilter::all(), {}, seed.context), std::move(seed.visible));
    entry.layout = std::move(seed.layout);
}

void DerivedListCache::dropIfStale()
{
    if (m_revision == m_clips.revision())
        return;
    // A pin, a tag or a note leaves the sources as they were: a million clips are not counted again.
    const ClipChange &change = m_clips.lastChange();
    if (change.fromRevision != m_revision || !change.sameSources)
        m_sources.reset();
    m_revision = m_clips.revision();
    m_entries.clear();
}

DerivedListCache::Key DerivedListCache::keyFor(const ClipFilter &filter, const QString &searchText,
                                               const SearchContext &context) const
{
    // Only a search or day sections depend on the day; only a search on revealed secrets.
    Key key{filter, searchText, 0, ClipText::startOfDay(context.now, context.zone).toSecsSinceEpoch()};
    if (!searchText.trimmed().isEmpty())
        key.secretsRevision = m_secretsRevision;
    return key;
}

DerivedListCache::Entry *DerivedListCache::find(const Key &key)
{
    dropIfStale();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->key == key) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return &m_entries.front();
        }
    }
    return nullptr;
}

DerivedListCache::Entry &DerivedListCache::add(Key key, std::vector<int> indices)
{
    m_entries.push_front({std::move(key), std::move(indices), {}, {}, {}});
    if (m_entries.size() > capacity)
        m_entries.pop_back();
    return m_entries.front();
}

DerivedListCache::Entry &DerivedListCache::lookup(const ClipFilter &filter, const QString &searchText,
                                                  const SearchContext &context)
{
    Key key = keyFor(filter, searchText, context);
    if (Entry *entry = find(key))
        return *entry;
    return add(std::move(key), DerivedLists::visible(m_clips, filter, searchText, context));
}

bool DerivedListCache::contains(const ClipFilter &filter, const QString &searchText, const SearchContext &context)
{
    return find(keyFor(filter, searchText, context)) != nullptr;
}

void DerivedListCache::insert(const ClipFilter &filter, const QString &searchText, const SearchContext &context,
                              std::uint64_t revision, std::uint64_t secretsRevision, std::vector<int> indices)
{
    dropIfStale();
    if (revision != m_clips.revision() || secretsRevision != m_secretsRevision)
        return;
    Key key = keyFor(filter, searchText, context);
    if (!find(key))
        add(std::move(key), std::move(indices));
}

const std::vector<int> &DerivedListCache::visible(const ClipFilter &filter, const QString &searchText,
                                                  const SearchContext &context)
{
    return lookup(filter, searchText, context).indices;
}

ClipList DerivedListCache::visibleList(const ClipFilter &filter, const QString &searchText, const SearchContext &context)
{
    Entry &entry = lookup(filter, searchText, context);
    if (!entry.list)
        entry.list = m_clips.toList(entry.indices);
    return *entry.list;
}

std::shared_ptr<const std::vector<std::int64_t>> DerivedListCache::visibleIDs(const ClipFilter &filter, const QString &searchText,
                                                                              const SearchContext &context)
{
    Entry &entry = lookup(filter, searchText, context);
    if (!entry.ids) {
        if (filter.kind == ClipFilter::Kind::all && searchText.trimmed().isEmpty()) {
            entry.ids = m_clips.listIDs(); // the whole list order, kept by the collection
        } else {
            auto ids = std::make_shared<std::vector<std::int64_t>>();
            ids->reserve(entry.indices.size());
            for (int index : entry.indices)
                ids->push_back(m_clips.entries()[std::size_t(index)].id);
            entry.ids = std::move(ids);
        }
    }
    return entry.ids;
}

const SectionLayout &DerivedListCache::sectionLayout(const ClipFilter &filter, const QString &searchText,
                                                     const SearchContext &context)
{
    Entry &entry = lookup(filter, searchText, context);
    if (!entry.layout)
        entry.layout = DerivedLists::sectionLayout(m_clips, entry.indices, filter, searchText, context);
    return *entry.layout;
}

std::vector<ClipSection> DerivedListCache::sections(const ClipFilter &filter, const QString &searchText,
                                                    const SearchContext &context)
{
    const SectionLayout &layout = sectionLayout(filter, searchText, context);
    return DerivedLists::sections(m_clips, visible(filter, searchText, context), layout);
}

const QList<SourceApp> &DerivedListCache::sources()
{
    dropIfStale();
    if (!m_sources)
        m_sources = DerivedLists::sources(m_clips);
    return *m_sources;
}

} // namespace corvane
