#pragma once

#include <Qt>

namespace corvane {

/** What a key press in the clip list does. */
enum class ListKeyAction {
    Pass,        ///< not a list key: left to others
    Nothing,     ///< a list key with nothing to act on: taken, no effect
    Copy,        ///< the selected clip
    CopyPlain,   ///< the selected clip, as plain text
    CopyMany,    ///< the selection, joined
    QuickLook,   ///< the selected clip
    ClearSelection,
    Delete,      ///< the selected clip
    DeleteMany,  ///< the selection
    MoveUp,
    MoveDown,
};

/**
 * The list's key rules. `hasSelected` says the selected clip (the anchor) is in the list;
 * `selectionCount` counts the selected clips in the list. Return, Space and Delete/Backspace act
 * once per press: their auto-repeats are taken and do nothing, so a held Backspace deletes one
 * clip and a held Space does not open and close Quick Look. Escape and the arrows repeat.
 */
ListKeyAction decideListKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, bool hasSelected,
                            int selectionCount);

} // namespace corvane
