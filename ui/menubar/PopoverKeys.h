#pragma once

#include "ClipGroup.h"

#include <QList>
#include <QString>
#include <Qt>

#include <optional>

namespace corvane {

/** What a key press in the popover does. */
enum class PopoverKeyAction { Ignore, MoveDown, MoveUp, CopyHighlighted, CopyRow };

struct PopoverKeyDecision {
    PopoverKeyAction action = PopoverKeyAction::Ignore;
    int row = -1; ///< offset of the row to copy for CopyRow
    bool handled() const { return action != PopoverKeyAction::Ignore; }
    friend bool operator==(const PopoverKeyDecision &, const PopoverKeyDecision &) = default;
};

/**
 * The popover's key rules over `drawnRows` recent rows: the arrows and Return are always taken;
 * Ctrl with a digit 1-9 copies that row when it is drawn; everything else, and an auto-repeated
 * digit, is passed on. The digit is read from the key's text, else its key code, else the
 * physical number row (X key codes 10-18), so layouts whose number row types "&é\"'…" work too.
 */
PopoverKeyDecision decidePopoverKey(int key, Qt::KeyboardModifiers modifiers, const QString &text, bool autoRepeat, int drawnRows,
                                    quint32 nativeScanCode = 0);

/** The row number a key's text stands for ("3", "+3", "-3"); nothing for other text or overflow. */
std::optional<qint64> keyNumber(const QString &text);

/**
 * The id the highlight moves to by `step` over `ids` (the drawn rows): a highlight not among
 * them counts as none, so Down starts at the first row and Up at the last; the index is clamped.
 * Unchanged when the list is empty.
 */
std::optional<qint64> movedHighlight(const std::optional<qint64> &highlighted, int step, const QList<qint64> &ids);

/** The search the store is asked for: "type:<group> <query>" under a group chip, else the query. */
QString effectiveQuery(const std::optional<ClipGroup> &group, const QString &query);

} // namespace corvane
