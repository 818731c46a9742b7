#pragma once

#include <QtGlobal>
#include <Qt>

namespace corvane {

/** What a key press in the clip list does. */
enum class ListKeyAction {
    Pass,      ///< not a list key: left to others
    Nothing,   ///< a list key with nothing to act on: taken, no effect
    Copy,      ///< the selected clip
    CopyPlain, ///< the selected clip, as plain text
    CopyMany,  ///< the selection, joined
    QuickLook, ///< the selected clip
    ClearSelection,
    Delete,     ///< the selected clip
    DeleteMany, ///< the selection
    MoveUp,
    MoveDown,
};

/**
 * The list's key rules. `hasSelected` says the selected clip (the anchor) is in the list;
 * `selectionCount` counts the selected clips in the list. Return, Space and Delete/Backspace act
 * once per press: their auto-repeats are taken and do nothing, so a held Backspace deletes one
 * clip and a held Space does not open and close Quick Look. Escape and the arrows repeat.
 */
/**
 * Whether a press is a repeat of a held key: flagged so, or pressed again within
 * `repeatWindowMs` of the same key's release (X event times). X servers without detectable
 * auto-repeat send each repeat as a release and a press at the same moment, and under load the
 * pair is not always recognised, so a held key can look like fresh presses; no one lifts and
 * presses a key again that fast.
 */
bool isHeldKeyRepeat(bool autoRepeat, qint64 msSinceRelease);
inline constexpr qint64 repeatWindowMs = 10;

ListKeyAction decideListKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, bool hasSelected, int selectionCount);

} // namespace corvane
