#include "PopoverKeys.h"

#include <gtest/gtest.h>

using namespace corvane;
using A = PopoverKeyAction;

TEST(PopoverKeys, KeyMatrix)
{
    struct Case {
        const char *why;
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        bool repeat;
        int rows;
        PopoverKeyDecision expected;
    };
    const auto ctrl = Qt::ControlModifier;
    const Case cases[] = {
        {"down", Qt::Key_Down, {}, {}, false, 0, {A::MoveDown}},
        {"up repeats", Qt::Key_Up, {}, {}, true, 3, {A::MoveUp}},
        {"return", Qt::Key_Return, {}, "\r", false, 0, {A::CopyHighlighted}},
        {"keypad enter", Qt::Key_Enter, {}, "\r", false, 0, {A::CopyHighlighted}},
        {"ctrl+3 of three", Qt::Key_3, ctrl, "3", false, 3, {A::CopyRow, 2}},
        {"ctrl+shift+3 reading 3", Qt::Key_3, ctrl | Qt::ShiftModifier, "3", false, 3, {A::CopyRow, 2}},
        {"ctrl+shift+3 reading #", Qt::Key_NumberSign, ctrl | Qt::ShiftModifier, "#", false, 3, {}},
        {"ctrl+9 of sixty", Qt::Key_9, ctrl, "9", false, 60, {A::CopyRow, 8}},
        {"ctrl+0", Qt::Key_0, ctrl, "0", false, 60, {}},
        {"ctrl+5 of three", Qt::Key_5, ctrl, "5", false, 3, {}},
        {"plain 5", Qt::Key_5, {}, "5", false, 9, {}},
        {"auto-repeated digit", Qt::Key_2, ctrl, "2", true, 9, {}},
        {"no text: key code", Qt::Key_4, ctrl, "", false, 9, {A::CopyRow, 3}},
        {"ctrl+1 with only pinned clips", Qt::Key_1, ctrl, "1", false, 0, {}},
        {"letter", Qt::Key_A, ctrl, "a", false, 9, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(decidePopoverKey(c.key, c.mods, c.text, c.repeat, c.rows), c.expected) << c.why;

    // The number row read by position: "&" is the 1 key (X key code 10) on an AZERTY layout.
    EXPECT_EQ(decidePopoverKey(Qt::Key_Ampersand, ctrl, "&", false, 9, 10), (PopoverKeyDecision{A::CopyRow, 0}));
    EXPECT_EQ(decidePopoverKey(Qt::Key_Eacute, ctrl, QStringLiteral("é"), false, 9, 11), (PopoverKeyDecision{A::CopyRow, 1}));
    EXPECT_EQ(decidePopoverKey(Qt::Key_ParenLeft, ctrl, "(", false, 9, 19), PopoverKeyDecision{}) << "the 0 key";
    EXPECT_EQ(decidePopoverKey(Qt::Key_Ampersand, {}, "&", false, 9, 10), PopoverKeyDecision{}) << "no Ctrl";
}

TEST(PopoverKeys, NumberTextIsCheckedStrictly)
{
    EXPECT_EQ(keyNumber("+3"), 3);
    EXPECT_EQ(keyNumber("-3"), -3);
    EXPECT_EQ(keyNumber("007"), 7);
    EXPECT_FALSE(keyNumber("99999999999999999999").has_value()) << "overflow";
    EXPECT_FALSE(keyNumber("3a").has_value());
    EXPECT_FALSE(keyNumber("").has_value());
    EXPECT_FALSE(keyNumber(" 3").has_value());
}

TEST(PopoverKeys, MoveHighlight)
{
    QList<qint64> ids;
    for (qint64 i = 100; i < 160; ++i)
        ids << i;
    EXPECT_EQ(movedHighlight(std::nullopt, -1, ids), 159) << "up with no highlight goes to the last row";
    EXPECT_EQ(movedHighlight(159, 1, ids), 159) << "down on the last row stays";
    EXPECT_EQ(movedHighlight(std::nullopt, 1, ids), 100);
    EXPECT_EQ(movedHighlight(100, -1, ids), 100);
    EXPECT_EQ(movedHighlight(105, 1, ids), 106);
    EXPECT_EQ(movedHighlight(7, 1, ids), 100) << "a vanished clip counts as no highlight";
    EXPECT_EQ(movedHighlight(7, -1, ids), 159);
    EXPECT_EQ(movedHighlight(7, 1, {}), 7) << "an empty list changes nothing";
}

TEST(PopoverKeys, EffectiveQuery)
{
    EXPECT_EQ(effectiveQuery(ClipGroup::code, "foo"), "type:code foo");
    EXPECT_EQ(effectiveQuery(ClipGroup::code, ""), "type:code ");
    EXPECT_EQ(effectiveQuery(std::nullopt, "foo bar"), "foo bar");
}
