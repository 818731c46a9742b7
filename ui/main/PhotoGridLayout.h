#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace corvane {

/** @brief How many photo tiles fit a pane, and how wide each is. */
struct PhotoGridColumns {
    static constexpr double minimumTile = 150;
    static constexpr double maximumTile = 240;
    static constexpr double spacing = 12;
    static constexpr double sidePadding = 40;

    int count = 1;
    double width = 0;

    /** Columns of at least 150 and at most 240 points, 12 apart, in a pane with 20 each side. */
    static PhotoGridColumns forPane(double paneWidth);
};

/** @brief One line of the grid: the ids of up to `columns` clips of one section. */
struct PhotoRow {
    int section = -1;
    std::vector<std::int64_t> ids;
    bool operator==(const PhotoRow &) const = default;
};

/** Cuts each section's run of ids (given per clip, in list order) into rows of `columns`. */
std::vector<PhotoRow> chunkPhotoRows(const std::vector<std::int64_t> &ids, const std::vector<int> &sections, int columns);

} // namespace corvane
