#include "OnDemandClips.h"

namespace corvane {

namespace {

std::size_t stringCost(const OptionalString &value) { return value ? std::size_t(value->size()) * 2 + 32 : 0; }

/** Roughly what a read clip holds: the object, its text, thumbnail and strings. */
std::size_t costOf(const Clip &clip)
{
    std::size_t cost = sizeof(Clip) + 32 + std::size_t(clip.thumbnailPng.size());
    if (const QString *text = clip.heldText())
        cost += std::size_t(text->size()) * 2;
    return cost + stringCost(clip.note) + stringCost(clip.summary) + stringCost(clip.smartTitle) + stringCost(clip.detail)
        + std::size_t(clip.storedPreview.size()) * 2;
}

} // namespace

OnDemandClips::OnDemandClips(Reader reader, std::size_t budget)
    : m_reader(std::move(reader))
    , m_budget(budget)
{
}

ClipRef OnDemandClips::get(std::int64_t id)
{
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_byID.find(id); found != m_byID.end()) {
            m_order.splice(m_order.begin(), m_order, found->second);
            return found->second->clip;
        }
        generation = m_generation;
    }
    // Read unlocked: one slow read must not hold up the others' cache hits.
    std::optional<Clip> read = m_reader ? m_reader(id) : std::nullopt;
    if (!read)
        return nullptr;
    const std::size_t cost = costOf(*read);
    ClipRef clip = std::make_shared<const Clip>(std::move(*read));
    std::lock_guard lock(m_mutex);
    if (const auto found = m_byID.find(id); found != m_byID.end())
        return found->second->clip; // another thread read it meanwhile: one object per clip
    if (generation != m_generation || cost > m_budget)
        return clip;
    m_order.push_front({id, clip, cost});
    m_byID.emplace(id, m_order.begin());
    m_bytes += cost;
    while (m_bytes > m_budget && m_order.size() > 1)
        drop(std::prev(m_order.end()));
    return clip;
}

void OnDemandClips::drop(std::list<Cached>::iterator it)
{
    m_bytes -= it->cost;
    m_byID.erase(it->id);
    m_order.erase(it);
}

void OnDemandClips::forget(const QSet<std::int64_t> &ids)
{
    std::lock_guard lock(m_mutex);
    ++m_generation;
    for (std::int64_t id : ids) {
        if (const auto found = m_byID.find(id); found != m_byID.end())
            drop(found->second);
    }
}

void OnDemandClips::clear()
{
    std::lock_guard lock(m_mutex);
    ++m_generation;
    m_order.clear();
    m_byID.clear();
    m_bytes = 0;
}

std::size_t OnDemandClips::cachedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

std::size_t OnDemandClips::cachedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_order.size();
}

} // namespace corvane
