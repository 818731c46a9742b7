#include "KeyLegend.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(KeyLegend, KeysAsTheDesktopNamesThem)
{
    using namespace KeyLegend;
    EXPECT_EQ(text(showWindow()), "Super+Shift+V");
    EXPECT_EQ(text(nextPasteItem()), "Super+Alt+V");
    EXPECT_EQ(text(settings()), "Ctrl+,");
    EXPECT_EQ(text(pin()), "Ctrl+P");
    EXPECT_EQ(text(tag()), "Ctrl+T");
    EXPECT_EQ(text(quickLook()), "Ctrl+Y");
    EXPECT_EQ(text(find()), "Ctrl+F");
    EXPECT_EQ(text(collect()), "Ctrl+Shift+S");
    EXPECT_EQ(text(rowNumber(1)), "Ctrl+1");
    EXPECT_EQ(text(rowNumber(9)), "Ctrl+9");
}

TEST(KeyLegend, QmlSequencesParseBackToTheSameKeys)
{
    // Shortcut and Action read their sequence in the portable form; a legend would not parse ("Super").
    EXPECT_EQ(QKeySequence::fromString(KeyLegends::settingsSequence()), KeyLegend::settings());
    EXPECT_EQ(QKeySequence::fromString(KeyLegends::tagSequence()), KeyLegend::tag());
    EXPECT_EQ(QKeySequence::fromString(KeyLegends::quickLookSequence()), KeyLegend::quickLook());
    EXPECT_EQ(QKeySequence::fromString(KeyLegends::findSequence()), KeyLegend::find());
    EXPECT_EQ(KeyLegends::showWindow(), "Super+Shift+V");
    EXPECT_EQ(KeyLegends::copy(), "\u23CE");
    EXPECT_EQ(KeyLegends::remove(), "\u232B");
}
