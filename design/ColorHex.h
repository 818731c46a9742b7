#pragma once

#include <QColor>
#include <QStringView>

namespace corvane {

/** An opaque colour from "#RRGGBB" or "RRGGBB"; black for anything else. */
QColor colorFromHex(QStringView hex);

} // namespace corvane
