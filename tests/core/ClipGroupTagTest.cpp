#include "ClipGroup.h"
#include "ColorTag.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(ClipGroup, RawValuesRoundTripInDeclarationOrder)
{
    QStringList raws;
    for (ClipGroup g : ClipGroups::allCases) {
        raws << ClipGroups::rawValue(g);
        EXPECT_EQ(ClipGroups::fromRawValue(ClipGroups::rawValue(g)), g);
    }
    EXPECT_EQ(raws.join(','), "link,code,color,email,phone,secret,image,file,number,text");
    EXPECT_EQ(ClipGroups::displayName(ClipGroup::email), "Email");
    EXPECT_FALSE(ClipGroups::fromRawValue("Link").has_value());
}

TEST(ColorTag, MaskKeepsUnknownBitsAndIgnoresThemWhenDecoding)
{
    const std::int64_t stored = (1 << 1) | (1 << 4) | (1 << 9);
    EXPECT_EQ(ColorTags::fromMask(stored), (QList<ColorTag>{ColorTag::orange, ColorTag::blue}));
    const auto rewritten = ColorTags::toMask({ColorTag::red}, stored);
    EXPECT_EQ(rewritten, (1 << 0) | (1 << 9));
    EXPECT_EQ(ColorTags::name(ColorTag::gray), "Gray");
    EXPECT_FALSE(ColorTags::fromRawValue(7).has_value());
}
