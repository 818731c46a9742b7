#pragma once

#include <QList>
#include <QSet>

#include <cstdint>
#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief The selected clips and their anchor, and how clicks, modifier clicks and arrow keys
 * change them within the list the user sees.
 */
class Selection
{
public:
    /** The visible list by position: its length, the id at a position, an id's position (-1: not shown). */
    struct Order {
        int count = 0;
        std::function<std::int64_t(int position)> idAt;
        std::function<int(std::int64_t id)> positionOf;
    };

    std::optional<std::int64_t> anchor() const { return m_anchor; }
    const QSet<std::int64_t> &ids() const { return m_ids; }
    int count() const { return int(m_ids.size()); }
    /** The id is selected and the selection holds two or more ids. */
    bool isInMultiple(std::int64_t id) const { return m_ids.size() >= 2 && m_ids.contains(id); }

    /** Replaces the selection; true when it changed. */
    bool set(std::optional<std::int64_t> anchor, QSet<std::int64_t> ids);
    /**
     * A click on `id`: alone it selects only `id`; with `command` it toggles `id`, the anchor
     * moving to the nearest remaining member; with `shift` it selects the range from the anchor.
     */
    bool select(std::int64_t id, bool command, bool shift, const Order &order);
    /** Where an arrow key by `offset` lands: clamped, or an end when nothing shown is selected. */
    std::optional<std::int64_t> moveTarget(int offset, const Order &order) const;
    /** Keeps only the ids that still `exist`; true when that changed anything. */
    bool retain(const std::function<bool(std::int64_t)> &exists);
    /** The clip that takes the anchor's place when `id` leaves: the next shown, else the previous. */
    static std::optional<std::int64_t> successor(std::int64_t id, const Order &order);

private:
    std::int64_t nearestMember(std::int64_t removed, const QSet<std::int64_t> &members, const Order &order) const;

    std::optional<std::int64_t> m_anchor;
    QSet<std::int64_t> m_ids;
};

} // namespace corvane
