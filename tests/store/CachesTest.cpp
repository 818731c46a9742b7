#include "ClipFilterKey.h"
#include "FullImageCache.h"
#include "ListDiff.h"
#include "PasteQueue.h"
#include "StoreFixture.h"

#include <algorithm>
#include <numeric>
#include <random>

#include <QCoreApplication>

namespace corvane::test {
namespace {

TEST(FullImageCache, EvictsLeastRecentlyUsedWithinItsBudget)
{
    QImage image(64, 64, QImage::Format_ARGB32); // 16 KiB
    FullImageCache cache(40 * 1024);
    cache.insert(1, image);
    cache.insert(2, image);
    EXPECT_FALSE(cache.image(1).isNull()); // 1 is now the most recent
    cache.insert(3, image);
    EXPECT_TRUE(cache.contains(1));
    EXPECT_FALSE(cache.contains(2));
    EXPECT_LE(cache.totalBytes(), cache.budgetBytes());
    cache.insert(4, QImage(256, 256, QImage::Format_ARGB32)); // larger than the whole budget
    EXPECT_FALSE(cache.contains(4));
}

TEST(PasteQueue, RetainMovesPastVanishedItems)
{
    PasteQueue queue;
    queue.append({1, 2, 3, 4});
    queue.advance(); // 2
    auto existing = [](QSet<std::int64_t> ids) { return [ids](std::int64_t id) { return ids.contains(id); }; };
    auto result = queue.retain(existing({1, 3, 4}));
    EXPECT_TRUE(result.currentReplaced);
    EXPECT_EQ(queue.currentID(), 3);
    result = queue.retain(existing({1, 3}));
    EXPECT_FALSE(result.currentReplaced);
    EXPECT_EQ(queue.currentID(), 3);
    result = queue.retain(existing({1}));
    EXPECT_TRUE(queue.isEmpty()); // nothing followed the current item
}

TEST(ListDiff, KeepsTheLongestOrderedRunAndEditsTheRest)
{
    struct Case {
        std::vector<std::int64_t> from, to;
        int edits;
    };
    const std::vector<Case> cases{
        {{3, 2, 1}, {4, 3, 2, 1}, 1},    // a capture at the top
        {{4, 3, 2, 1}, {1, 4, 3, 2}, 2}, // pinned: moves to the top
        {{4, 3, 2, 1}, {4, 2, 1}, 1},    // deleted in the middle
        {{1, 2, 3}, {3, 2, 1}, 2},       // reversed: two rows out, two in
        {{}, {1, 2}, 1},
        {{1, 2}, {}, 1},
    };
    for (const Case &c : cases) {
        const ListDiff diff = ListDiff::byID(c.from, c.to);
        std::vector<std::int64_t> kept;
        for (std::size_t i = 0; i < c.from.size(); ++i)
            if (!diff.remove[i])
                kept.push_back(c.from[i]);
        std::vector<std::int64_t> expectedKept;
        for (std::size_t i = 0; i < c.to.size(); ++i)
            if (!diff.insert[i])
                expectedKept.push_back(c.to[i]);
        EXPECT_EQ(kept, expectedKept); // what stays is already in the new order
        EXPECT_EQ(diff.editCount(), c.edits);
    }
}

TEST(ListDiff, RandomListsKeepALongestOrderedRunWhateverTheirEnds)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        // Shared ends of random length around a shuffled middle, ids unique per list.
        std::vector<std::int64_t> pool(40);
        std::iota(pool.begin(), pool.end(), 1);
        std::shuffle(pool.begin(), pool.end(), random);
        const int head = int(random() % 6), tail = int(random() % 6);
        std::vector<std::int64_t> from(pool.begin(), pool.begin() + head + int(random() % 12) + tail);
        std::vector<std::int64_t> to(from.begin(), from.begin() + head);
        std::vector<std::int64_t> middle(from.begin() + head, from.end() - tail);
        middle.erase(std::remove_if(middle.begin(), middle.end(), [&](auto) { return random() % 3 == 0; }), middle.end());
        for (int extra = int(random() % 4); extra > 0; --extra)
            middle.push_back(pool[std::size_t(30 + extra)]);
        std::shuffle(middle.begin(), middle.end(), random);
        to.insert(to.end(), middle.begin(), middle.end());
        to.insert(to.end(), from.end() - tail, from.end());

        const ListDiff diff = ListDiff::byID(from, to);
        std::vector<std::int64_t> kept, keptInNew;
        for (std::size_t i = 0; i < from.size(); ++i)
            if (!diff.remove[i])
                kept.push_back(from[i]);
        for (std::size_t i = 0; i < to.size(); ++i)
            if (!diff.insert[i])
                keptInNew.push_back(to[i]);
        ASSERT_EQ(kept, keptInNew);
        // As long as the longest common run (brute force over the small lists).
        std::vector<std::vector<int>> lcs(from.size() + 1, std::vector<int>(to.size() + 1, 0));
        for (std::size_t i = 1; i <= from.size(); ++i)
            for (std::size_t j = 1; j <= to.size(); ++j)
                lcs[i][j] = from[i - 1] == to[j - 1] ? lcs[i - 1][j - 1] + 1 : std::max(lcs[i - 1][j], lcs[i][j - 1]);
        ASSERT_EQ(int(kept.size()), lcs[from.size()][to.size()]);
    }
}

TEST(ClipFilterKey, RoundTripsEveryKind)
{
    const QList<ClipFilter> filters{ClipFilter::all(),
                                    ClipFilter::pinned(),
                                    ClipFilter::ofGroup(ClipGroup::code),
                                    ClipFilter::ofTag(ColorTag::purple),
                                    ClipFilter::ofDay(1'767'225'600),
                                    ClipFilter::app(QStringLiteral("web:example.org"))};
    for (const ClipFilter &filter : filters)
        EXPECT_EQ(ClipFilterKey::fromKey(ClipFilterKey::toKey(filter)), filter) << ClipFilterKey::toKey(filter).toStdString();
    for (const char *bad : {"", "group:nope", "tag:9", "day:x", "app:", "everything"})
        EXPECT_FALSE(ClipFilterKey::fromKey(QString::fromLatin1(bad))) << bad;
}

TEST(SourceIconCache, FetchesOnlyPlainHosts)
{
    EXPECT_EQ(SourceIconCache::fetchableHost(QStringLiteral("web:example.org")), QStringLiteral("example.org"));
    for (const char *key :
         {"web:", "web:user@evil.org", "web:evil.org/path", "web:exa mple.org", "org.gnome.Terminal", "web:evil.org:8080"})
        EXPECT_TRUE(SourceIconCache::fetchableHost(QString::fromLatin1(key)).isEmpty()) << key;
}

class IconsTest : public StoreFixture
{
protected:
    void settle() { QCoreApplication::processEvents(); }
};

TEST_F(IconsTest, AMissLoadsOnceAndAFailureWaitsAnHour)
{
    addText(QStringLiteral("a page"), 0, ClipGroup::link, {}, QStringLiteral("http://www.example.org/x"));
    const QString key = QStringLiteral("web:example.org");
    EXPECT_TRUE(store->sourceIcon(key).isNull());
    EXPECT_TRUE(store->sourceIcon(key).isNull());
    settle();
    EXPECT_EQ(siteIconRequests, QStringList{QStringLiteral("http://example.org")});
    EXPECT_TRUE(store->sourceIcon(key).isNull()); // still in flight
    settle();
    ASSERT_EQ(pendingSiteIcons.size(), 1u);
    pendingSiteIcons.front()(QImage()); // the site had no icon
    store->sourceIcon(key);
    settle();
    EXPECT_EQ(siteIconRequests.size(), 1);

    clock.advance(SourceIconCache::retryAfterMs);
    const int revision = store->iconRevision();
    store->sourceIcon(key);
    settle();
    ASSERT_EQ(siteIconRequests.size(), 2);
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::yellow);
    pendingSiteIcons.back()(icon);
    EXPECT_GT(store->iconRevision(), revision);
    EXPECT_FALSE(store->sourceIcon(key).isNull());
    EXPECT_TRUE(store->database()->sourceIcon(key).has_value());
}

TEST_F(IconsTest, NoWebsiteIconsWhilePreviewsAreOff)
{
    settings->setInternetPreviewsEnabled(false);
    store->sourceIcon(QStringLiteral("web:example.org"));
    settle();
    EXPECT_TRUE(siteIconRequests.isEmpty());
    settings->setInternetPreviewsEnabled(true);
    store->sourceIcon(QStringLiteral("web:example.org"));
    settle();
    EXPECT_EQ(siteIconRequests.size(), 1);
}

TEST_F(IconsTest, AppIconsComeFromDesktopEntries)
{
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::cyan);
    entries.add(DesktopEntry{QStringLiteral("org.gnome.Terminal"), QStringLiteral("Terminal"), {}, {}, {}, {}, false}, icon);
    store->sourceIcon(QStringLiteral("org.gnome.Terminal"));
    settle();
    EXPECT_FALSE(store->sourceIcon(QStringLiteral("org.gnome.Terminal")).isNull());
    EXPECT_EQ(entries.iconRequests(), 1);
}

} // namespace
} // namespace corvane::test
