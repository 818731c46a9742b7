#include "ClipDatabase.h"
#include "OnDemandClips.h"
#include "StoreFixture.h"
#include "ThumbnailImageProvider.h"

#include <QTest>

#include <atomic>
#include <thread>

namespace corvane::test {
namespace {

Clip clipWith(std::int64_t id, const QString &note)
{
    Clip clip;
    clip.id = id;
    clip.note = note;
    return clip;
}

TEST(OnDemandClipsCache, KeepsOneObjectPerClipUnderItsBudgetAndForgetsEdits)
{
    std::atomic<int> reads = 0;
    OnDemandClips clips(
        [&reads](std::int64_t id) -> std::optional<Clip> {
            ++reads;
            if (id < 0)
                return std::nullopt;
            return clipWith(id, QString(100, u'n'));
        },
        3 * (sizeof(Clip) + 300));

    const ClipRef first = clips.get(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(clips.get(1), first); // cached: the same object, no second read
    EXPECT_EQ(reads, 1);
    EXPECT_FALSE(clips.get(-5));

    clips.get(2);
    clips.get(3);
    clips.get(1); // the most recently asked for stays
    clips.get(4);
    EXPECT_LE(clips.cachedBytes(), 3 * (sizeof(Clip) + 300));
    reads = 0;
    EXPECT_EQ(clips.get(1), first);
    clips.get(2); // left first
    EXPECT_EQ(reads, 1);

    clips.forget({1});
    const ClipRef again = clips.get(1);
    EXPECT_NE(again, first);
    EXPECT_EQ(again->id, 1);
    clips.clear();
    EXPECT_EQ(clips.cachedCount(), 0u);
}

TEST(OnDemandClipsCache, AReadThatRacedAnEditIsNotKept)
{
    std::atomic<bool> inRead = false;
    std::atomic<bool> release = false;
    OnDemandClips *cache = nullptr;
    OnDemandClips clips([&](std::int64_t id) -> std::optional<Clip> {
        inRead = true;
        while (!release)
            std::this_thread::yield();
        return clipWith(id, QStringLiteral("before the edit"));
    });
    cache = &clips;
    std::thread reader([cache] { cache->get(7); });
    while (!inRead)
        std::this_thread::yield();
    clips.forget({7}); // the edit lands while the old row is read
    release = true;
    reader.join();
    EXPECT_EQ(clips.cachedCount(), 0u);
}

/** A history longer than the clips the store holds objects for. */
class OnDemandStore : public StoreFixture
{
protected:
    static constexpr int extra = 40;

    void fill()
    {
        for (int i = 0; i < ClipCollection::defaultHeldNewest + extra; ++i)
            newest << add(ClipGroup::text, QStringLiteral("entry %1").arg(i), 60.0 * (i + 1));
        oldest = add(ClipGroup::text, QStringLiteral("walrus harbour"), 60.0 * 100000, QStringLiteral("org.example.Notes"));
        image = insertImage();
        secret = add(ClipGroup::secret, QStringLiteral("zebra-credential"), 60.0 * 95000);
    }

    std::int64_t insertImage()
    {
        ClipDatabase::NewClip clip;
        clip.group = ClipGroup::image;
        clip.image = clip.thumbnail = pngOf(Qt::magenta);
        clip.imageSize = QSize(4, 4);
        clip.byteSize = clip.image.size();
        clip.createdAt = ago(60.0 * 90000);
        clip.hash = QStringLiteral("old image");
        return insert(clip);
    }

    const ClipEntry &entryOf(std::int64_t id) const { return *store->collection().entry(id); }

    QList<std::int64_t> newest;
    std::int64_t oldest = 0;
    std::int64_t image = 0;
    std::int64_t secret = 0;
};

TEST_F(OnDemandStore, OldClipsAreReadWhenAskedForAndFoundByTheirIndex)
{
    fill();
    loadInBackground = true;
    makeStore();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !store->isLoading(); }, 20000));

    EXPECT_TRUE(entryOf(newest.first()).clip);
    EXPECT_FALSE(entryOf(oldest).clip);
    EXPECT_FALSE(entryOf(image).clip);
    const ClipRef clip = store->clip(oldest);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->text(), QStringLiteral("walrus harbour"));
    EXPECT_EQ(clip->sourceName(), QStringLiteral("org.example.Notes"));
    EXPECT_EQ(store->clip(oldest), clip); // read once while it is shown

    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("walrus"))), QList<std::int64_t>{oldest});
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("app:org.example.Notes walrus"))),
              QList<std::int64_t>{oldest});
    EXPECT_EQ(store->storageUsed(), store->database()->storageUsed());

    // A secret's clear text is searched only while it is revealed, read then.
    EXPECT_FALSE(entryOf(secret).clip);
    EXPECT_TRUE(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra")).isEmpty());
    store->reveal(secret);
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra"))), QList<std::int64_t>{secret});

    ThumbnailImageProvider provider(store.get());
    QSize size;
    EXPECT_EQ(provider.requestImage(QString::number(image), &size, {}).pixelColor(0, 0), QColor(Qt::magenta));
}

TEST_F(OnDemandStore, EditsToClipsWithoutObjectsShowAndCount)
{
    fill();
    store->reload();
    ASSERT_FALSE(entryOf(oldest).clip);

    store->saveNote(QStringLiteral("kept for the audit"), oldest);
    EXPECT_EQ(store->clip(oldest)->note, QStringLiteral("kept for the audit"));
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("audit"))), QList<std::int64_t>{oldest});
    EXPECT_FALSE(entryOf(oldest).clip); // an edit does not make it held

    store->toggleTag(int(ColorTag::red), oldest);
    EXPECT_EQ(store->collection().tallies().tags[std::size_t(ColorTag::red)], 1);
    EXPECT_TRUE(store->clip(oldest)->tagMask != 0);

    store->togglePin(oldest);
    ASSERT_TRUE(entryOf(oldest).clip); // pinned clips keep their pin date for the order
    EXPECT_EQ(store->collection().listIDs()->front(), oldest);
    store->togglePin(oldest);
    EXPECT_NE(store->collection().listIDs()->front(), oldest);
    EXPECT_FALSE(store->clip(oldest)->isPinned);

    // Another process's edit is found by comparing rows, without the clip's object.
    const std::int64_t other = newest.last();
    ASSERT_FALSE(entryOf(other).clip);
    ClipDatabase(store->database()->path()).setNote(other, QStringLiteral("written elsewhere"));
    store->reload();
    EXPECT_EQ(store->clip(other)->note, QStringLiteral("written elsewhere"));

    store->deleteClip(oldest);
    EXPECT_FALSE(store->clip(oldest));
    EXPECT_EQ(store->storageUsed(), store->database()->storageUsed());
}

} // namespace
} // namespace corvane::test
