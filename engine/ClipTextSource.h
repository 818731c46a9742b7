#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>

namespace corvane {

/**
 * @brief Where loaded clips that hold no text read it: each open history registers a reader,
 * and the texts read are kept in a least-recently-used cache under a byte budget.
 *
 * Safe from any thread. A reader is one indexed lookup; callers ask for the rows they show.
 */
class ClipTextSource
{
public:
    /** Reads the kept prefix of clip `id`'s text, or nothing when the clip or its text is gone. */
    using Reader = std::function<std::optional<QString>(std::int64_t id)>;

    static constexpr std::size_t defaultBudget = 4 * 1024 * 1024;

    /** The process's one source. */
    static ClipTextSource &shared();

    ClipTextSource() = default;
    ClipTextSource(const ClipTextSource &) = delete;
    ClipTextSource &operator=(const ClipTextSource &) = delete;

    /** Registers a history; returns its key, never 0 and never handed out again. */
    std::uint32_t add(Reader reader);
    /** Unregisters a history and drops its cached texts; its clips read nothing from now on. */
    void remove(std::uint32_t source);

    /** The text of clip `id` of history `source`, from the cache or else its reader. */
    std::optional<QString> text(std::uint32_t source, std::int64_t id);
    /** Drops the cached texts of deleted clips. */
    void forget(std::uint32_t source, std::span<const std::int64_t> ids);
    /** Drops every cached text of `source` (its history was emptied or rewritten). */
    void forgetAll(std::uint32_t source);

    void setBudget(std::size_t bytes);
    std::size_t budget() const;
    /** What the cached texts count against the budget. */
    std::size_t cachedBytes() const;

private:
    struct Key {
        std::uint32_t source = 0;
        std::int64_t id = 0;
        bool operator==(const Key &) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key &key) const
        {
            return std::hash<std::int64_t>{}(key.id) ^ (std::size_t(key.source) * 0x9E3779B97F4A7C15ull);
        }
    };
    struct Cached {
        Key key;
        QString text;
        std::size_t cost = 0;
    };

    void put(const Key &key, const QString &text);
    void drop(std::list<Cached>::iterator it);
    void evictTo(std::size_t bytes);
    void dropSource(std::uint32_t source);

    mutable std::mutex m_mutex;
    std::unordered_map<std::uint32_t, std::shared_ptr<const Reader>> m_readers;
    std::uint32_t m_lastSource = 0;
    // Most recently used first.
    std::list<Cached> m_order;
    std::unordered_map<Key, std::list<Cached>::iterator, KeyHash> m_cached;
    std::size_t m_bytes = 0;
    // Moves at every forget, so a read that overlapped one is not cached.
    std::uint64_t m_generation = 0;
    std::size_t m_budget = defaultBudget;
};

} // namespace corvane
