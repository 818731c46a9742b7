#include "PopoverRowStyle.h"

namespace corvane {

LeadingVisual leadingVisual(ClipGroup group, bool hasThumbnail)
{
    if (group == ClipGroup::image && hasThumbnail)
        return {LeadingVisual::Thumbnail, 44};
    return {LeadingVisual::GroupVisual, group == ClipGroup::color ? 30 : 24};
}

PopoverRowStyle::TrailingMark PopoverRowStyle::trailingMark(bool copied, bool hovering, bool numbered) const
{
    if (copied)
        return Copied;
    if (hovering)
        return PinButton;
    if (numbered)
        return Shortcut;
    return None;
}

} // namespace corvane
