// The inspector's full-size images: served once the history opened in the background, and from
// pictures too large to decode at once.
#include "CaptureTestSupport.h"
#include "InspectorSetup.h"
#include "StoreFixture.h"

#include <QQmlEngine>
#include <QQuickImageProvider>

namespace corvane::test {
namespace {

TEST(ClipImageProvider, ServesImagesOfAHistoryOpenedInTheBackgroundAndOfLargePictures)
{
    ensureGuiApplication();
    StoreSetup setup;
    ClipboardStore::Services services = setup.services();
    services.openInBackground = true;
    ClipboardStore &store = setup.makeStore(services);
    QQmlEngine engine;
    installInspector(engine, &store); // as the app does: before the history is open
    ASSERT_TRUE(processEventsUntil([&] { return store.hasDatabase(); }));

    ClipDatabase::NewClip clip;
    clip.group = ClipGroup::image;
    clip.image = largePng({6000, 4000}, QColor(10, 200, 90), QColor(10, 200, 90));
    clip.imageSize = QSize(6000, 4000);
    clip.byteSize = clip.image.size();
    clip.hash = QStringLiteral("image-png\nlarge");
    clip.createdAt = 1;
    const std::int64_t id = store.database()->insert(clip).id;

    auto *provider = static_cast<QQuickImageProvider *>(engine.imageProvider(QStringLiteral("clipimage")));
    ASSERT_TRUE(provider);
    QSize size;
    const QImage shown = provider->requestImage(QString::number(id), &size, QSize(900, 900));
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(size, QSize(900, 600));
    EXPECT_EQ(shown.pixelColor(450, 300), QColor(10, 200, 90));
}

} // namespace
} // namespace corvane::test
