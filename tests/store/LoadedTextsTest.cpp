#include "SearchIndexBuilder.h"
#include "StoreFixture.h"

#include <QTest>

namespace corvane::test {
namespace {

class LoadedTexts : public StoreFixture
{ };

TEST_F(LoadedTexts, LoadedClipsHoldNoTextYetShowCopyAndFindIt)
{
    const QString longText = QStringLiteral("opening words ") + QString(3000, u'x');
    const std::int64_t plain = add(ClipGroup::text, QStringLiteral("  \n alpha bravo charlie\nsecond line"), 30);
    const std::int64_t link = add(ClipGroup::link, QStringLiteral("https://example.com/page"), 20);
    const std::int64_t file = add(ClipGroup::file, QStringLiteral("/home/me/notes/plan.txt"), 10);
    const std::int64_t big = add(ClipGroup::text, longText, 0);
    store->reload();

    for (const std::int64_t id : {plain, link, file, big}) {
        const ClipRef clip = store->clip(id);
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->heldText(), nullptr) << id;
    }
    EXPECT_EQ(store->clip(plain)->preview(), QStringLiteral("alpha bravo charlie"));
    EXPECT_EQ(store->clip(link)->subtitle(), QStringLiteral("example.com"));
    EXPECT_EQ(store->clip(file)->preview(), QStringLiteral("plan.txt"));
    EXPECT_EQ(store->clip(big)->text(), longText.left(Clip::textPrefixLength));
    EXPECT_EQ(store->fullText(big), longText);

    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("bravo"))), QList<std::int64_t>{plain});
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("opening"))), QList<std::int64_t>{big});
    EXPECT_TRUE(store->copy(plain, false));
    EXPECT_EQ(clipboardText(), QStringLiteral("  \n alpha bravo charlie\nsecond line"));
}

TEST_F(LoadedTexts, ABackgroundLoadIndexesEveryClipAndLetsGoOfItsText)
{
    QList<std::int64_t> added;
    for (int i = 0; i < ClipboardStore::firstLoadCount + 50; ++i)
        added << add(ClipGroup::text, QStringLiteral("entry %1").arg(i), 60.0 * (i + 1));
    const std::int64_t oldestID = add(ClipGroup::text, QStringLiteral("walrus harbour"), 60.0 * 1000);
    const std::int64_t secret = add(ClipGroup::secret, QStringLiteral("zebra-credential"), 0);
    loadInBackground = true;
    makeStore();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !store->isLoading(); }, 10000));

    const ClipRef oldest = store->clip(oldestID);
    ASSERT_TRUE(oldest);
    EXPECT_EQ(oldest->heldText(), nullptr);
    EXPECT_EQ(oldest->text(), QStringLiteral("walrus harbour"));
    EXPECT_EQ(store->clip(added.last())->text(), QStringLiteral("entry %1").arg(added.size() - 1));
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("walrus"))), QList<std::int64_t>{oldestID});
    // A secret's text is not indexed: it is found only while revealed, read on demand.
    EXPECT_TRUE(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra")).isEmpty());
    store->reveal(secret);
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra"))), QList<std::int64_t>{secret});
}

} // namespace
// The first load indexes its first clips only after ranking their runs; those clips, the ones
// indexed as they come once the sample is taken, and a secret among them are all found as before.
TEST_F(LoadedTexts, ALoadLargerThanTheRankingSampleIndexesEveryClip)
{
    const int count = int(LoadIndexer::sampleSize) + 200;
    for (int i = 0; i < count; ++i)
        add(ClipGroup::text, QStringLiteral("entry number %1 kiwi%1").arg(i), 60.0 * (i + 1));
    const std::int64_t secret = add(ClipGroup::secret, QStringLiteral("zebra-credential"), 0);
    makeStore();

    for (const int i : {0, 7, count / 2, count - 1}) {
        const QString text = QStringLiteral("entry number %1 kiwi%1").arg(i);
        const auto found = store->visibleClips(ClipFilter::all(), QStringLiteral("kiwi%1").arg(i));
        EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](const ClipRef &clip) { return clip->text() == text; })) << i;
    }
    EXPECT_EQ(store->visibleClips(ClipFilter::all(), QStringLiteral("entry")).size(), count);
    EXPECT_TRUE(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra")).isEmpty());
    store->reveal(secret);
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra"))), QList<std::int64_t>{secret});
}

} // namespace corvane::test
