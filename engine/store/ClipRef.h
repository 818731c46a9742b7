#pragma once

#include "Clip.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <vector>

namespace corvane {

/**
 * A loaded clip, shared: the store's lists and the views' models hold the same object, and an
 * unchanged clip keeps its object across reloads, so comparing pointers tells what changed.
 */
using ClipRef = std::shared_ptr<const Clip>;
/** An ordered list of loaded clips; cheap to copy. */
using ClipList = QList<ClipRef>;

/**
 * @brief How a visible list is cut into sections: the titles, and for each row of the visible
 * list (sections keep its order) the ordinal id of its section, which is its index in `titles`.
 */
struct SectionLayout {
    QStringList titles;
    std::vector<int> rowSection;
    /** The first row of each section. */
    std::vector<int> starts;
};

/** @brief One section of the main list: an ordinal id (titles may repeat), a title, its clips. */
struct ClipSection {
    int id = 0;
    QString title;
    ClipList clips;
};

} // namespace corvane
