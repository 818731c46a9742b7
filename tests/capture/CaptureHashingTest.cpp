#include "CapturedImage.h"
#include "ClipDatabase.h"
#include "ClipHash.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <bit>

using namespace corvane;

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

/** A window-like picture: a title bar, a panel and a line of "text" blocks. */
QImage screenshot(int words, QSize size = {800, 500})
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width(), 40, QColor(40, 40, 60));
    painter.fillRect(0, 40, 180, size.height() - 40, QColor(220, 220, 230));
    for (int i = 0; i < words; ++i)
        painter.fillRect(200 + i * 30, 80, 24, 10, Qt::black);
    return image;
}

QImage gradient(bool reversed)
{
    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int v = reversed ? 255 - x * 255 / 299 : x * 255 / 299;
            image.setPixel(x, y, qRgb(v, (y * 255) / 199, 128));
        }
    return image;
}

} // namespace

TEST(ClipHash, KindIsPartOfTheIdentity)
{
    const QString path = QStringLiteral("/home/ada/notes.txt");
    EXPECT_NE(ClipHash::text(path), ClipHash::files(path));
    EXPECT_EQ(ClipHash::text(path), ClipHash::text(path));
    EXPECT_NE(ClipHash::text(path), ClipHash::text(path + QLatin1Char(' ')));
    EXPECT_EQ(ClipHash::text(QStringLiteral("abc")), ClipHash::of("text", "abc"));
    EXPECT_EQ(ClipHash::text(QStringLiteral("abc")).size(), 64);
}

TEST(ClipHash, ImagesHashTheirPixelsNotTheirEncoding)
{
    const QImage image = screenshot(5);
    const QImage fromPng = QImage::fromData(encoded(image, "PNG"));
    const QImage fromBmp = QImage::fromData(encoded(image, "BMP"));
    ASSERT_NE(fromPng.format(), fromBmp.format()) << "the test needs two pixel formats";
    EXPECT_EQ(ClipHash::image(fromPng), ClipHash::image(fromBmp));
    EXPECT_EQ(ClipHash::image(image), ClipHash::image(image.convertToFormat(QImage::Format_RGBA8888)));

    // The same pixel bytes laid out as 2 x 1 and 1 x 2 are different pictures.
    QImage wide(2, 1, QImage::Format_RGBA8888), tall(1, 2, QImage::Format_RGBA8888);
    wide.fill(Qt::red);
    tall.fill(Qt::red);
    EXPECT_NE(ClipHash::image(wide), ClipHash::image(tall));
    EXPECT_NE(ClipHash::image(wide), ClipHash::of("image", QByteArray()));
}

TEST(CapturedImage, DifferenceHashSeparatesRetakesFromOtherPictures)
{
    const auto distance = [](quint64 a, quint64 b) { return std::popcount(a ^ b); };
    const quint64 base = CapturedImage::differenceHash(screenshot(5));
    EXPECT_EQ(base, CapturedImage::differenceHash(screenshot(5)));
    EXPECT_EQ(base, CapturedImage::differenceHash(screenshot(5).convertToFormat(QImage::Format_Indexed8)));
    EXPECT_LE(distance(base, CapturedImage::differenceHash(screenshot(6))), ClipDatabase::nearDuplicateDistance)
        << "one more word on the same window";
    EXPECT_GT(distance(CapturedImage::differenceHash(gradient(false)), CapturedImage::differenceHash(gradient(true))), 32);
    EXPECT_GT(distance(base, CapturedImage::differenceHash(gradient(true))), ClipDatabase::nearDuplicateDistance);
}

TEST(CapturedImage, EncodesThumbnailAndKeepsOfferedPng)
{
    const QImage big = screenshot(3, {1600, 400});
    const QByteArray png = encoded(big, "PNG");
    const auto fromPng = CapturedImage::fromData(png);
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->png, png);
    EXPECT_EQ(fromPng->size, QSize(1600, 400));
    EXPECT_EQ(QImage::fromData(fromPng->thumbnail).size(), QSize(320, 80));
    EXPECT_EQ(fromPng->hash, ClipHash::image(big));

    const auto fromJpeg = CapturedImage::fromData(encoded(big, "JPEG"));
    ASSERT_TRUE(fromJpeg);
    EXPECT_TRUE(fromJpeg->png.startsWith("\x89PNG"));

    const QImage small = screenshot(1, {100, 60});
    const auto tiny = CapturedImage::fromImage(small);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(QImage::fromData(tiny->thumbnail).size(), QSize(100, 60)) << "never enlarged";

    EXPECT_FALSE(CapturedImage::fromData("not an image"));
    EXPECT_FALSE(CapturedImage::fromData({}));
    EXPECT_FALSE(CapturedImage::fromFile(QStringLiteral("/nonexistent/picture.png")));
}
