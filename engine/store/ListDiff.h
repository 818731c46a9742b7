#pragma once

#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief How to turn one list of ids into another with row removals and insertions only.
 *
 * The rows kept are a longest run of old rows already in the new order; every other old row is
 * removed, and the new rows not kept (moved ones included) are inserted where they belong.
 */
struct ListDiff {
    /** Per old row: removed. */
    std::vector<bool> remove;
    /** Per new row: inserted (the others are kept rows, in order). */
    std::vector<bool> insert;

    static ListDiff byID(const std::vector<std::int64_t> &oldIDs, const std::vector<std::int64_t> &newIDs);
    /** Separate removals and insertions (each a run of adjacent rows). */
    int editCount() const;

    /**
     * Calls `removeRows(first, last)` for each run of removed old rows, the last run first, so
     * the rows of the runs still to come keep their numbers.
     */
    template<typename RemoveRows> void forEachRemovedRun(RemoveRows &&removeRows) const
    {
        for (int last = int(remove.size()) - 1; last >= 0; --last) {
            if (!remove[std::size_t(last)])
                continue;
            int first = last;
            while (first > 0 && remove[std::size_t(first - 1)])
                --first;
            removeRows(first, last);
            last = first;
        }
    }

    /**
     * Calls `insertRows(first, last)` for each run of inserted new rows, in order; applied after
     * the removals, every run lands at its own new row numbers.
     */
    template<typename InsertRows> void forEachInsertedRun(InsertRows &&insertRows) const
    {
        for (int first = 0; first < int(insert.size()); ++first) {
            if (!insert[std::size_t(first)])
                continue;
            int last = first;
            while (last + 1 < int(insert.size()) && insert[std::size_t(last + 1)])
                ++last;
            insertRows(first, last);
            first = last;
        }
    }
};

} // namespace corvane
