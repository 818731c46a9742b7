#include "HighlightSpans.h"
#include "TagLabel.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(HighlightSpans, KeepsOnlyDrawableRanges)
{
    const QString text = QStringLiteral("ab\U0001F600cd e\u0301f"); // emoji pair at 2-3, e + accent at 7-8
    struct Case {
        const char *why;
        QList<HighlightSpan> in;
        QList<HighlightSpan> out;
    };
    const Case cases[] = {
        {"nothing asked", {}, {}},
        {"two occurrences", {{0, 1}, {4, 5}}, {{0, 1}, {4, 5}}},
        {"whole text", {{0, text.size()}}, {{0, text.size()}}},
        {"out of range", {{-1, 2}, {5, 99}}, {}},
        {"reversed or empty", {{3, 1}, {2, 2}}, {}},
        {"splits the emoji pair", {{3, 5}, {0, 3}}, {}},
        {"emoji kept whole", {{2, 4}}, {{2, 4}}},
        {"splits a grapheme", {{7, 8}}, {}},
        {"overlaps kept", {{0, 4}, {2, 5}}, {{0, 4}, {2, 5}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(highlightSpans(text, c.in), c.out) << c.why;
}

TEST(TagLabel, NamesInTheGivenOrder)
{
    EXPECT_EQ(tagsAccessibilityLabel({ColorTag::red, ColorTag::blue}), "Red, Blue tags");
    EXPECT_EQ(tagsAccessibilityLabel({ColorTag::blue, ColorTag::red}), "Blue, Red tags");
}
