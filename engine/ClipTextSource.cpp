#include "ClipTextSource.h"

namespace corvane {

namespace {
// Roughly what a cached text costs beyond its characters: the list node, the map node, the
// string's header.
constexpr std::size_t entryOverhead = 96;
} // namespace

ClipTextSource &ClipTextSource::shared()
{
    static ClipTextSource source;
    return source;
}

std::uint32_t ClipTextSource::add(Reader reader)
{
    std::lock_guard lock(m_mutex);
    const std::uint32_t source = ++m_lastSource;
    m_readers.emplace(source, std::make_shared<const Reader>(std::move(reader)));
    return source;
}

void ClipTextSource::remove(std::uint32_t source)
{
    std::lock_guard lock(m_mutex);
    m_readers.erase(source);
    dropSource(source);
}

std::optional<QString> ClipTextSource::text(std::uint32_t source, std::int64_t id)
{
    const Key key{source, id};
    std::shared_ptr<const Reader> reader;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_cached.find(key); found != m_cached.end()) {
            m_order.splice(m_order.begin(), m_order, found->second);
            return found->second->text;
        }
        const auto registered = m_readers.find(source);
        if (registered == m_readers.end())
            return std::nullopt;
        reader = registered->second;
        generation = m_generation;
    }
    // Read without the cache's lock, so readers of other histories never wait on this one.
    std::optional<QString> text = (*reader)(id);
    if (text) {
        std::lock_guard lock(m_mutex);
        // A clip deleted or a history removed meanwhile leaves nothing in the cache.
        if (generation == m_generation)
            put(key, *text);
    }
    return text;
}

void ClipTextSource::put(const Key &key, const QString &text)
{
    const std::size_t cost = std::size_t(text.size()) * sizeof(QChar) + entryOverhead;
    if (cost > m_budget)
        return;
    if (const auto found = m_cached.find(key); found != m_cached.end())
        drop(found->second);
    evictTo(m_budget - cost);
    m_order.push_front({key, text, cost});
    m_cached.emplace(key, m_order.begin());
    m_bytes += cost;
}

void ClipTextSource::drop(std::list<Cached>::iterator it)
{
    m_bytes -= it->cost;
    m_cached.erase(it->key);
    m_order.erase(it);
}

void ClipTextSource::evictTo(std::size_t bytes)
{
    while (m_bytes > bytes && !m_order.empty())
        drop(std::prev(m_order.end()));
}

void ClipTextSource::forget(std::uint32_t source, std::span<const std::int64_t> ids)
{
    std::lock_guard lock(m_mutex);
    ++m_generation;
    for (std::int64_t id : ids) {
        if (const auto found = m_cached.find({source, id}); found != m_cached.end())
            drop(found->second);
    }
}

void ClipTextSource::forgetAll(std::uint32_t source)
{
    std::lock_guard lock(m_mutex);
    dropSource(source);
}

void ClipTextSource::dropSource(std::uint32_t source)
{
    ++m_generation;
    for (auto it = m_order.begin(); it != m_order.end();) {
        const auto next = std::next(it);
        if (it->key.source == source)
            drop(it);
        it = next;
    }
}

void ClipTextSource::setBudget(std::size_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_budget = bytes;
    evictTo(bytes);
}

std::size_t ClipTextSource::budget() const
{
    std::lock_guard lock(m_mutex);
    return m_budget;
}

std::size_t ClipTextSource::cachedBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

} // namespace corvane
