#pragma once

#include "Clip.h"

#include <QImage>

namespace corvane {

/**
 * The picture under the pointer while clips are dragged: the thumbnail of an image clip, else a
 * small cream card with the clip's (masked) title, and the count when several clips go.
 */
QImage dragPreview(const Clip &clip, int count, qreal devicePixelRatio);

} // namespace corvane
