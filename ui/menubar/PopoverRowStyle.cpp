#include "PopoverRowStyle.h"

#include <QKeySequence>

namespace corvane {

LeadingVisual leadingVisual(ClipGroup group, bool hasThumbnail)
{
    if (group == ClipGroup::image && hasThumbnail)
        return {LeadingVisual::Thumbnail, 44};
    return {LeadingVisual::GroupVisual, group == ClipGroup::color ? 30 : 24};
}

TitleStyle titleStyle(ClipGroup group)
{
    if (ClipGroups::isCodeLike(group))
        return {true, 12.0, false};
    return {false, 12.5, true};
}

TrailingMark trailingMark(bool copied, bool hovering, const std::optional<int> &shortcut)
{
    if (copied)
        return TrailingMark::Copied;
    if (hovering)
        return TrailingMark::PinButton;
    if (shortcut)
        return TrailingMark::Shortcut;
    return TrailingMark::None;
}

QString shortcutLegend(int number)
{
    return QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_0 + number)))
        .toString(QKeySequence::NativeText);
}

} // namespace corvane
