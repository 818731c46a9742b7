#include "SourceTallies.h"

#include "ClipCollection.h"

#include <algorithm>

namespace corvane {

void SourceTallies::count(const ClipSource *source, double createdAt, std::int64_t id, int by)
{
    if (source->id < 0)
        return;
    if (std::size_t(source->id) >= m_sources.size())
        m_sources.resize(std::size_t(source->id) + 1);
    Source &counted = m_sources[std::size_t(source->id)];
    if (by > 0) {
        counted.tally.weight.add(createdAt);
        const bool newest = counted.count++ == 0 || createdAt > *counted.tally.newest
            || (createdAt == *counted.tally.newest && id >= counted.newestID);
        if (newest) {
            counted.tally.newest = createdAt;
            counted.newestID = id;
            counted.named = source;
            counted.newestKnown = true;
        }
        return;
    }
    counted.tally.weight.remove(createdAt);
    if (--counted.count == 0)
        counted = {};
    else if (id == counted.newestID)
        counted.newestKnown = false;
}

QList<SourceApp> SourceTallies::ranked(const std::vector<ClipEntry> &entries) const
{
    std::size_t unknown = 0;
    std::vector<int> present;
    for (std::size_t id = 0; id < m_sources.size(); ++id) {
        if (m_sources[id].count == 0)
            continue;
        present.push_back(int(id));
        unknown += m_sources[id].newestKnown ? 0 : 1;
    }
    // Newest first, so the first clip met of a source is its newest: usually a few rows down.
    for (auto entry = entries.begin(); unknown > 0 && entry != entries.end(); ++entry) {
        const int id = entry->sourceId();
        if (id < 0 || std::size_t(id) >= m_sources.size())
            continue;
        Source &source = m_sources[std::size_t(id)];
        if (source.count == 0 || source.newestKnown)
            continue;
        source.tally.newest = entry->createdAt;
        source.newestID = entry->id;
        source.named = entry->source;
        source.newestKnown = true;
        --unknown;
    }
    std::sort(present.begin(), present.end(), [this](int a, int b) {
        const Source &first = m_sources[std::size_t(a)];
        const Source &second = m_sources[std::size_t(b)];
        return SourceRanking::before(first.tally, first.named->key, second.tally, second.named->key);
    });
    QList<SourceApp> result;
    result.reserve(qsizetype(present.size()));
    for (const int id : present) {
        const Source &source = m_sources[std::size_t(id)];
        result.append(SourceApp{source.named->key, source.named->displayName, source.count});
    }
    return result;
}

} // namespace corvane
