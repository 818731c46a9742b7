#include "PopoverRowStyle.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(PopoverRowStyle, LeadingVisualPerGroup)
{
    EXPECT_EQ(leadingVisual(ClipGroup::image, true), (LeadingVisual{LeadingVisual::Thumbnail, 44}));
    EXPECT_EQ(leadingVisual(ClipGroup::image, false), (LeadingVisual{LeadingVisual::GroupVisual, 24}));
    EXPECT_EQ(leadingVisual(ClipGroup::color, false), (LeadingVisual{LeadingVisual::GroupVisual, 30}));
    EXPECT_EQ(leadingVisual(ClipGroup::text, true), (LeadingVisual{LeadingVisual::GroupVisual, 24}));
}

TEST(PopoverRowStyle, TrailingMarkPrecedence)
{
    const PopoverRowStyle style;
    EXPECT_EQ(style.trailingMark(true, true, true), PopoverRowStyle::Copied);
    EXPECT_EQ(style.trailingMark(false, true, true), PopoverRowStyle::PinButton);
    EXPECT_EQ(style.trailingMark(false, false, true), PopoverRowStyle::Shortcut);
    EXPECT_EQ(style.trailingMark(false, false, false), PopoverRowStyle::None);
    EXPECT_EQ(style.trailingMark(true, false, false), PopoverRowStyle::Copied);
}
