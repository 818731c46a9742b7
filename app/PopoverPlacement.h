#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvane {

/**
 * Where the popover of `size` goes: centred on the tray icon when the tray tells where it is,
 * else on the pointer; below the anchor in the upper half of the screen, above it in the lower
 * half (a panel at the bottom); always inside `available`.
 */
QRect popoverGeometry(QSize size, QRect trayIcon, QPoint pointer, QRect available);

} // namespace corvane
