#pragma once

#include "ColorTag.h"

#include <QList>
#include <QString>

namespace corvane {

/** The one accessibility label of a row of tag dots: "Red, Blue tags", in the given order. */
QString tagsAccessibilityLabel(const QList<ColorTag> &tags);

} // namespace corvane
