#pragma once

#include <QKeySequence>
#include <QString>

namespace corvane::KeyLegend {

/** Super+Shift+V: show or hide the main window. */
QKeySequence showWindow();
/** Super+Alt+V: the next paste-queue item. */
QKeySequence nextPasteItem();

/** A key as Linux desktops name it: "Super+Shift+V" (Qt says "Meta"). */
QString text(const QKeySequence &sequence);

} // namespace corvane::KeyLegend
