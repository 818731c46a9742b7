#pragma once

#include <QList>
#include <QSet>

#include <cstdint>
#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief The paste queue: clip ids in order and the index of the item waiting on the clipboard.
 *
 * Only ids are held, so a clip deleted or pruned meanwhile can be dropped on reload instead of
 * being pasted from a stale copy.
 */
class PasteQueue
{
public:
    const QList<std::int64_t> &ids() const { return m_ids; }
    bool isEmpty() const { return m_ids.isEmpty(); }
    /** -1 when the queue is empty. */
    int currentIndex() const { return m_ids.isEmpty() ? -1 : m_current; }
    std::optional<std::int64_t> currentID() const;
    bool contains(std::int64_t id) const { return m_ids.contains(id); }

    /** Appends the ids not queued yet, in the given order; returns how many were appended. */
    int append(const QList<std::int64_t> &ids);
    /** Moves to the next item; past the last one the queue empties. True while an item is current. */
    bool advance();
    void clear();

    /** @brief What retain() changed. */
    struct Retained {
        bool changed = false;
        /** The current item vanished and another one took its place. */
        bool currentReplaced = false;
    };
    /**
     * Drops the ids that no longer `exist`. When the current item vanished, the next surviving
     * item becomes current; when none follows, the queue empties.
     */
    Retained retain(const std::function<bool(std::int64_t)> &exists);

private:
    QList<std::int64_t> m_ids;
    int m_current = 0;
};

} // namespace corvane
