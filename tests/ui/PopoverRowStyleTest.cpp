#include "PopoverRowStyle.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace corvane;

TEST(PopoverRowStyle, LeadingVisualAndTitleFontPerGroup)
{
    EXPECT_EQ(leadingVisual(ClipGroup::image, true), (LeadingVisual{LeadingVisual::Thumbnail, 44}));
    EXPECT_EQ(leadingVisual(ClipGroup::image, false), (LeadingVisual{LeadingVisual::GroupVisual, 24}));
    EXPECT_EQ(leadingVisual(ClipGroup::color, false), (LeadingVisual{LeadingVisual::GroupVisual, 30}));
    EXPECT_EQ(leadingVisual(ClipGroup::text, true), (LeadingVisual{LeadingVisual::GroupVisual, 24}));

    QStringList mono;
    for (ClipGroup g : ClipGroups::allCases) {
        const TitleStyle style = titleStyle(g);
        if (style.monospaced)
            mono << ClipGroups::rawValue(g);
        EXPECT_EQ(style.pointSize, style.monospaced ? 12.0 : 12.5);
        EXPECT_NE(style.medium, style.monospaced);
    }
    EXPECT_EQ(mono.join(','), "code,color,phone,secret,file,number");
}

TEST(PopoverRowStyle, TrailingMarkPrecedence)
{
    EXPECT_EQ(trailingMark(true, true, 4), TrailingMark::Copied);
    EXPECT_EQ(trailingMark(false, true, 4), TrailingMark::PinButton);
    EXPECT_EQ(trailingMark(false, false, 4), TrailingMark::Shortcut);
    EXPECT_EQ(trailingMark(false, false, std::nullopt), TrailingMark::None);
    EXPECT_EQ(shortcutLegend(4), "Ctrl+4");
}
