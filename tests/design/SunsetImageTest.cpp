#include "SunsetImageProvider.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace corvane;

namespace {

int largestStep(const QImage &image)
{
    int largest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x) {
            const QRgb a = image.pixel(x - 1, y), b = image.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
        }
    }
    return largest;
}

} // namespace

TEST(SunsetImage, AQuarterSizedSoftBackdropWithTheAccentTopLeftAndVioletBelow)
{
    SunsetImageProvider provider;
    QSize size;
    const QImage image = provider.requestImage(QStringLiteral("1001x680"), &size, {});
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(size, QSize(251, 170));
    EXPECT_EQ(image.size(), size);

    const QColor topLeft = image.pixelColor(int(0.12 * 251), int(0.05 * 170));
    EXPECT_GT(topLeft.alpha(), 40);
    EXPECT_GT(topLeft.red(), topLeft.blue());
    const QColor bottom = image.pixelColor(125, 169);
    EXPECT_GT(bottom.alpha(), 10);
    EXPECT_GT(bottom.blue(), bottom.green());
    // Blurred: no circle edge shows as a step between neighbouring pixels.
    EXPECT_LE(largestStep(image), 6);
}

TEST(SunsetImage, IdsThatAreNoCanvasSizeGiveNoImage)
{
    SunsetImageProvider provider;
    for (const char *id : {"", "abc", "0x0", "640x0", "-5x5", "5x5x5", "20000x10", "99999x99999", "12x12?x"}) {
        QSize size(1, 1);
        EXPECT_TRUE(provider.requestImage(QString::fromLatin1(id), &size, {}).isNull()) << id;
        EXPECT_TRUE(size.isEmpty()) << id;
    }
}
