#include "ClipboardContent.h"
#include "FakeClipboardService.h"
#include "X11KeyMapping.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace corvane;
using namespace corvane::ClipboardFormats;

TEST(ClipboardFormats, BookkeepingTargetsAndDuplicatesAreDropped)
{
    EXPECT_EQ(withoutBookkeeping({"TARGETS", "text/plain", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "text/html", "text/plain",
                                  "x-kde-passwordManagerHint"}),
              (QStringList{"text/plain", "text/html", "x-kde-passwordManagerHint"}));
}

TEST(ClipboardFormats, FileUrlsFromUriListsKeepOnlyLocalFiles)
{
    const QByteArray body = "# copied by a file manager\r\nfile:///home/ada/a%20b.txt\r\n"
                            "https://example.org/x\r\nfile:///tmp/%C3%A9t%C3%A9.png\r\n\r\n";
    const QList<QUrl> urls = fileUrlsFromUriList(body);
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].toLocalFile(), "/home/ada/a b.txt");
    EXPECT_EQ(urls[1].toLocalFile(), QString::fromUtf8("/tmp/été.png"));
}

TEST(ClipboardFormats, GnomeCopiedFilesNeedTheirVerbLine)
{
    EXPECT_EQ(fileUrlsFromGnomeCopiedFiles("copy\nfile:///a\nfile:///b").size(), 2);
    EXPECT_EQ(fileUrlsFromGnomeCopiedFiles("cut\nfile:///a").size(), 1);
    EXPECT_TRUE(fileUrlsFromGnomeCopiedFiles("file:///a\nfile:///b").isEmpty());
}

TEST(ClipboardFormats, SourceUrlIsTheFirstLineInUtf8OrUtf16)
{
    const QString url = "https://example.org/page?q=1";
    EXPECT_EQ(sourceUrlFromData(url.toUtf8()), url);
    EXPECT_EQ(sourceUrlFromData((url + "\nPage title").toUtf8()), url);
    QByteArray utf16(reinterpret_cast<const char *>((url + "\nTitle").utf16()), (url.size() + 6) * 2);
    EXPECT_EQ(sourceUrlFromData(utf16), url);
    EXPECT_EQ(sourceUrlFromData("\xff\xfe" + utf16), url);
    EXPECT_FALSE(sourceUrlFromData("  \n"));
}

TEST(ClipboardFormats, HtmlFromFirefoxMayBeUtf16)
{
    const QString html = QString::fromUtf8("<b>café</b>");
    QByteArray utf16("\xff\xfe");
    utf16.append(reinterpret_cast<const char *>(html.utf16()), html.size() * 2);
    EXPECT_EQ(textFromData(utf16), html);
    EXPECT_EQ(textFromData(html.toUtf8()), html);
}

TEST(FakeClipboardService, WritesReturnTheCountAfterThemAndReadBack)
{
    FakeClipboardService clipboard;
    QSignalSpy changed(&clipboard, &ClipboardService::changed);
    ClipboardContent copied;
    copied.text = "from another app";
    clipboard.setExternal({"TARGETS", "text/plain"}, copied);
    EXPECT_EQ(clipboard.formats(), QStringList{"text/plain"});
    EXPECT_EQ(clipboard.read(ClipboardPart::text).text, QString("from another app"));
    EXPECT_FALSE(clipboard.read(ClipboardPart::html).text); // only the asked parts

    const qint64 own = clipboard.writeText("secret", {.secret = true});
    EXPECT_EQ(own, clipboard.changeCount());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(clipboard.formats().contains(passwordManagerHint));
    ASSERT_EQ(clipboard.writes().size(), 1u);
    EXPECT_TRUE(clipboard.writes().front().secret);
    EXPECT_EQ(clipboard.writes().front().changeCount, own);
}

TEST(X11KeyMapping, QtKeysToKeysyms)
{
    const std::pair<int, quint32> cases[] = {
        {Qt::Key_V, 0x76},    {Qt::Key_A, 0x61},     {Qt::Key_5, 0x35},        {Qt::Key_Space, 0x20},
        {Qt::Key_F1, 0xffbe}, {Qt::Key_F12, 0xffc9}, {Qt::Key_Escape, 0xff1b}, {Qt::Key_Launch0, 0},
    };
    for (const auto &[key, keysym] : cases)
        EXPECT_EQ(X11KeyMapping::keysymForQtKey(key), keysym) << std::hex << key;
    const X11KeyMapping::ModifierMasks masks{XCB_MOD_MASK_1, XCB_MOD_MASK_4, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK};
    EXPECT_EQ(X11KeyMapping::maskForQtModifiers(Qt::MetaModifier | Qt::ShiftModifier, masks),
              XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT);
    EXPECT_EQ(X11KeyMapping::maskForQtModifiers(Qt::MetaModifier | Qt::AltModifier, masks), XCB_MOD_MASK_4 | XCB_MOD_MASK_1);
}
