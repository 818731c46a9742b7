#include "ListDiff.h"

#include "IdIndex.h"

#include <algorithm>
#include <limits>

namespace corvane {

namespace {

/** Positions (into `values`) of a longest strictly increasing subsequence. */
std::vector<int> longestIncreasing(const std::vector<int> &values)
{
    std::vector<int> tails; // index into values of the smallest tail of each length
    std::vector<int> previous(values.size(), -1);
    for (int i = 0; i < int(values.size()); ++i) {
        auto it = std::lower_bound(tails.begin(), tails.end(), values[i],
                                   [&values](int index, int value) { return values[index] < value; });
        if (it != tails.begin())
            previous[i] = *(it - 1);
        if (it == tails.end())
            tails.push_back(i);
        else
            *it = i;
    }
    std::vector<int> result(tails.size());
    int at = tails.empty() ? -1 : tails.back();
    for (int k = int(result.size()) - 1; k >= 0; --k) {
        result[k] = at;
        at = previous[at];
    }
    return result;
}

int countRuns(const std::vector<bool> &flags)
{
    int runs = 0;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] && (i == 0 || !flags[i - 1]))
            ++runs;
    }
    return runs;
}

} // namespace

ListDiff ListDiff::byID(const std::vector<std::int64_t> &oldIDs, const std::vector<std::int64_t> &newIDs)
{
    ListDiff diff{std::vector<bool>(oldIDs.size(), true), std::vector<bool>(newIDs.size(), true)};
    // Rows the same at both ends are kept as they are; most reloads (a new clip on top, one
    // deleted) only touch a few rows, so only the middle needs the longest-run search.
    std::size_t head = 0;
    while (head < oldIDs.size() && head < newIDs.size() && oldIDs[head] == newIDs[head])
        ++head;
    std::size_t tail = 0;
    while (tail < oldIDs.size() - head && tail < newIDs.size() - head
           && oldIDs[oldIDs.size() - 1 - tail] == newIDs[newIDs.size() - 1 - tail])
        ++tail;
    std::fill_n(diff.remove.begin(), head, false);
    std::fill_n(diff.insert.begin(), head, false);
    std::fill(diff.remove.end() - std::ptrdiff_t(tail), diff.remove.end(), false);
    std::fill(diff.insert.end() - std::ptrdiff_t(tail), diff.insert.end(), false);
    const int oldEnd = int(oldIDs.size() - tail);
    const int newEnd = int(newIDs.size() - tail);

    // Ids counted from the smallest: a few new rows among a million ids index a few slots.
    std::int64_t minID = std::numeric_limits<std::int64_t>::max();
    std::int64_t maxID = 0;
    for (int i = int(head); i < newEnd; ++i) {
        minID = std::min(minID, newIDs[std::size_t(i)]);
        maxID = std::max(maxID, newIDs[std::size_t(i)]);
    }
    minID = std::min(minID, maxID);
    IdIndex newIndex;
    newIndex.reset(maxID - minID, std::size_t(newEnd) - head);
    for (int i = int(head); i < newEnd; ++i)
        newIndex.insert(newIDs[std::size_t(i)] - minID, i);

    std::vector<int> positions; // new position of each old row still present
    std::vector<int> oldRows;
    for (int i = int(head); i < oldEnd; ++i) {
        const std::int64_t id = oldIDs[std::size_t(i)];
        const int position = id < minID ? -1 : newIndex.value(id - minID);
        if (position >= 0) {
            positions.push_back(position);
            oldRows.push_back(i);
        }
    }
    for (int k : longestIncreasing(positions)) {
        diff.remove[std::size_t(oldRows[std::size_t(k)])] = false;
        diff.insert[std::size_t(positions[std::size_t(k)])] = false;
    }
    return diff;
}

int ListDiff::editCount() const { return countRuns(remove) + countRuns(insert); }

} // namespace corvane
