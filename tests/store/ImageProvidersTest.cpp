#include "ClipDatabase.h"
#include "SourceIconImageProvider.h"
#include "StoreFixture.h"
#include "ThumbnailImageProvider.h"

#include <QCoreApplication>

namespace corvane::test {
namespace {

class ImageProvidersTest : public StoreFixture
{ };

TEST_F(ImageProvidersTest, ThumbnailsAreServedByClipIdAndScaledToTheRequest)
{
    ThumbnailImageProvider provider(store.get());
    const std::int64_t image = addImage(pngOf(Qt::magenta));
    QSize size;
    const QImage full = provider.requestImage(QStringLiteral("%1?99").arg(image), &size, {});
    EXPECT_EQ(size, QSize(4, 4));
    EXPECT_EQ(full.pixelColor(0, 0), QColor(Qt::magenta));
    EXPECT_EQ(provider.requestImage(QString::number(image), &size, QSize(2, 0)).size(), QSize(2, 2));
    EXPECT_TRUE(provider.requestImage(QStringLiteral("12345"), &size, {}).isNull());
    EXPECT_TRUE(provider.requestImage(QStringLiteral("not-an-id"), &size, {}).isNull());
}

TEST_F(ImageProvidersTest, ThumbnailsFollowNewEditedAndDeletedClips)
{
    ThumbnailImageProvider provider(store.get());
    const std::int64_t first = addImage(pngOf(Qt::red), 20);
    const std::int64_t second = addImage(pngOf(Qt::blue), 10);
    QSize size;
    auto colourOf = [&](std::int64_t id) {
        const QImage image = provider.requestImage(QString::number(id), &size, {});
        return image.isNull() ? QColor() : image.pixelColor(0, 0);
    };
    store->togglePin(second);
    store->deleteClip(first);
    EXPECT_FALSE(colourOf(first).isValid());
    EXPECT_EQ(colourOf(second), QColor(Qt::blue));
    const std::int64_t third = addImage(pngOf(Qt::green), 5);
    EXPECT_EQ(colourOf(third), QColor(Qt::green));
    // Another connection's delete is found by a full comparison, and still followed.
    ClipDatabase(store->database()->path()).deleteClip(second);
    store->reload();
    EXPECT_FALSE(colourOf(second).isValid());
    EXPECT_EQ(colourOf(third), QColor(Qt::green));
}

TEST_F(ImageProvidersTest, SourceIconsLoadOnTheMainThreadAfterAMiss)
{
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    entries.add(DesktopEntry{QStringLiteral("org.kde.kate"), QStringLiteral("Kate"), {}, {}, {}, {}, false}, icon);
    SourceIconImageProvider provider(store->iconCache());
    QSize size;
    EXPECT_TRUE(provider.requestImage(QStringLiteral("org.kde.kate?0"), &size, {}).isNull());
    QCoreApplication::processEvents(); // the queued load request
    QCoreApplication::processEvents(); // the load itself
    EXPECT_EQ(provider.requestImage(QStringLiteral("org.kde.kate?1"), &size, {}).pixelColor(0, 0), QColor(Qt::darkGreen));
    EXPECT_EQ(size, QSize(64, 64));
}

} // namespace
} // namespace corvane::test
