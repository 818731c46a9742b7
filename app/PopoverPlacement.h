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

/**
 * Where the paste-queue panel of `size` goes: in the right-hand corner of `available` away from
 * the tray icon (the bottom one for an icon in the upper half or an unknown icon, else the top
 * one), `margin` from the edges, so it hides neither the icon nor the popover under it.
 */
QPoint pasteQueuePanelPosition(QSize size, QRect trayIcon, QRect available, int margin);

} // namespace corvane
