#pragma once

#include <QCache>
#include <QImage>

#include <cstdint>

namespace corvane {

/**
 * @brief Decoded full-size images by clip id, least recently used out first, within a byte budget.
 *
 * Entries must be evicted when their clip is deleted or pruned: ids can come back after a
 * clear, and a stale entry would put another picture on the clipboard.
 */
class FullImageCache
{
public:
    static constexpr qsizetype defaultBudgetBytes = 64LL * 1024 * 1024;

    explicit FullImageCache(qsizetype budgetBytes = defaultBudgetBytes) { m_cache.setMaxCost(budgetBytes); }

    /** A null image on a miss. */
    QImage image(std::int64_t id) const;
    /** Keeps the image unless it alone exceeds the budget. */
    void insert(std::int64_t id, const QImage &image);
    void evict(std::int64_t id) { m_cache.remove(id); }
    void clear() { m_cache.clear(); }

    qsizetype totalBytes() const { return m_cache.totalCost(); }
    qsizetype budgetBytes() const { return m_cache.maxCost(); }
    bool contains(std::int64_t id) const { return m_cache.contains(id); }
    QList<std::int64_t> ids() const { return m_cache.keys(); }

private:
    // QCache reorders on lookup, so reads go through a mutable member.
    mutable QCache<std::int64_t, QImage> m_cache;
};

} // namespace corvane
