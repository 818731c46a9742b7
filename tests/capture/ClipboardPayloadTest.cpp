#include "ClipboardPayload.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

QByteArray pngBytes()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

struct Offer {
    QMap<QString, QByteArray> data;
    QStringList reads;

    std::optional<ClipboardPayload> payload(bool imageFilesAsImages = false)
    {
        return ClipboardPayload::read(data.keys(), [this](const QString &format) {
            reads << format;
            return data.value(format);
        }, imageFilesAsImages);
    }
};

} // namespace

TEST(ClipboardPayload, PriorityAmongOfferedFormats)
{
    const QByteArray png = pngBytes();
    struct Case {
        const char *name;
        QMap<QString, QByteArray> data;
        ClipboardPayload::Kind kind;
        QString text;
        bool fileReference;
    };
    using K = ClipboardPayload::Kind;
    const Case cases[] = {
        {"plain text", {{"text/plain", "hello"}}, K::text, "hello", false},
        {"files win over their names as text",
         {{"text/uri-list", "file:///home/ada/a%20b.txt\r\nfile:///tmp/c\r\n"}, {"text/plain", "a b.txt"}},
         K::text, "/home/ada/a b.txt\n/tmp/c", true},
        {"file-manager list without the action line",
         {{"x-special/gnome-copied-files", "cut\nfile:///srv/x"}}, K::text, "/srv/x", true},
        {"web links in a uri-list are text", {{"text/uri-list", "https://example.org/"}, {"text/plain", "https://example.org/"}},
         K::text, "https://example.org/", false},
        {"office bitmap of copied text", {{"text/plain", "Quarterly"}, {"image/png", png}}, K::text, "Quarterly", false},
        {"browser copy image", {{"image/png", png}, {"text/html", "<img src=\"x.png\">"}}, K::image, "", false},
        {"empty text does not hide an image", {{"text/plain", ""}, {"image/png", png}}, K::image, "", false},
        {"html only", {{"text/html", "<p>Hello <b>bold</b> world</p>"}}, K::text, "Hello bold world", false},
    };
    for (const Case &c : cases) {
        Offer offer{c.data, {}};
        const auto payload = offer.payload();
        ASSERT_TRUE(payload) << c.name;
        EXPECT_EQ(payload->kind, c.kind) << c.name;
        EXPECT_EQ(payload->text, c.text) << c.name;
        EXPECT_EQ(payload->isFileReference, c.fileReference) << c.name;
        if (c.kind == K::image) {
            EXPECT_EQ(payload->imageData, png) << c.name;
        }
    }
}

TEST(ClipboardPayload, NothingReadableYet)
{
    const QMap<QString, QByteArray> offers[] = {
        {},
        {{"text/plain", ""}},
        {{"text/html", "<img src=\"x.png\">"}},
        {{"image/png", ""}},
        {{"text/uri-list", "# comment only\n"}},
        {{"application/x-unknown", "bytes"}},
    };
    for (const auto &data : offers) {
        Offer offer{data, {}};
        EXPECT_FALSE(offer.payload()) << data.keys().join(',').toStdString();
    }
}

TEST(ClipboardPayload, ReadsOnlyWhatItNeeds)
{
    Offer offer{{{"text/plain", "hello"}, {"image/png", pngBytes()}, {"application/x-big", "x"}}, {}};
    ASSERT_TRUE(offer.payload());
    EXPECT_EQ(offer.reads, QStringList{"text/plain"});
}

TEST(ClipboardPayload, OneImageFileAsImageWhenAsked)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("Holiday.png"));
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pngBytes());
    file.close();
    const QByteArray one = QUrl::fromLocalFile(picture).toEncoded();
    const QByteArray two = one + "\n" + QUrl::fromLocalFile(dir.filePath("b.png")).toEncoded();

    Offer single{{{"text/uri-list", one}}, {}};
    auto payload = single.payload(true);
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->isImage());
    EXPECT_EQ(payload->imagePath, picture);
    EXPECT_EQ(payload->detail, QStringLiteral("Holiday.png"));

    payload = single.payload(false);
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->isFileReference);

    Offer pair{{{"text/uri-list", two}}, {}};
    payload = pair.payload(true);
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->isFileReference) << "two files stay a file reference";
}

TEST(ClipboardPayload, SourceURL)
{
    const QString url = QStringLiteral("https://example.org/page?q=1");
    QByteArray utf16(reinterpret_cast<const char *>((url + QStringLiteral("\nTitle")).utf16()), (url.size() + 6) * 2);
    struct Case { QString format; QByteArray bytes; QString expected; };
    const Case cases[] = {
        {"chromium/x-source-url", url.toUtf8(), url},
        {"text/x-moz-url-priv", utf16, url},
        {"text/x-moz-url-priv", "not a url at all", ""},
    };
    for (const Case &c : cases) {
        Offer offer{{{"text/plain", "copied"}, {c.format, c.bytes}}, {}};
        const auto payload = offer.payload();
        ASSERT_TRUE(payload);
        EXPECT_EQ(payload->sourceURL, c.expected) << c.format.toStdString();
    }
    Offer none{{{"text/plain", "copied"}}, {}};
    EXPECT_TRUE(none.payload()->sourceURL.isEmpty());
}
