#pragma once

#include <QHash>

#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief Positions by clip id, rebuilt often over 100,000 clips.
 *
 * Row ids grow by one per insert, so a plain array indexed by id is both small and much
 * faster than hashing; a hash serves only when ids are too sparse for that.
 */
class IdIndex
{
public:
    void clear()
    {
        m_dense.clear();
        m_sparse.clear();
        m_useDense = true;
    }

    /** Prepares for ids up to `maxID` among `count` entries. */
    void reset(std::int64_t maxID, std::size_t count)
    {
        clear();
        m_useDense = maxID >= 0 && std::uint64_t(maxID) <= 4 * count + 1'000'000;
        if (m_useDense)
            m_dense.assign(std::size_t(maxID) + 1, -1);
        else
            m_sparse.reserve(qsizetype(count));
    }

    void insert(std::int64_t id, int position)
    {
        if (m_useDense)
            m_dense[std::size_t(id)] = position;
        else
            m_sparse.insert(id, position);
    }

    /** -1 when absent. */
    int value(std::int64_t id) const
    {
        if (m_useDense)
            return id >= 0 && std::size_t(id) < m_dense.size() ? m_dense[std::size_t(id)] : -1;
        return m_sparse.value(id, -1);
    }

    bool contains(std::int64_t id) const { return value(id) >= 0; }

private:
    bool m_useDense = true;
    std::vector<int> m_dense;
    QHash<std::int64_t, int> m_sparse;
};

} // namespace corvane
