#include "PhotoGridLayout.h"

#include <algorithm>
#include <cmath>

namespace corvane {

PhotoGridColumns PhotoGridColumns::forPane(double paneWidth)
{
    const double width = std::max(0.0, paneWidth - sidePadding);
    const int count = std::max(1, int(std::floor((width + spacing) / (minimumTile + spacing))));
    return {count, std::min(maximumTile, (width - spacing * (count - 1)) / count)};
}

std::vector<PhotoRow> chunkPhotoRows(const std::vector<std::int64_t> &ids, const std::vector<int> &sections, int columns)
{
    columns = std::max(1, columns);
    std::vector<PhotoRow> rows;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int section = i < sections.size() ? sections[i] : -1;
        if (rows.empty() || rows.back().section != section || int(rows.back().ids.size()) == columns)
            rows.push_back({section, {}});
        rows.back().ids.push_back(ids[i]);
    }
    return rows;
}

} // namespace corvane
