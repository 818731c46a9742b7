#include "ClipboardPayload.h"
#include "FakeClipboardService.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

QImage picture()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image;
}

ClipboardContent content(std::optional<QString> text, QList<QUrl> files = {}, QImage image = {}, std::optional<QString> html = {})
{
    ClipboardContent c;
    c.text = std::move(text);
    c.fileUrls = std::move(files);
    c.image = std::move(image);
    c.html = std::move(html);
    return c;
}

std::optional<ClipboardPayload> readPayload(const FakeClipboardService &clipboard, bool imageFilesAsImages = false)
{
    return ClipboardPayload::read(
        clipboard.formats(), [&](ClipboardParts parts) { return clipboard.read(parts); }, imageFilesAsImages);
}

} // namespace

TEST(ClipboardPayload, PriorityAmongOfferedFormats)
{
    using K = ClipboardPayload::Kind;
    const QList<QUrl> files{QUrl::fromLocalFile("/home/ada/a b.txt"), QUrl::fromLocalFile("/tmp/c")};
    struct Case {
        const char *name;
        QStringList formats;
        ClipboardContent content;
        K kind;
        QString text;
        bool fileReference;
    };
    const Case cases[] = {
        {"plain text", {"text/plain"}, content("hello"), K::text, "hello", false},
        {"files win over their names as text",
         {"text/uri-list", "text/plain"},
         content("a b.txt", files),
         K::text,
         "/home/ada/a b.txt\n/tmp/c",
         true},
        {"file-manager format", {"x-special/gnome-copied-files"}, content({}, files), K::text, "/home/ada/a b.txt\n/tmp/c", true},
        {"a uri-list without local files is text",
         {"text/uri-list", "text/plain"},
         content("https://example.org/"),
         K::text,
         "https://example.org/",
         false},
        {"office bitmap of copied text",
         {"text/plain", "image/png"},
         content("Quarterly", {}, picture()),
         K::text,
         "Quarterly",
         false},
        {"browser copy image",
         {"image/png", "text/html"},
         content({}, {}, picture(), "<img src=\"x.png\">"),
         K::image,
         "",
         false},
        {"empty text does not hide an image", {"text/plain", "image/bmp"}, content("", {}, picture()), K::image, "", false},
        {"html only", {"text/html"}, content({}, {}, {}, "<p>Hello <b>bold</b> world</p>"), K::text, "Hello bold world", false},
    };
    for (const Case &c : cases) {
        FakeClipboardService clipboard;
        clipboard.setExternal(c.formats, c.content);
        const auto payload = readPayload(clipboard);
        ASSERT_TRUE(payload) << c.name;
        EXPECT_EQ(payload->kind, c.kind) << c.name;
        EXPECT_EQ(payload->text, c.text) << c.name;
        EXPECT_EQ(payload->isFileReference, c.fileReference) << c.name;
        EXPECT_EQ(payload->image.isNull(), c.kind != K::image) << c.name;
    }
}

TEST(ClipboardPayload, NothingReadableYet)
{
    const std::pair<QStringList, ClipboardContent> offers[] = {
        {{}, content("ignored: not offered")},
        {{"text/plain"}, content("")},
        {{"text/plain"}, content({})},
        {{"text/html"}, content({}, {}, {}, "<img src=\"x.png\">")},
        {{"image/png"}, content({})},
        {{"text/uri-list"}, content({})},
        {{"application/x-unknown"}, content("text that is not offered")},
    };
    for (const auto &[formats, data] : offers) {
        FakeClipboardService clipboard;
        clipboard.setExternal(formats, data);
        EXPECT_FALSE(readPayload(clipboard)) << formats.join(',').toStdString();
    }
}

TEST(ClipboardPayload, ReadsOnlyWhatItNeeds)
{
    FakeClipboardService clipboard;
    clipboard.setExternal({"text/plain", "image/png", "chromium/x-source-url"}, content("hello", {}, picture()));
    ClipboardContent withSource = content("hello", {}, picture());
    withSource.sourceUrl = QStringLiteral("https://example.org/page");
    clipboard.setContent(withSource);

    const auto payload = readPayload(clipboard);
    ASSERT_TRUE(payload);
    EXPECT_EQ(clipboard.readCount(), 1);
    EXPECT_EQ(clipboard.lastReadParts(), ClipboardParts(ClipboardPart::text | ClipboardPart::sourceUrl));
    EXPECT_EQ(payload->sourceURL, QStringLiteral("https://example.org/page"));
}

TEST(ClipboardPayload, OneImageFileAsImageWhenAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Holiday.png"));
    ASSERT_TRUE(picture().save(path));
    const QList<QUrl> one{QUrl::fromLocalFile(path)};
    const QList<QUrl> two{QUrl::fromLocalFile(path), QUrl::fromLocalFile(dir.filePath("b.png"))};
    const QList<QUrl> document{QUrl::fromLocalFile(dir.filePath("notes.txt"))};

    struct Case {
        QList<QUrl> urls;
        bool asImages;
        bool image;
    };
    const Case cases[] = {{one, true, true}, {one, false, false}, {two, true, false}, {document, true, false}};
    for (const Case &c : cases) {
        FakeClipboardService clipboard;
        clipboard.setExternal({"text/uri-list"}, content({}, c.urls));
        const auto payload = readPayload(clipboard, c.asImages);
        ASSERT_TRUE(payload);
        EXPECT_EQ(payload->isImage(), c.image) << c.urls.size() << " files, as images " << c.asImages;
        EXPECT_EQ(payload->isFileReference, !c.image);
        if (c.image) {
            EXPECT_EQ(payload->imagePath, path);
            EXPECT_EQ(payload->detail, QStringLiteral("Holiday.png"));
        }
    }
}
