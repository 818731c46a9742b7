#pragma once

#include "RGBA.h"

#include <QString>

namespace corvane {

/** "rgb(R, G, B)": channels clamped to 0-1 (non-finite as 0), times 255, halves away from zero. */
QString rgbString(const RGBA &color);
/** "hsl(H, S%, L%)", or "hsl(0, 0%, L%)" for a grey; same clamping as rgbString. H may be 360. */
QString hslString(const RGBA &color);

} // namespace corvane
