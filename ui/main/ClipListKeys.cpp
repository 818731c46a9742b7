#include "ClipListKeys.h"

namespace corvane {

namespace {

ListKeyAction singleOrMany(bool hasSelected, int selectionCount, ListKeyAction single, ListKeyAction many)
{
    if (selectionCount >= 2)
        return many;
    return hasSelected ? single : ListKeyAction::Nothing;
}

} // namespace

bool isHeldKeyRepeat(bool autoRepeat, qint64 msSinceRelease)
{
    return autoRepeat || (msSinceRelease >= 0 && msSinceRelease < repeatWindowMs);
}

ListKeyAction decideListKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat, bool hasSelected, int selectionCount)
{
    const bool once = !autoRepeat;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!once)
            return ListKeyAction::Nothing;
        if ((modifiers & Qt::AltModifier) && hasSelected)
            return ListKeyAction::CopyPlain;
        return singleOrMany(hasSelected, selectionCount, ListKeyAction::Copy, ListKeyAction::CopyMany);
    case Qt::Key_Space:
        return once && hasSelected ? ListKeyAction::QuickLook : ListKeyAction::Nothing;
    case Qt::Key_Escape:
        return ListKeyAction::ClearSelection;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (!once)
            return ListKeyAction::Nothing;
        return singleOrMany(hasSelected, selectionCount, ListKeyAction::Delete, ListKeyAction::DeleteMany);
    case Qt::Key_Up:
        return ListKeyAction::MoveUp;
    case Qt::Key_Down:
        return ListKeyAction::MoveDown;
    default:
        return ListKeyAction::Pass;
    }
}

} // namespace corvane
