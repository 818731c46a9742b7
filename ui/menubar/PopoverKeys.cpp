#include "PopoverKeys.h"

#include <QRegularExpression>

namespace corvane {

std::optional<qint64> keyNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

PopoverKeyDecision decidePopoverKey(int key, Qt::KeyboardModifiers modifiers, const QString &text, bool autoRepeat, int drawnRows,
                                    quint32 nativeScanCode)
{
    switch (key) {
    case Qt::Key_Down:
        return {PopoverKeyAction::MoveDown};
    case Qt::Key_Up:
        return {PopoverKeyAction::MoveUp};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {PopoverKeyAction::CopyHighlighted};
    default:
        break;
    }
    if (!(modifiers & Qt::ControlModifier) || autoRepeat)
        return {};
    std::optional<qint64> n = keyNumber(text);
    if (!n && text.isEmpty() && key >= Qt::Key_0 && key <= Qt::Key_9)
        n = key - Qt::Key_0;
    // X key codes 10-18 are the number row's 1-9 keys whatever the layout prints on them.
    constexpr quint32 firstDigitKeyCode = 10;
    if (!n && nativeScanCode >= firstDigitKeyCode && nativeScanCode < firstDigitKeyCode + 9)
        n = nativeScanCode - firstDigitKeyCode + 1;
    if (!n || *n < 1 || *n > 9 || *n > drawnRows)
        return {};
    return {PopoverKeyAction::CopyRow, int(*n - 1)};
}

std::optional<qint64> movedHighlight(const std::optional<qint64> &highlighted, int step, const QList<qint64> &ids)
{
    if (ids.isEmpty())
        return highlighted;
    const qsizetype count = ids.size();
    qsizetype start = highlighted ? ids.indexOf(*highlighted) : -1;
    if (start < 0)
        start = step >= 1 ? -1 : count;
    const qsizetype next = std::clamp<qsizetype>(start + step, 0, count - 1);
    return ids.at(next);
}

QString effectiveQuery(const std::optional<ClipGroup> &group, const QString &query)
{
    if (!group)
        return query;
    return QStringLiteral("type:") + ClipGroups::rawValue(*group) + u' ' + query;
}

} // namespace corvane
