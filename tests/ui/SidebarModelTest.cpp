#include "ClipFilterKey.h"
#include "SidebarModel.h"
#include "SourceRanking.h"
#include "SourceRules.h"
#include "StoreFixture.h"

#include <QSignalSpy>

using namespace corvane;

namespace {

class SidebarModelTest : public test::StoreFixture
{
protected:
    QStringList keys() const
    {
        QStringList list;
        for (const SidebarRow &row : model.rows())
            list << row.key;
        return list;
    }
    QStringList sourceRows() const
    {
        QStringList list;
        for (const SidebarRow &row : model.rows()) {
            if (!row.sourceKey.isEmpty())
                list << row.sourceKey;
        }
        return list;
    }
    const SidebarRow *row(const QString &key) const
    {
        for (const SidebarRow &row : model.rows()) {
            if (row.key == key)
                return &row;
        }
        return nullptr;
    }
    QVariant role(const QString &key, int role) const { return model.data(model.index(model.rowOf(key)), role); }
    /** `count` sources "s0" (most clips) to "s<count-1>". */
    void addSources(int count)
    {
        for (int s = 0; s < count; ++s) {
            for (int i = 0; i < count - s; ++i)
                add(ClipGroup::text, QStringLiteral("s%1 %2").arg(s).arg(i), 60.0 * (s + 1) + i, QStringLiteral("s%1").arg(s));
        }
        store->reload();
    }

    SidebarModel model;
};

} // namespace

TEST_F(SidebarModelTest, EmptyHistoryShowsTheLibraryAloneWithoutBadges)
{
    model.setStore(store.get());
    EXPECT_EQ(keys(), (QStringList{"all", "pinned"}));
    EXPECT_EQ(role("all", SidebarModel::BadgeRole).toString(), "");
    EXPECT_EQ(role("pinned", SidebarModel::BadgeRole).toString(), "");
    EXPECT_EQ(model.countsLine(), "0 items · 0 pinned");
    EXPECT_TRUE(role("all", SidebarModel::IsCurrentRole).toBool());
}

TEST_F(SidebarModelTest, ANewGroupIsInsertedAtItsPlaceNotByAReset)
{
    add(ClipGroup::link, "https://a.example", 60, "firefox");
    add(ClipGroup::text, "hello", 50, "firefox");
    store->reload();
    model.setStore(store.get());
    EXPECT_EQ(keys(), (QStringList{"all", "pinned", "group:link", "group:text", "app:firefox"}));

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    add(ClipGroup::code, "int x;", 10, "firefox");
    store->reload();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 3); // after link, before text
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(row("group:code")->dotIndex, 1);
    EXPECT_EQ(row("group:text")->dotIndex, 2);
    EXPECT_GE(changed.count(), 1); // counts of All History and the source moved
    EXPECT_EQ(model.countsLine(), "3 items · 0 pinned");
}

TEST_F(SidebarModelTest, OnePassCountsAgreeWithTheFilteredLists)
{
    const ClipGroup groups[] = {ClipGroup::link, ClipGroup::code, ClipGroup::text, ClipGroup::email};
    for (int i = 0; i < 120; ++i) {
        const auto id = add(groups[i % 4], QStringLiteral("clip %1").arg(i), 30.0 * i, QStringLiteral("app%1").arg(i % 7));
        if (i % 9 == 0)
            store->database()->setPinned(id, true, i);
        if (i % 5 == 0)
            store->database()->setTags(id, ColorTags::bit(ColorTag(i % 7)) | (i % 10 == 0 ? ColorTags::bit(ColorTag::gray) : 0));
    }
    store->reload();
    model.setStore(store.get());
    ASSERT_GT(model.rowCount(), 10);
    for (const SidebarRow &row : model.rows()) {
        if (row.isShowAll())
            continue;
        const auto filter = ClipFilterKey::fromKey(row.key);
        ASSERT_TRUE(filter) << row.key.toStdString();
        EXPECT_EQ(row.count, store->visibleClips(*filter, "").size()) << row.key.toStdString();
    }

    // The ranked sources agree with the ranking over every clip's key and date.
    QList<std::pair<QString, QDateTime>> dated;
    for (const ClipRef &clip : store->clips())
        dated.append({*clip->sourceKey(), QDateTime::fromSecsSinceEpoch(qint64(clip->createdAt), QTimeZone::utc())});
    QStringList ranked;
    for (const SourceApp &source : store->sources())
        ranked << source.bundleID;
    EXPECT_EQ(ranked, SourceRanking::rank(dated));

    // The search typed in the clip list changes no count.
    QSignalSpy rebuilt(&model, &SidebarModel::rowsRebuilt);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const auto before = model.rows();
    store->setSearchText("clip 1");
    EXPECT_EQ(rebuilt.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(model.rows(), before);
}

TEST_F(SidebarModelTest, ShowAllRule)
{
    struct Case {
        const char *name;
        int sources;
        QStringList kept;
        QStringList hidden;
        int sourceRows;
        int buttonTotal; // 0: no button
    };
    const Case cases[] = {
        {"seven sources", 7, {}, {}, 5, 7},         {"exactly five", 5, {}, {}, 5, 0},
        {"three, one hidden", 3, {}, {"s1"}, 2, 3}, {"six kept", 6, {"s0", "s1", "s2", "s3", "s4", "s5"}, {}, 6, 0},
        {"all hidden", 2, {}, {"s0", "s1"}, 0, 2},  {"hidden key without clips", 4, {}, {"gone.app"}, 4, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QList<std::int64_t> everything;
        for (const ClipRef &clip : store->clips())
            everything << clip->id;
        store->deleteClips(everything);
        addSources(c.sources);
        settings->setKeptSources(c.kept);
        settings->setHiddenSources(c.hidden);
        SidebarModel fresh;
        fresh.setStore(store.get());
        int sourceRowCount = 0;
        const SidebarRow *button = nullptr;
        for (const SidebarRow &r : fresh.rows()) {
            sourceRowCount += r.sourceKey.isEmpty() ? 0 : 1;
            if (r.isShowAll())
                button = &r;
        }
        EXPECT_EQ(sourceRowCount, c.sourceRows);
        EXPECT_EQ(button ? int(button->count) : 0, c.buttonTotal);
        if (button) {
            EXPECT_EQ(button->title, QStringLiteral("Show all (%1)").arg(c.buttonTotal));
        }
    }
}

TEST_F(SidebarModelTest, SelectionFollowsTheStoresFilter)
{
    addSources(3);
    model.setStore(store.get());
    QSignalSpy filter(store.get(), &ClipboardStore::filterChanged);
    model.select("");
    model.select(SidebarRow::showAllKey());
    EXPECT_EQ(filter.count(), 0); // no selection, or the button, leaves the filter alone

    model.select("app:s1");
    EXPECT_EQ(store->filter(), ClipFilter::app("s1"));
    EXPECT_TRUE(role("app:s1", SidebarModel::IsCurrentRole).toBool());
    EXPECT_FALSE(role("all", SidebarModel::IsCurrentRole).toBool());

    store->setFilter(ClipFilter::ofDay(clock.now().toSecsSinceEpoch() - 86400));
    for (const QString &key : keys())
        EXPECT_FALSE(role(key, SidebarModel::IsCurrentRole).toBool()) << key.toStdString();
    EXPECT_EQ(model.neighbourKey(model.currentKey(), 1), "all"); // arrows start at the top
    model.select("all");
    EXPECT_EQ(store->filter(), ClipFilter::all());
    EXPECT_EQ(model.neighbourKey("all", 1), "pinned");
    EXPECT_EQ(model.neighbourKey("all", -1), "");
}

TEST_F(SidebarModelTest, SourceMenuKeepsStopsKeepingAndHides)
{
    addSources(8);
    model.setStore(store.get());
    EXPECT_EQ(sourceRows(), (QStringList{"s0", "s1", "s2", "s3", "s4"}));
    EXPECT_EQ(model.keepMenuTitle("s7"), "Keep in Sidebar");
    model.toggleKept("s7");
    EXPECT_EQ(model.keepMenuTitle("s7"), "Stop Keeping in Sidebar");
    EXPECT_EQ(sourceRows(), (QStringList{"s7", "s0", "s1", "s2", "s3"}));
    model.hide("s0");
    EXPECT_EQ(sourceRows(), (QStringList{"s7", "s1", "s2", "s3", "s4"}));
    model.toggleKept("s7"); // back among the others, where its ranking has no place for it
    EXPECT_EQ(settings->keptSources(), QStringList{});
    EXPECT_EQ(sourceRows(), (QStringList{"s1", "s2", "s3", "s4", "s5"}));
}
