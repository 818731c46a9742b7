#include "ClipGroup.h"
#include "ColorHex.h"
#include "GroupStyle.h"
#include "IconTable.h"
#include "Theme.h"

#include <QGuiApplication>
#include <QVariant>

#include <gtest/gtest.h>

using namespace corvane;

TEST(ColorFromHex, SixDigitsWithOrWithoutHashGiveAnOpaqueColour)
{
    for (const char *text : {"#FF5E3A", "FF5E3A", "#ff5e3a", "ff5E3a"}) {
        const QColor c = colorFromHex(QString::fromLatin1(text));
        EXPECT_EQ(c, QColor(0xFF, 0x5E, 0x3A)) << text;
        EXPECT_EQ(c.alpha(), 255) << text;
    }
    EXPECT_EQ(colorFromHex(u"7AA8E8"), QColor(0x7A, 0xA8, 0xE8));
}

TEST(ColorFromHex, AnythingElseIsBlack)
{
    for (const char16_t *text : {u"", u"#", u"#FFF", u"#FF5E3A0", u"##FF5E3A", u"#GG0000", u"+12345", u"-12345", u" 12345",
                                 u"FF5E3A ", u"0x1234", u"#FF 5E3", u"red", u"\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16"}) {
        EXPECT_EQ(colorFromHex(QStringView(text)), QColor(Qt::black)) << QString::fromUtf16(text).toStdString();
    }
}

TEST(Theme, TranslucentEntriesCarryTheirOpacity)
{
    const Theme palette;
    struct Case {
        const char *name;
        QRgb rgb;
        double alpha;
    };
    for (const Case c : {Case{"sunsetCream", 0xFFF4E8, 1}, Case{"sunsetFaint", 0x6B6480, 0.7}, Case{"sunsetPanel", 0xFFFFFF, 0.7},
                         Case{"sunsetPanelStrong", 0xFFFFFF, 0.88}, Case{"sunsetHoverShade", 0x000000, 0.05},
                         Case{"sunsetHairline", 0x1E1A2E, 0.08}, Case{"sunsetHighlight", 0xFFD56B, 0.6},
                         Case{"accentGradientEnd", 0xFF3D8B, 1}}) {
        const QColor color = palette.property(c.name).value<QColor>();
        EXPECT_EQ(color.rgb() & 0xFFFFFF, c.rgb) << c.name;
        EXPECT_NEAR(color.alphaF(), c.alpha, 0.003) << c.name;
    }
}

TEST(Theme, TagColoursByRawValue)
{
    const Theme palette;
    EXPECT_EQ(palette.tagColor(0), QColor(0xFF5F57));
    EXPECT_EQ(palette.tagColor(6), QColor(0x8E8E93));
    EXPECT_EQ(palette.tagColor(7).alpha(), 0);
    EXPECT_EQ(palette.tagColor(-1).alpha(), 0);
}

TEST(GroupStyle, EveryGroupHasANameAColourAndADrawableSymbol)
{
    const GroupStyle style;
    ASSERT_EQ(style.allCases().size(), 10);
    for (const QString &group : style.allCases()) {
        EXPECT_FALSE(style.displayName(group).isEmpty()) << group.toStdString();
        EXPECT_FALSE(IconTable::path(style.symbol(group)).isEmpty()) << group.toStdString();
    }
    EXPECT_EQ(style.color(QStringLiteral("secret")), QColor(0xE5484D));
    EXPECT_EQ(style.symbol(QStringLiteral("color")), "palette");
    EXPECT_EQ(style.color(QStringLiteral("nonsense")), style.color(QStringLiteral("text")));
    EXPECT_TRUE(style.symbol(QStringLiteral("Link")).isEmpty());
}

TEST(Theme, MonospaceFamilyIsFixedPitchWithOrWithoutADesktopTheme)
{
    // Offscreen has no desktop theme: Qt's "fixed" system font is then the general one.
    int argc = 1;
    char name[] = "design_tests";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    EXPECT_TRUE(Theme::isFixedPitch(QFont(Theme::monospaceFamily()))) << Theme::monospaceFamily().toStdString();
    EXPECT_FALSE(Theme::isFixedPitch(QGuiApplication::font()));
}
