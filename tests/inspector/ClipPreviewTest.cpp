#include "ClipPreviewModel.h"
#include "ColorParser.h"
#include "ColorStrings.h"
#include "InspectorFixture.h"
#include "PreviewRules.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cmath>
#include <limits>

using namespace corvane;

namespace {

RGBA fromHex(const char *hex) { return *ColorParser::parse(QString::fromLatin1(hex)); }

TEST(ColourStrings, ThePartsExamples)
{
    struct Row {
        const char *hex;
        const char *rgb;
        const char *hsl;
    };
    const Row rows[] = {
        {"#FF5E3A", "rgb(255, 94, 58)", "hsl(11, 100%, 61%)"},
        {"#808080", "rgb(128, 128, 128)", "hsl(0, 0%, 50%)"},
        {"#000000", "rgb(0, 0, 0)", "hsl(0, 0%, 0%)"},
        {"#FFFFFF", "rgb(255, 255, 255)", "hsl(0, 0%, 100%)"},
        // Red largest, green below blue: the remainder is negative and 360 is added.
        {"#FF0080", "rgb(255, 0, 128)", "hsl(330, 100%, 50%)"},
        // Rounded up to 360, which stays as the Part writes it.
        {"#FF0001", "rgb(255, 0, 1)", "hsl(360, 100%, 50%)"},
        {"#00FF00", "rgb(0, 255, 0)", "hsl(120, 100%, 50%)"},
        {"#0000FF", "rgb(0, 0, 255)", "hsl(240, 100%, 50%)"},
    };
    for (const Row &row : rows) {
        const RGBA color = fromHex(row.hex);
        EXPECT_EQ(color.hexString(), QLatin1String(row.hex));
        EXPECT_EQ(rgbString(color), QLatin1String(row.rgb)) << row.hex;
        EXPECT_EQ(hslString(color), QLatin1String(row.hsl)) << row.hex;
    }
    // Halves round away from zero: 0.5 × 255 = 127.5 → 128.
    EXPECT_EQ(rgbString({0.5, 0.5, 0.5, 1}), "rgb(128, 128, 128)");
    // Alpha is not shown.
    EXPECT_EQ(rgbString({1, 0, 0, 0.25}), "rgb(255, 0, 0)");
}

TEST(ColourStrings, OutOfRangeAndNonFiniteChannelsAgreeWithHex)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const RGBA wild{1.2, -0.5, nan, 1};
    EXPECT_EQ(wild.hexString(), "#FF0000");
    EXPECT_EQ(rgbString(wild), "rgb(255, 0, 0)");
    EXPECT_EQ(hslString(wild), "hsl(0, 100%, 50%)");
    EXPECT_EQ(rgbString({inf, -inf, nan, nan}), "rgb(0, 0, 0)");
    EXPECT_EQ(hslString({nan, nan, nan, 1}), "hsl(0, 0%, 0%)");
}

TEST(PreviewKind, FollowsTheGroupAndFallsBackForUnparsableColours)
{
    EXPECT_EQ(previewKind(ClipGroup::color, QStringLiteral("#FF5E3A")), PreviewKind::color);
    EXPECT_EQ(previewKind(ClipGroup::color, QStringLiteral("not a colour")), PreviewKind::text);
    EXPECT_EQ(previewKind(ClipGroup::color, std::nullopt), PreviewKind::text);
    EXPECT_EQ(previewKind(ClipGroup::link, std::nullopt), PreviewKind::link);
    EXPECT_EQ(previewKind(ClipGroup::secret, QStringLiteral("x")), PreviewKind::secret);
    EXPECT_EQ(previewKind(ClipGroup::image, std::nullopt), PreviewKind::image);
    for (ClipGroup group :
         {ClipGroup::code, ClipGroup::email, ClipGroup::phone, ClipGroup::file, ClipGroup::number, ClipGroup::text})
        EXPECT_EQ(previewKind(group, QStringLiteral("x")), PreviewKind::text);
    EXPECT_TRUE(textStyle(ClipGroup::color).monospaced);
    EXPECT_EQ(textStyle(ClipGroup::code).lineSpacing, 2);
    EXPECT_EQ(textStyle(ClipGroup::text).pointSize, Theme::bodySize());
    EXPECT_EQ(textStyle(ClipGroup::code).pointSize, Theme::subheadSize());
}

TEST(LinkDisplay, HostPathAndOnlyWebAddressesForTheBrowser)
{
    const LinkDisplay padded = linkDisplay(QStringLiteral("  https://example.com  \n"));
    EXPECT_EQ(padded.host, "example.com");
    EXPECT_EQ(padded.path, "/");
    EXPECT_EQ(padded.browserUrl, QUrl("https://example.com"));

    const LinkDisplay spaced = linkDisplay(QStringLiteral("https://example.com/a%20b"));
    EXPECT_EQ(spaced.path, "/a%20b");

    const LinkDisplay prose = linkDisplay(QStringLiteral("not a url"));
    EXPECT_EQ(prose.host, "Link");
    EXPECT_FALSE(prose.browserUrl);

    // Opening these would fail or hand copied text to a file or custom handler.
    for (const char *text : {"example.com/x", "file:///etc/passwd", "smb://server/share", "javascript:alert(1)", ""})
        EXPECT_FALSE(linkDisplay(QString::fromLatin1(text)).browserUrl) << text;

    const LinkDisplay bare = linkDisplay(QStringLiteral("www.example.com/docs"));
    EXPECT_EQ(bare.browserUrl, QUrl("https://www.example.com/docs"));
    EXPECT_EQ(bare.host, "www.example.com");
}

TEST(ComposeEmail, OnlyOnePlainAddressMakesADraft)
{
    EXPECT_EQ(composeEmailUrl(QStringLiteral("MAILTO:a@b.com")), QUrl("mailto:a@b.com"));
    EXPECT_EQ(composeEmailUrl(QStringLiteral("  bob.smith+news@example.co.uk \n")), QUrl("mailto:bob.smith+news@example.co.uk"));
    for (const char *text :
         {"a@b.com?attach=/home/u/.ssh/id_rsa&body=hi", "a@b.com&cc=x@y.z", "two words@b.com", "no-at-sign", ""})
        EXPECT_FALSE(composeEmailUrl(QString::fromLatin1(text))) << text;
}

TEST(RevealFile, FirstNonBlankLineWithTheHomeFolder)
{
    EXPECT_EQ(firstFilePath(QStringLiteral("~/a\n/b"), QStringLiteral("/home/ada")), QStringLiteral("/home/ada/a"));
    EXPECT_EQ(firstFilePath(QStringLiteral("\n  \n/etc/hosts\n"), QStringLiteral("/home/ada")), QStringLiteral("/etc/hosts"));
    EXPECT_FALSE(firstFilePath(QString(), QStringLiteral("/home/ada")));
}

class PreviewModelTest : public test::InspectorFixture
{ };

TEST_F(PreviewModelTest, ARevealedSecretWithANoteShowsTheNote)
{
    const auto id = add(ClipGroup::secret, QStringLiteral("hunter2-very-secret"), 10);
    store->database()->setNote(id, QStringLiteral("Router password"));
    store->reload();
    ClipPreviewModel model;
    model.setStore(store.get());
    model.setClipId(id);
    EXPECT_EQ(model.kind(), "secret");
    EXPECT_FALSE(model.revealed());
    EXPECT_FALSE(model.secretText().contains("hunter2"));
    model.toggleReveal();
    EXPECT_TRUE(model.revealed());
    EXPECT_EQ(model.secretText(), "Router password");
    model.toggleReveal();
    EXPECT_FALSE(model.revealed());
}

TEST_F(PreviewModelTest, ButtonsOpenOnlyWhatTheyShow)
{
    const auto email = add(ClipGroup::email, QStringLiteral("Mailto:ada@example.com"), 30);
    const auto file = add(ClipGroup::file, QStringLiteral("~/notes.txt\n/tmp/other"), 20);
    const auto link = add(ClipGroup::link, QStringLiteral("file:///etc/passwd"), 10);
    store->reload();
    ClipPreviewModel model;
    model.setStore(store.get());

    model.setClipId(email);
    ASSERT_TRUE(model.canComposeEmail());
    model.composeEmail();
    model.setClipId(file);
    ASSERT_TRUE(model.canShowInFiles());
    model.showInFiles();
    model.setClipId(link);
    EXPECT_FALSE(model.canOpenInBrowser());
    model.openInBrowser();

    EXPECT_EQ(desktop.openedUrls(), QList<QUrl>{QUrl("mailto:ada@example.com")});
    ASSERT_EQ(desktop.shownInFileManager().size(), 1);
    EXPECT_EQ(desktop.shownInFileManager().first(), QStringList{QDir::homePath() + "/notes.txt"});
}

TEST_F(PreviewModelTest, ColourRowsCopyStraightToTheClipboard)
{
    const auto id = add(ClipGroup::color, QStringLiteral("#FF5E3A"), 10);
    store->reload();
    ClipPreviewModel model;
    model.setStore(store.get());
    model.setClipId(id);
    EXPECT_EQ(model.kind(), "color");
    EXPECT_EQ(model.hsl(), "hsl(11, 100%, 61%)");
    model.copyValue(model.rgb());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "rgb(255, 94, 58)");
    // Not through the store: the monitor is meant to record this copy.
    EXPECT_TRUE(clipboard.writes().empty());
}

} // namespace
