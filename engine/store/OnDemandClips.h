#pragma once

#include "ClipRef.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace corvane {

/**
 * @brief The clips a large collection holds no object for, read from the history when a row or
 * a view asks for one, and kept under a byte budget, the least recently asked for leaving first.
 *
 * Safe from any thread. An edit or a reload must forget what it changed (see ClipCollection).
 */
class OnDemandClips
{
public:
    /** Reads one clip; nothing when it is gone or cannot be read. Safe from any thread. */
    using Reader = std::function<std::optional<Clip>(std::int64_t id)>;

    /** A few thousand rows' worth: views ask for the rows they show. */
    static constexpr std::size_t defaultBudget = 2 * 1024 * 1024;

    explicit OnDemandClips(Reader reader, std::size_t budget = defaultBudget);
    OnDemandClips(const OnDemandClips &) = delete;
    OnDemandClips &operator=(const OnDemandClips &) = delete;

    /** The clip, from the cache or else read; null when it cannot be read. */
    ClipRef get(std::int64_t id);
    void forget(const QSet<std::int64_t> &ids);
    void clear();

    std::size_t cachedBytes() const;
    std::size_t cachedCount() const;

private:
    struct Cached {
        std::int64_t id = 0;
        ClipRef clip;
        std::size_t cost = 0;
    };

    void drop(std::list<Cached>::iterator it);

    Reader m_reader;
    std::size_t m_budget;
    mutable std::mutex m_mutex;
    std::list<Cached> m_order; // most recently asked first
    std::unordered_map<std::int64_t, std::list<Cached>::iterator> m_byID;
    std::size_t m_bytes = 0;
    // Moves with every forget or clear, so a read that raced one is not kept.
    std::uint64_t m_generation = 0;
};

} // namespace corvane
