#include "TestDatabase.h"

#include <QRandomGenerator>
#include <QSet>

namespace corvane::test {
namespace {

using ClipDatabasePrune = DatabaseTest;

TEST_F(ClipDatabasePrune, TiedDatesDeleteTheOlderIdsOnly)
{
    QList<std::int64_t> inserted;
    for (int i = 0; i < 5; ++i)
        inserted.append(insertText(QStringLiteral("clip %1").arg(i), 100.0, 100));

    const QList<std::int64_t> deleted = db->prune(250);

    // Same timestamp: the running total still grows row by row, so exactly the two newest stay.
    EXPECT_EQ(deleted.size(), 3);
    EXPECT_EQ(ids(), (QList<std::int64_t>{inserted[4], inserted[3]}));
}

TEST_F(ClipDatabasePrune, PinnedAndTaggedNeitherCountNorGo)
{
    const auto pinned = insertText(QStringLiteral("pinned"), 1, 10'000);
    const auto tagged = insertText(QStringLiteral("tagged"), 2, 10'000);
    const auto old = insertText(QStringLiteral("old"), 3, 100);
    const auto recent = insertText(QStringLiteral("recent"), 4, 100);
    db->setPinned(pinned, true, 5);
    db->setTags(tagged, ColorTags::bit(ColorTag::blue));

    EXPECT_EQ(db->prune(150), (QList<std::int64_t>{old}));
    EXPECT_EQ(ids(), (QList<std::int64_t>{recent, tagged, pinned}));
    EXPECT_EQ(db->storageUsed(), 20'100);
}

TEST_F(ClipDatabasePrune, CountsThumbnailsAndReclaimsPages)
{
    auto big = imageClip(QByteArray(200'000, 'x'), QSize(10, 10), 1, 1);
    db->insert(big);
    const auto small = insertText(QStringLiteral("small"), 2, 10);
    // 200,000 bytes of image plus its 200,006-byte thumbnail.
    EXPECT_EQ(db->storageUsed(), 400'016);
    EXPECT_EQ(db->prune(300'000).size(), 1);
    EXPECT_EQ(ids(), (QList<std::int64_t>{small}));
    EXPECT_EQ(queryInt(path, "PRAGMA freelist_count"), 0);
}

TEST_F(ClipDatabasePrune, RefusesLimitsOfZeroOrLess)
{
    insertText(QStringLiteral("keep me"), 1);
    for (std::int64_t limit : {std::int64_t{0}, std::int64_t{-1}}) {
        EXPECT_THROW(db->prune(limit), ClipDatabase::Error) << limit;
    }
    EXPECT_EQ(db->clipCount(), 1);
}

/** The clips a prune must delete, from the definition: newest first, running total over the limit. */
QSet<std::int64_t> expectedPrune(const QList<Clip> &newestFirst, std::int64_t limit)
{
    QSet<std::int64_t> ids;
    std::int64_t total = 0;
    for (const Clip &clip : newestFirst) {
        if (clip.isPinned || clip.tagMask != 0)
            continue;
        total += clip.byteSize + clip.thumbnailPng.size();
        if (total > limit)
            ids.insert(clip.id);
    }
    return ids;
}

using ClipDatabasePruneCache = DatabaseTest;

TEST_F(ClipDatabasePruneCache, AgreesWithTheDefinitionThroughEveryKindOfEdit)
{
    QRandomGenerator random(7);
    std::int64_t limit = 6000;
    for (int step = 0; step < 300; ++step) {
        const QList<Clip> clips = db->loadClips();
        const auto pick = [&] { return clips[random.bounded(int(clips.size()))].id; };
        switch (clips.isEmpty() ? 0 : random.bounded(8)) {
        case 0:
        case 1:
        case 2:
            insertText(QStringLiteral("clip %1").arg(step), double(random.bounded(50)), 1 + random.bounded(400));
            break;
        case 3:
            db->insert(imageClip(QByteArray::number(step), QSize(8, 8), random.generate64(), step));
            break;
        case 4:
            db->setPinned(pick(), random.bounded(2) == 0, step);
            break;
        case 5:
            db->setTags(pick(), random.bounded(2) == 0 ? 0 : 4);
            break;
        case 6:
            db->deleteClip(pick());
            break;
        case 7:
            limit = 2000 + random.bounded(6000);
            break;
        }
        const QSet<std::int64_t> expected = expectedPrune(db->loadClips(), limit);
        const QList<std::int64_t> deleted = db->prune(limit);
        ASSERT_EQ(QSet<std::int64_t>(deleted.begin(), deleted.end()), expected) << "step " << step;
    }
}

TEST_F(ClipDatabasePruneCache, SeesWritesOfAnotherConnection)
{
    const auto old = insertText(QStringLiteral("old"), 1, 100);
    EXPECT_TRUE(db->prune(1000).isEmpty());
    ClipDatabase other(path);
    other.insert(textClip(QStringLiteral("big, from elsewhere"), 2, 950));
    EXPECT_EQ(db->prune(1000), QList<std::int64_t>{old});
}

} // namespace
} // namespace corvane::test
