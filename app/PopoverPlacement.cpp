#include "PopoverPlacement.h"

#include <algorithm>

namespace corvane {
namespace {
constexpr int kGap = 6;
}

QRect popoverGeometry(QSize size, QRect trayIcon, QPoint pointer, QRect available)
{
    const QRect anchor = trayIcon.isEmpty() ? QRect(pointer, QSize(1, 1)) : trayIcon;
    const bool below = anchor.center().y() < available.center().y();
    QRect geometry(
        QPoint(anchor.center().x() - size.width() / 2, below ? anchor.bottom() + 1 + kGap : anchor.top() - kGap - size.height()),
        size);
    // Clamp: a popover larger than the screen keeps its top-left corner on screen.
    geometry.moveLeft(std::max(available.left(), std::min(geometry.left(), available.right() + 1 - size.width())));
    geometry.moveTop(std::max(available.top(), std::min(geometry.top(), available.bottom() + 1 - size.height())));
    return geometry;
}

QPoint pasteQueuePanelPosition(QSize size, QRect trayIcon, QRect available, int margin)
{
    const bool iconAtTop = trayIcon.isEmpty() || trayIcon.center().y() < available.center().y();
    const int x = available.right() + 1 - margin - size.width();
    const int y = iconAtTop ? available.bottom() + 1 - margin - size.height() : available.top() + margin;
    return QPoint(std::max(available.left(), x), std::max(available.top(), y));
}

} // namespace corvane
