#include "SearchIndexBuilder.h"
#include "StoreFixture.h"

namespace corvane::test {
namespace {

/** Six clips, newest first: c5 (code) ... c0, alternating text and code. */
class SelectionTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        for (int i = 0; i < 6; ++i)
            c.append(addText(QStringLiteral("clip %1").arg(i), 100 - i, i % 2 ? ClipGroup::code : ClipGroup::text));
    }
    QList<std::int64_t> c;
};

TEST_F(SelectionTest, CommandTogglesAndKeepsAPredictableAnchor)
{
    store->select(c[5]);
    store->select(c[3], true);
    store->select(c[1], true);
    EXPECT_EQ(store->selectedID(), c[1]);
    EXPECT_EQ(store->selectedIDs(), (QSet<std::int64_t>{c[5], c[3], c[1]}));
    EXPECT_TRUE(store->isInMultipleSelection(c[3]));

    store->select(c[1], true); // the anchor leaves: the nearest member in list order takes over
    EXPECT_EQ(store->selectedID(), c[3]);
    store->select(c[5], true); // another member leaves: the anchor stays
    EXPECT_EQ(store->selectedID(), c[3]);
    EXPECT_FALSE(store->isInMultipleSelection(c[3]));
    store->select(c[3], true);
    EXPECT_FALSE(store->selectedID());
    EXPECT_FALSE(store->showInspector());
}

TEST_F(SelectionTest, ShiftSelectsARangeOfTheFilteredList)
{
    store->setFilter(ClipFilter::ofGroup(ClipGroup::code)); // c5, c3, c1
    store->select(c[5]);
    store->select(c[1], false, true);
    EXPECT_EQ(store->selectedID(), c[5]);
    EXPECT_EQ(store->selectedIDs(), (QSet<std::int64_t>{c[5], c[3], c[1]}));

    store->setFilter(ClipFilter::ofGroup(ClipGroup::text)); // the anchor is not visible now
    store->select(c[0], false, true);
    EXPECT_EQ(store->selectedID(), c[0]);
    EXPECT_EQ(store->selectedIDs(), QSet<std::int64_t>{c[0]});
}

TEST_F(SelectionTest, MoveSelectionClampsAndStartsFromTheEnds)
{
    store->setFilter(ClipFilter::ofGroup(ClipGroup::text)); // c4, c2, c0
    store->moveSelection(1);
    EXPECT_EQ(store->selectedID(), c[4]);
    store->moveSelection(5);
    EXPECT_EQ(store->selectedID(), c[0]);
    store->moveSelection(-1);
    EXPECT_EQ(store->selectedID(), c[2]);

    store->clearSelection();
    store->moveSelection(-1);
    EXPECT_EQ(store->selectedID(), c[0]);
    store->select(c[5]); // not in the filtered list
    store->moveSelection(1);
    EXPECT_EQ(store->selectedID(), c[4]);

    store->setSearchText(QStringLiteral("nothing matches this"));
    store->moveSelection(1);
    EXPECT_EQ(store->selectedID(), c[4]);
}

TEST_F(SelectionTest, ThePreviewFollowsTheSelectionOnlyWhenAskedTo)
{
    store->select(c[0]);
    EXPECT_TRUE(store->showInspector());
    settings->setAutoShowPreview(false);
    store->setShowInspector(false);
    store->select(c[1]);
    EXPECT_FALSE(store->showInspector());
    store->select(c[1], true); // nothing selected now
    EXPECT_FALSE(store->showInspector());
}

class ListsTest : public StoreFixture
{
protected:
    static constexpr double day = 86'400;

    QStringList titles(const std::vector<ClipSection> &sections)
    {
        QStringList result;
        for (const ClipSection &section : sections)
            result.append(section.title);
        return result;
    }
};

TEST_F(ListsTest, PinnedFilterSectionsMayRepeatTitlesButNotIds)
{
    const std::int64_t today1 = addText(QStringLiteral("today one"), 60);
    const std::int64_t yesterday = addText(QStringLiteral("yesterday"), day);
    const std::int64_t today2 = addText(QStringLiteral("today two"), 120);
    addText(QStringLiteral("unpinned"), 10);
    for (std::int64_t id : {today1, yesterday, today2}) {
        store->togglePin(id);
        clock.advance(1'000);
    }
    // Pinned order: today2, yesterday, today1.
    const auto pinned = store->sections(ClipFilter::pinned(), QString());
    EXPECT_EQ(titles(pinned), (QStringList{QStringLiteral("Today"), QStringLiteral("Yesterday"), QStringLiteral("Today")}));
    EXPECT_EQ(pinned[0].id, 0);
    EXPECT_EQ(pinned[2].id, 2);

    const auto all = store->sections(ClipFilter::all(), QString());
    EXPECT_EQ(titles(all), (QStringList{QStringLiteral("Pinned"), QStringLiteral("Today")}));
    EXPECT_EQ(all[0].clips.size(), 3);

    EXPECT_EQ(titles(store->sections(ClipFilter::all(), QStringLiteral("today"))), QStringList{QStringLiteral("Results")});
    EXPECT_TRUE(store->sections(ClipFilter::all(), QStringLiteral("qqqqqqqq")).empty());
}

TEST_F(ListsTest, SearchNarrowsByWordsAndOrdersByScore)
{
    const std::int64_t link = addText(QStringLiteral("https://example.org/apple"), 30, ClipGroup::link);
    const std::int64_t prose = addText(QStringLiteral("pineapple pie"), 20);
    const std::int64_t exact = addText(QStringLiteral("apple pie"), 10);
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("apple"))), (QList<std::int64_t>{exact, link, prose}));
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("type:link apple"))), QList<std::int64_t>{link});
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("aple pie"))), (QList<std::int64_t>{exact}));
}

TEST_F(ListsTest, TheBackgroundIndexFindsWhatTheLazyOneFinds)
{
    for (int i = 0; i < 50; ++i)
        addText(QStringLiteral("entry %1 %2").arg(i).arg(i % 3 ? QStringLiteral("kiwi") : QStringLiteral("mango")), 100 - i);
    const QList<std::int64_t> lazy = ids(store->visibleClips(ClipFilter::all(), QStringLiteral("mango")));
    makeStore(); // a full load starts the background index
    store->searchIndexBuilder()->waitForFinished();
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("mango"))), lazy);
    EXPECT_EQ(lazy.size(), 17);
}

TEST_F(ListsTest, SidebarShowsKeptSourcesFirstAndFiveAtMost)
{
    for (int i = 0; i < 8; ++i) {
        for (int k = 0; k <= i; ++k)
            addText(QStringLiteral("from %1 #%2").arg(i).arg(k), 10 * (8 - i) + k, ClipGroup::text,
                    QStringLiteral("app.%1").arg(i));
    }
    auto keys = [](const QList<SourceApp> &sources) {
        QStringList result;
        for (const SourceApp &source : sources)
            result.append(source.bundleID);
        return result;
    };
    const QStringList ranked = keys(store->sources());
    ASSERT_EQ(ranked.size(), 8);
    EXPECT_EQ(store->sources().first().count, 8);
    EXPECT_EQ(keys(store->sidebarSources()), ranked.mid(0, 5));

    store->keepSource(ranked[7]);
    store->keepSource(ranked[6]);
    store->hideSource(ranked[0]);
    EXPECT_EQ(keys(store->sidebarSources()), (QStringList{ranked[6], ranked[7], ranked[1], ranked[2], ranked[3]}));

    for (int i = 1; i < 6; ++i)
        store->keepSource(ranked[i]);
    EXPECT_EQ(keys(store->sidebarSources()).size(), 7); // kept ones are never dropped
    store->keepSource(ranked[0]);
    EXPECT_FALSE(settings->hiddenSources().contains(ranked[0]));
}

TEST_F(ListsTest, GroupsTagsAndDaysComeFromEveryClip)
{
    addText(QStringLiteral("#ff0000"), 0, ClipGroup::color);
    const std::int64_t old = addText(QStringLiteral("old"), 3 * day);
    store->toggleTag(int(ColorTag::gray), old);
    store->setSearchText(QStringLiteral("nothing"));
    EXPECT_EQ(store->availableGroups(), (QList<ClipGroup>{ClipGroup::color, ClipGroup::text}));
    EXPECT_EQ(store->usedTags(), QList<ColorTag>{ColorTag::gray});
    EXPECT_EQ(store->daysWithClips().size(), 2);
}

} // namespace
} // namespace corvane::test
