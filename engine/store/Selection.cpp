#include "Selection.h"

#include <algorithm>
#include <cstdlib>

namespace corvane {

bool Selection::set(std::optional<std::int64_t> anchor, QSet<std::int64_t> ids)
{
    if (anchor == m_anchor && ids == m_ids)
        return false;
    m_anchor = anchor;
    m_ids = std::move(ids);
    return true;
}

std::int64_t Selection::nearestMember(std::int64_t removed, const QSet<std::int64_t> &members, const Order &order) const
{
    // The member closest to the removed clip in the visible list, earlier on a tie.
    const int origin = order.positionOf(removed);
    std::optional<std::int64_t> best;
    int bestDistance = 0;
    for (int i = 0; i < order.count; ++i) {
        const std::int64_t id = order.idAt(i);
        if (!members.contains(id))
            continue;
        const int distance = origin < 0 ? i : std::abs(i - origin);
        if (!best || distance < bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    return best ? *best : *std::min_element(members.begin(), members.end());
}

bool Selection::select(std::int64_t id, bool command, bool shift, const Order &order)
{
    if (command) {
        QSet<std::int64_t> ids = m_ids;
        std::optional<std::int64_t> anchor;
        if (ids.remove(id)) {
            if (m_anchor && ids.contains(*m_anchor))
                anchor = m_anchor;
            else if (!ids.isEmpty())
                anchor = nearestMember(id, ids, order);
        } else {
            ids.insert(id);
            anchor = id;
        }
        return set(anchor, std::move(ids));
    }
    if (shift && m_anchor) {
        const int from = order.positionOf(*m_anchor);
        const int to = order.positionOf(id);
        if (from < 0 || to < 0)
            return set(id, {id});
        QSet<std::int64_t> range;
        for (int i = std::min(from, to); i <= std::max(from, to); ++i)
            range.insert(order.idAt(i));
        return set(m_anchor, std::move(range));
    }
    return set(id, {id});
}

std::optional<std::int64_t> Selection::moveTarget(int offset, const Order &order) const
{
    if (order.count == 0)
        return std::nullopt;
    const int current = m_anchor ? order.positionOf(*m_anchor) : -1;
    const int target = current >= 0 ? std::clamp(current + offset, 0, order.count - 1) : (offset < 1 ? order.count - 1 : 0);
    return order.idAt(target);
}

bool Selection::retain(const std::function<bool(std::int64_t)> &exists)
{
    QSet<std::int64_t> kept;
    for (std::int64_t id : std::as_const(m_ids)) {
        if (exists(id))
            kept.insert(id);
    }
    std::optional<std::int64_t> anchor = m_anchor;
    if (anchor && !exists(*anchor))
        anchor.reset();
    return set(anchor, std::move(kept));
}

std::optional<std::int64_t> Selection::successor(std::int64_t id, const Order &order)
{
    const int position = order.positionOf(id);
    if (position < 0)
        return std::nullopt;
    if (position + 1 < order.count)
        return order.idAt(position + 1);
    if (position > 0)
        return order.idAt(position - 1);
    return std::nullopt;
}

} // namespace corvane
