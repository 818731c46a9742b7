// The real clipboard service against other X clients (xclip), inside its own Xvfb.
#include "QtClipboardService.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSignalSpy>

using namespace corvane;
using namespace corvane::x11test;

class ClipboardOnX11 : public ::testing::Test
{
protected:
    QtClipboardService clipboard;

    void waitForChangeAfter(qint64 count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return clipboard.changeCount() > count; }, kPatience));
    }
};

TEST_F(ClipboardOnX11, SeesTextSetByAnotherProgram)
{
    const qint64 before = clipboard.changeCount();
    QSignalSpy changed(&clipboard, &ClipboardService::changed);
    xclipIn(QString::fromUtf8("héllo from xclip").toUtf8());
    waitForChangeAfter(before);
    EXPECT_GE(changed.count(), 1);

    const QStringList formats = clipboard.formats();
    EXPECT_TRUE(formats.contains("text/plain")) << formats.join(',').toStdString();
    EXPECT_FALSE(formats.contains("TARGETS"));
    const ClipboardContent content = clipboard.read(ClipboardPart::text | ClipboardPart::image);
    EXPECT_EQ(content.text, QString::fromUtf8("héllo from xclip"));
    EXPECT_TRUE(content.image.isNull());
    EXPECT_EQ(content.changeCount, clipboard.changeCount());
}

TEST_F(ClipboardOnX11, ReadsFileUrlsFromAUriList)
{
    const qint64 before = clipboard.changeCount();
    xclipIn("file:///tmp/a%20b.txt\r\nfile:///home/ada/notes.md\r\n", "text/uri-list");
    waitForChangeAfter(before);
    EXPECT_TRUE(clipboard.formats().contains("text/uri-list"));
    const QList<QUrl> urls = clipboard.read(ClipboardPart::files).fileUrls;
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].toLocalFile(), "/tmp/a b.txt");
    EXPECT_EQ(urls[1].toLocalFile(), "/home/ada/notes.md");
}

TEST_F(ClipboardOnX11, ReadsHtmlAndABrowsersSourceUrl)
{
    qint64 before = clipboard.changeCount();
    xclipIn(QString::fromUtf8("<b>café</b>").toUtf8(), "text/html");
    waitForChangeAfter(before);
    EXPECT_EQ(clipboard.read(ClipboardPart::html).html, QString::fromUtf8("<b>café</b>"));

    before = clipboard.changeCount();
    xclipIn("https://example.org/article\n", "chromium/x-source-url");
    waitForChangeAfter(before);
    const ClipboardContent content = clipboard.read(ClipboardPart::sourceUrl | ClipboardPart::text);
    EXPECT_EQ(content.sourceUrl, QString("https://example.org/article"));
    EXPECT_FALSE(content.text);
}

TEST_F(ClipboardOnX11, ReadsAPngImage)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const qint64 before = clipboard.changeCount();
    xclipIn(png, "image/png");
    waitForChangeAfter(before);
    const QImage read = clipboard.read(ClipboardPart::image).image;
    EXPECT_EQ(read.size(), QSize(40, 30));
    EXPECT_EQ(read.pixelColor(5, 5), QColor(Qt::blue));
}

TEST_F(ClipboardOnX11, OwnWritesAreRecognisableAndOtherProgramsReadThem)
{
    const qint64 written = clipboard.writeText("written by Corvane");
    EXPECT_EQ(written, clipboard.changeCount());
    // Let any late notification of our own ownership arrive: the count must not move.
    QTest::qWait(300);
    EXPECT_EQ(clipboard.changeCount(), written);
    EXPECT_EQ(xclipOut(), "written by Corvane");
    EXPECT_EQ(clipboard.changeCount(), written);

    const qint64 secret = clipboard.writeText("hunter2", {.secret = true});
    EXPECT_GT(secret, written);
    EXPECT_TRUE(xclipOut("TARGETS").contains("x-kde-passwordManagerHint"));
    EXPECT_EQ(xclipOut("x-kde-passwordManagerHint"), "secret");

    clipboard.writeFiles({QUrl::fromLocalFile("/tmp/a b.txt")}, "/tmp/a b.txt");
    EXPECT_EQ(xclipOut("text/uri-list").trimmed(), "file:///tmp/a%20b.txt");
    EXPECT_EQ(xclipOut("x-special/gnome-copied-files"), "copy\nfile:///tmp/a%20b.txt");
    EXPECT_EQ(xclipOut(), "/tmp/a b.txt");

    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::green);
    clipboard.writeImage(image);
    EXPECT_TRUE(xclipOut("TARGETS").contains("image/tiff"));
    EXPECT_EQ(QImage::fromData(xclipOut("image/png")).size(), QSize(8, 6));
}

TEST_F(ClipboardOnX11, OwnWritesReadBackLikeAnyOtherCopy)
{
    // Colour and QR copies are written by us and recorded on purpose, so they must read back.
    clipboard.writeText("#FF8800");
    EXPECT_EQ(clipboard.read(ClipboardPart::text).text, QString("#FF8800"));

    QImage image(12, 9, QImage::Format_RGB32);
    image.fill(Qt::red);
    clipboard.writeImage(image);
    EXPECT_TRUE(clipboard.formats().contains("image/png")) << clipboard.formats().join(',').toStdString();
    EXPECT_EQ(clipboard.read(ClipboardPart::image).image.size(), QSize(12, 9));
}

TEST_F(ClipboardOnX11, AChangeAfterOurWriteIsCounted)
{
    const qint64 written = clipboard.writeText("ours");
    xclipIn("theirs");
    waitForChangeAfter(written);
    EXPECT_EQ(clipboard.read(ClipboardPart::text).text, QString("theirs"));
}

TEST_F(ClipboardOnX11, TextWithNulCharactersReachesOtherProgramsWhole)
{
    const QByteArray bytes("before NUL\0after NUL", 20);
    clipboard.writeText(QString::fromUtf8(bytes));
    EXPECT_EQ(xclipOut(), bytes);
    EXPECT_EQ(xclipOut(QStringLiteral("text/plain")), bytes);
}
