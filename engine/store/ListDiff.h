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
};

} // namespace corvane
