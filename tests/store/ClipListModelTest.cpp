#include "BackgroundSearch.h"
#include "ClipCollection.h"
#include "ClipListModel.h"
#include "ClipText.h"
#include "DerivedLists.h"
#include "StoreFixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

namespace corvane::test {
namespace {

class ClipListModelTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        for (int i = 0; i < 5; ++i)
            c.append(addText(QStringLiteral("clip %1").arg(i), 100 - i));
        model.setStore(store.get());
        tester = std::make_unique<QAbstractItemModelTester>(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    QList<std::int64_t> rows() const
    {
        QList<std::int64_t> result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.data(model.index(row), ClipListModel::ClipIdRole).toLongLong());
        return result;
    }

    QList<std::int64_t> c;
    ClipListModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(ClipListModelTest, RandomEditsReplayedByTheSignalsGiveTheStoresList)
{
    // The tester checks every signal; the rows must end as the store's list without a reset.
    model.setSectioned(true);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    std::mt19937 random(11);
    int added = 0;
    for (int step = 0; step < 60; ++step) {
        const QList<std::int64_t> now = ids(store->visibleClips());
        switch (random() % 4) {
        case 0:
            addText(QStringLiteral("new %1").arg(++added), double(random() % 200000));
            store->reload();
            break;
        case 1:
            if (!now.isEmpty())
                store->deleteClip(now[int(random() % now.size())]);
            break;
        case 2:
            if (!now.isEmpty())
                store->togglePin(now[int(random() % now.size())]);
            break;
        default:
            store->setSearchText(random() % 2 ? QStringLiteral("new") : QString());
            break;
        }
        ASSERT_EQ(rows(), ids(store->visibleClips())) << "step " << step;
        const ClipList &all = store->clips(); // new clips went to their place, newest first
        ASSERT_TRUE(std::is_sorted(all.begin(), all.end(),
                                   [](const ClipRef &a, const ClipRef &b) {
                                       return a->createdAt != b->createdAt ? a->createdAt > b->createdAt : a->id > b->id;
                                   }))
            << "step " << step;
    }
    EXPECT_EQ(resets.size(), 0);
}

TEST_F(ClipListModelTest, ReloadsEditRowsInPlaceWithoutAReset)
{
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removes(&model, &QAbstractItemModel::rowsRemoved);
    EXPECT_EQ(rows(), ids(store->visibleClips()));

    const std::int64_t fresh = addText(QStringLiteral("fresh"));
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(removes.count(), 0);

    QPersistentModelIndex kept = model.index(4); // c[1]
    store->togglePin(c[0]);                      // the oldest moves to the top
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    EXPECT_EQ(kept.data(ClipListModel::ClipIdRole).toLongLong(), c[1]);

    store->deleteClip(fresh);
    store->saveNote(QStringLiteral("a note"), c[2]);
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    EXPECT_EQ(model.data(model.index(model.rowOf(c[2])), ClipListModel::TitleRole).toString(), QStringLiteral("a note"));

    store->setSearchText(QStringLiteral("clip 3"));
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    store->setSearchText(QString());
    store->setFilter(ClipFilter::pinned());
    EXPECT_EQ(rows(), QList<std::int64_t>{c[0]});
    EXPECT_EQ(resets.count(), 0);
}

TEST_F(ClipListModelTest, LettingGoOfTheStoreEmptiesTheRows)
{
    store->saveNote(QStringLiteral("moves the revision"), c[0]);
    model.setStore(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    model.setSectioned(true); // reads again, with no store
    model.setStore(store.get());
    EXPECT_EQ(rows(), ids(store->visibleClips()));
}

TEST_F(ClipListModelTest, SelectionAndRevealTouchOnlyTheirRows)
{
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    store->select(c[1]);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.first().at(0).value<QModelIndex>().row(), model.rowOf(c[1]));
    EXPECT_TRUE(model.data(model.index(model.rowOf(c[1])), ClipListModel::IsSelectedRole).toBool());
    store->select(c[2]);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(ClipListModelTest, SectionedRowsCarryTheirSection)
{
    model.setSectioned(true);
    store->togglePin(c[4]);
    EXPECT_EQ(model.data(model.index(0), ClipListModel::SectionTitleRole).toString(), QStringLiteral("Pinned"));
    EXPECT_EQ(model.data(model.index(1), ClipListModel::SectionTitleRole).toString(), QStringLiteral("Today"));
    EXPECT_EQ(model.data(model.index(1), ClipListModel::SectionIdRole).toInt(), 1);
}

TEST_F(ClipListModelTest, SectionTitlesFollowTheDay)
{
    model.setSectioned(true);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    clock.advance(24LL * 60 * 60 * 1000);
    model.refresh();
    EXPECT_EQ(model.data(model.index(0), ClipListModel::SectionTitleRole).toString(), QStringLiteral("Yesterday"));
    EXPECT_FALSE(changes.isEmpty());
}

TEST_F(ClipListModelTest, SectionsWorkWhicheverPropertyComesFirst)
{
    ClipListModel early;
    QAbstractItemModelTester earlyTester(&early, QAbstractItemModelTester::FailureReportingMode::Fatal);
    early.setSectioned(true);
    early.setStore(store.get());
    EXPECT_EQ(early.data(early.index(4), ClipListModel::SectionTitleRole).toString(), QStringLiteral("Today"));
    early.setSectioned(false);
    EXPECT_EQ(early.data(early.index(4), ClipListModel::SectionIdRole).toInt(), -1);
    early.setSectioned(true);
    EXPECT_EQ(early.data(early.index(0), ClipListModel::SectionIdRole).toInt(), 0);
}

TEST_F(ClipListModelTest, AModelWithItsOwnFilterIgnoresTheStores)
{
    ClipListModel own;
    QAbstractItemModelTester ownTester(&own, QAbstractItemModelTester::FailureReportingMode::Fatal);
    own.setFollowStore(false);
    own.setStore(store.get());
    own.setSearchText(QStringLiteral("clip 2"));
    EXPECT_EQ(own.count(), 1);
    store->setSearchText(QStringLiteral("clip"));
    EXPECT_EQ(own.count(), 1);
    own.setFilterKey(QStringLiteral("pinned"));
    EXPECT_EQ(own.count(), 0);
}

} // namespace
TEST_F(ClipListModelTest, LargeHistorySearchesOffTheMainThreadAndKeepsOnlyTheLastKeystroke)
{
    store->setBackgroundSearchFrom(0); // every history counts as large
    QSignalSpy finished(store.get(), &ClipboardStore::visibleSearchFinished);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    const QList<std::int64_t> before = rows();

    // Two keystrokes before the event loop runs: the first search is cancelled, the rows wait.
    store->setSearchText(QStringLiteral("clip 1"));
    store->setSearchText(QStringLiteral("clip 3"));
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(store->visibleIsReady(store->filter(), store->searchText()));

    store->backgroundSearch()->waitForFinished();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(store->visibleIsReady(store->filter(), store->searchText()));
    EXPECT_EQ(rows().value(0), c[3]);
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    EXPECT_EQ(resets.count(), 0);

    // An edit while a search is out: the search's snapshot stays as it was, the result is
    // dropped as stale and the search runs again over the edited history.
    store->setSearchText(QStringLiteral("clip"));
    store->deleteClip(c[2]);
    store->backgroundSearch()->waitForFinished(); // the stale result, dropped
    store->backgroundSearch()->waitForFinished(); // the search over the edited history
    EXPECT_FALSE(rows().contains(c[2]));
    EXPECT_EQ(rows(), ids(store->visibleClips()));
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(ClipListModelTest, AModelFollowingEditsMatchesOneReadAfresh)
{
    // Pins, tags, notes, deletions and new clips update the rows in place; a model that reads
    // the store afresh after each must show the same rows, sections and clips.
    model.setSectioned(true);
    for (int i = 0; i < 40; ++i)
        c.append(addText(QStringLiteral("day clip %1").arg(i), 3600.0 * 7 * i));
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    std::mt19937 random(5);
    int added = 0;
    for (int step = 0; step < 80; ++step) {
        const QList<std::int64_t> now = ids(store->clips());
        const std::int64_t target = now[int(random() % now.size())];
        changes.clear();
        switch (random() % 5) {
        case 0:
            store->togglePin(target);
            break;
        case 1:
            store->toggleTag(int(random() % 3), target);
            break;
        case 2:
            store->saveNote(QStringLiteral("note %1").arg(step), target);
            // The edited clip's row is told, and shows the note.
            ASSERT_TRUE(std::any_of(changes.begin(), changes.end(),
                                    [&](const QList<QVariant> &signal) {
                                        const int row = model.rowOf(target);
                                        return signal.at(0).value<QModelIndex>().row() <= row
                                            && signal.at(1).value<QModelIndex>().row() >= row;
                                    }))
                << "step " << step;
            ASSERT_EQ(model.data(model.index(model.rowOf(target)), ClipListModel::NoteRole).toString(),
                      QStringLiteral("note %1").arg(step));
            break;
        case 3:
            if (now.size() > 10)
                store->deleteClip(target);
            break;
        default:
            addText(QStringLiteral("new %1").arg(++added), double(random() % 300000), ClipGroup::text,
                    random() % 2 ? QStringLiteral("org.example.One") : QStringLiteral("org.example.Two"));
            break;
        }
        ClipCollection loaded;
        loaded.replace(store->database()->loadClips(), QTimeZone::utc());
        ASSERT_EQ(store->sources(), DerivedLists::sources(loaded)) << "step " << step;
        ClipListModel fresh;
        fresh.setSectioned(true);
        fresh.setStore(store.get());
        ASSERT_EQ(rows(), ids(store->visibleClips())) << "step " << step;
        ASSERT_EQ(model.rowCount(), fresh.rowCount()) << "step " << step;
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int role : {int(ClipListModel::ClipIdRole), int(ClipListModel::SectionKeyRole), int(ClipListModel::IsPinnedRole),
                             int(ClipListModel::TagsRole)})
                ASSERT_EQ(model.data(model.index(row), role), fresh.data(fresh.index(row), role))
                    << "step " << step << " row " << row << " role " << role;
        }
        for (int section = 0; section < 60; ++section)
            ASSERT_EQ(model.sectionSize(section), fresh.sectionSize(section)) << "step " << step;
        // Each row lies within its section's range, which the rows' place in a section comes from.
        for (int row = 0; row < model.rowCount(); ++row) {
            const int section = model.data(model.index(row), ClipListModel::SectionIdRole).toInt();
            ASSERT_GE(row, model.sectionStart(section)) << "step " << step << " row " << row;
            ASSERT_LT(row, model.sectionStart(section) + model.sectionSize(section)) << "step " << step << " row " << row;
        }
    }
}

TEST(ClipCollectionAdopt, AnUpdateMadeOnACopyLandsAsOneStepWithoutUndoingLaterStepsWhenItFoundNothing)
{
    auto clipAt = [](std::int64_t id) {
        Clip clip;
        clip.id = id;
        clip.createdAt = 1000 + double(id);
        clip.setText(QStringLiteral("text %1").arg(id));
        return clip;
    };
    auto noted = [&clipAt](std::int64_t id, const QString &note) {
        Clip clip = clipAt(id);
        clip.note = note;
        return clip;
    };
    ClipCollection clips;
    clips.replace({clipAt(2), clipAt(1)}, QTimeZone::utc());
    const ClipRef kept = clips.entry(2)->clip;

    // A worker reads everything into a copy while the owner takes an edit of its own.
    const std::uint64_t from = clips.revision();
    ClipCollection copy = clips;
    ASSERT_TRUE(copy.replace({clipAt(3), clipAt(2), clipAt(1)}, QTimeZone::utc()));
    ASSERT_TRUE(clips.patch({noted(1, QStringLiteral("meanwhile"))}, {}));
    const std::uint64_t beforeAdopt = clips.revision();

    ASSERT_TRUE(clips.adopt(std::move(copy), from));
    EXPECT_EQ(clips.size(), 3);
    EXPECT_EQ(clips.entry(2)->clip, kept) << "an unchanged clip keeps its object";
    EXPECT_EQ(clips.listIDs()->front(), 3);
    EXPECT_EQ(clips.revision(), beforeAdopt + 1) << "revisions only move forward";
    EXPECT_EQ(clips.lastChange().fromRevision, beforeAdopt);
    EXPECT_TRUE(clips.lastChange().everything);

    // A copy in which the read found nothing new leaves the owner's later edits alone.
    const std::uint64_t again = clips.revision();
    ClipCollection unchanged = clips;
    EXPECT_FALSE(unchanged.replace({clipAt(3), clipAt(2), clipAt(1)}, QTimeZone::utc()));
    ASSERT_TRUE(clips.patch({noted(3, QStringLiteral("later"))}, {}));
    EXPECT_FALSE(clips.adopt(std::move(unchanged), again));
    EXPECT_EQ(clips.entry(3)->clip->note, QStringLiteral("later"));
}

TEST(ClipCollectionSnapshot, StaysAsTakenWhileTheCollectionChanges)
{
    QList<Clip> loaded;
    for (int id = 3; id >= 1; --id) {
        Clip clip;
        clip.id = id;
        clip.createdAt = 1000 + id;
        clip.setText(QStringLiteral("text %1").arg(id));
        loaded.append(clip);
    }
    ClipCollection clips;
    clips.replace(loaded, QTimeZone::utc());
    const ClipSnapshot snapshot = clips.snapshot();
    EXPECT_TRUE(clips.isShared());
    // A re-read that finds nothing new copies nothing the snapshot shares.
    EXPECT_FALSE(clips.patch({loaded[0]}, {42}));
    EXPECT_EQ(&clips.entries(), snapshot.entries.get());

    Clip edited = loaded[0];
    edited.note = QStringLiteral("a note");
    clips.patch({edited}, {1});
    EXPECT_EQ(clips.size(), 2);
    EXPECT_EQ(clips.entry(3)->clip->note, QStringLiteral("a note"));
    ASSERT_EQ(snapshot.entries->size(), 3u);
    EXPECT_FALSE(snapshot.entries->front().clip->note.has_value());
    EXPECT_EQ(snapshot.listOrder->size(), 3u);
    EXPECT_NE(snapshot.revision, clips.revision());

    // New clips merge in by date; a value edit shows in every view of the collection.
    Clip older = loaded[2];
    older.id = 7;
    older.createdAt = 1000.5;
    older.byteSize = 40;
    Clip newest = older;
    newest.id = 8;
    newest.createdAt = 2000;
    clips.patch({older, newest}, {});
    QList<std::int64_t> order;
    for (const ClipRef &clip : clips.all())
        order.append(clip->id);
    EXPECT_EQ(order, (QList<std::int64_t>{8, 3, 2, 7}));
    EXPECT_EQ(clips.indexOf(7), 3);
    Clip tagged = *clips.entry(2)->clip;
    tagged.tagMask = 1;
    tagged.byteSize += 10;
    clips.patch({tagged}, {});
    EXPECT_EQ(clips.all().at(2)->tagMask, 1);
    EXPECT_EQ(clips.entry(2)->tagMask, 1);
    EXPECT_EQ(clips.storageUsed(), 40 * 2 + 10);
}

namespace {

Clip collectionClip(std::int64_t id, double createdAt)
{
    Clip clip;
    clip.id = id;
    clip.createdAt = createdAt;
    clip.setText(QStringLiteral("text %1").arg(id));
    clip.byteSize = 10 + int(id % 7);
    clip.group = id % 4 == 0 ? ClipGroup::link : id % 9 == 0 ? ClipGroup::code : ClipGroup::text;
    // Sources of every kind: apps (one bundle under two names), pages, a URL without a host, none.
    switch (id % 6) {
    case 0:
        break;
    case 1:
    case 2:
        clip.setSourceBundleID(QStringLiteral("org.example.Editor"));
        clip.setSourceName(id % 6 == 1 ? QStringLiteral("Editor") : QStringLiteral("Editor Beta"));
        break;
    case 3:
        clip.setSourceURL(QStringLiteral("https://www.example.org/page/%1").arg(id % 4));
        clip.setSourceName(QStringLiteral("Browser"));
        break;
    case 4:
        clip.setSourceURL(QStringLiteral("not a url"));
        clip.setSourceBundleID(QStringLiteral("org.example.Browser"));
        break;
    default:
        clip.setSourceName(QStringLiteral("Nameless"));
        clip.createdAt += 0.75;
        break;
    }
    if (id % 11 == 0)
        clip.byteSize = std::int64_t(5) << 30; // past what 32 bits hold
    return clip;
}

/** An entry's values as the clip itself gives them. */
void expectEntryMatchesItsClip(const ClipEntry &entry, const QTimeZone &zone)
{
    const Clip &clip = *entry.clip;
    EXPECT_EQ(entry.sourceKey(), clip.sourceKey().value_or(QString())) << clip.id;
    EXPECT_EQ(entry.sourceHost(), clip.sourceHost().value_or(QString())) << clip.id;
    EXPECT_EQ(entry.sourceDisplayName(), clip.sourceDisplayName()) << clip.id;
    EXPECT_EQ(entry.sourceId() >= 0, !entry.sourceKey().isEmpty()) << clip.id;
    EXPECT_EQ(entry.storageBytes(), clip.byteSize + clip.thumbnailPng.size()) << clip.id;
    EXPECT_EQ(entry.tagMask, clip.tagMask & ColorTags::knownBits) << clip.id;
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(std::int64_t(clip.createdAt * 1000), zone);
    EXPECT_EQ(entry.dayStart(), ClipText::startOfDay(moment, zone).toSecsSinceEpoch()) << clip.id;
}

QList<std::int64_t> idsInOrder(const ClipCollection &clips, const std::vector<int> &indices)
{
    QList<std::int64_t> result;
    for (int index : indices)
        result.append(clips.entries()[std::size_t(index)].id);
    return result;
}

/** Day sections as runs of equal days after the pinned ones, worked out row by row. */
std::vector<int> sectionsRowByRow(const ClipCollection &clips, const std::vector<int> &visible, bool pinnedFilter)
{
    std::vector<int> result;
    int section = -1;
    std::int64_t day = -1;
    bool inPinned = false;
    for (int index : visible) {
        const ClipEntry &entry = clips.entries()[std::size_t(index)];
        if (!pinnedFilter && entry.isPinned && (section < 0 || inPinned)) {
            inPinned = true;
            section = 0;
        } else if (inPinned || section < 0 || entry.dayStart() != day) {
            inPinned = false;
            day = entry.dayStart();
            ++section;
        }
        result.push_back(section);
    }
    return result;
}

} // namespace

TEST(ClipCollectionPatch, RandomEditsInPlaceGiveWhatAFullLoadGives)
{
    // Pins, tags, notes, new, redated and deleted clips change the collection in place; loading the same
    // clips whole must give the same order, pinned count, ids, storage and sections.
    std::mt19937 random(3);
    std::map<std::int64_t, Clip> truth;
    std::int64_t nextID = 1;
    const double base = 1'700'000'000;
    for (; nextID <= 300; ++nextID)
        truth[nextID] = collectionClip(nextID, base - double(random() % 2'000'000));
    auto loadAll = [&truth] {
        QList<Clip> loaded;
        for (const auto &[id, clip] : truth)
            loaded.append(clip);
        std::sort(loaded.begin(), loaded.end(), [](const Clip &a, const Clip &b) {
            return a.createdAt != b.createdAt ? a.createdAt > b.createdAt : a.id > b.id;
        });
        return loaded;
    };
    ClipCollection clips;
    clips.replace(loadAll(), QTimeZone::utc());
    const SearchContext context{QDateTime::fromSecsSinceEpoch(qint64(base), QTimeZone::utc()), QTimeZone::utc(), {}};
    for (int step = 0; step < 300; ++step) {
        QList<Clip> changed;
        QSet<std::int64_t> removed;
        QSet<std::int64_t> touched;
        const bool manyCopiedAgain = step % 50 == 49; // more than are moved one by one
        const int edits = manyCopiedAgain ? 70 : 1 + int(random() % 3);
        for (int e = 0; e < edits; ++e) {
            auto it = std::next(truth.begin(), std::ptrdiff_t(random() % truth.size()));
            Clip clip = it->second;
            switch (manyCopiedAgain ? 4 : random() % 6) {
            case 0:
                clip.isPinned = !clip.isPinned;
                clip.pinnedAt = clip.isPinned ? std::optional<double>(base + step * 10 + e) : std::nullopt;
                break;
            case 1:
                // Now and then a bit no tag has: kept in the clip, left out of every tag list.
                clip.tagMask ^= random() % 4 == 0 ? std::int64_t(1) << 40 : std::int64_t(1) << (random() % 3);
                break;
            case 2:
                clip.note = QStringLiteral("note %1").arg(step);
                clip.byteSize += 1;
                break;
            case 3:
                if (truth.size() > 20 && !touched.contains(clip.id)) {
                    removed.insert(clip.id);
                    truth.erase(it);
                }
                continue;
            case 4:
                // Copied again: the same clip with a new date, mostly the newest.
                clip.createdAt = random() % 3 == 0 ? base - double(random() % 2'000'000) : base + step + e * 0.001;
                break;
            default:
                // Same date as another clip now and then: equal dates order by id.
                clip = collectionClip(nextID++, random() % 4 == 0 ? clip.createdAt : base - double(random() % 2'000'000));
                break;
            }
            if (removed.contains(clip.id) || touched.contains(clip.id))
                continue;
            touched.insert(clip.id);
            truth[clip.id] = clip;
            changed.append(clip);
        }
        const std::uint64_t before = clips.revision();
        (void)clips.all(); // kept up to date in place once built
        if (!clips.patch(changed, removed))
            continue;
        ClipCollection whole;
        whole.replace(loadAll(), QTimeZone::utc());
        ASSERT_EQ(clips.size(), whole.size()) << "step " << step;
        ASSERT_EQ(idsInOrder(clips, clips.listOrder()), idsInOrder(whole, whole.listOrder())) << "step " << step;
        ASSERT_EQ(*clips.listIDs(), *whole.listIDs()) << "step " << step;
        ASSERT_EQ(clips.pinnedCount(), whole.pinnedCount()) << "step " << step;
        ASSERT_EQ(clips.storageUsed(), whole.storageUsed()) << "step " << step;
        for (int i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(clips.all().at(i), clips.entries()[std::size_t(i)].clip) << "step " << step;
            ASSERT_EQ(clips.all().at(i)->id, whole.all().at(i)->id) << "step " << step;
            ASSERT_EQ(clips.indexOf(whole.all().at(i)->id), i) << "step " << step;
        }
        EXPECT_EQ(clips.lastChange().fromRevision, before);
        EXPECT_EQ(clips.lastChange().ids, touched) << "step " << step;
        const QList<std::int64_t> days = DerivedLists::daysWithClips(clips);
        ASSERT_EQ(days, DerivedLists::daysWithClips(whole)) << "step " << step;
        for (const ClipFilter &filter :
             {ClipFilter::all(), ClipFilter::pinned(), ClipFilter::ofTag(ColorTag::red), ClipFilter::ofTag(ColorTag::yellow),
              ClipFilter::app(QStringLiteral("org.example.Editor")), ClipFilter::app(QStringLiteral("web:example.org")),
              ClipFilter::ofDay(double(days.at(step % days.size())))}) {
            const auto visible = DerivedLists::visible(clips, filter, QString(), context);
            ASSERT_EQ(idsInOrder(clips, visible), idsInOrder(whole, DerivedLists::visible(whole, filter, QString(), context)))
                << "step " << step;
            const SectionLayout layout = DerivedLists::sectionLayout(clips, visible, filter, QString(), context);
            ASSERT_EQ(layout.rowSection, sectionsRowByRow(clips, visible, filter.kind == ClipFilter::Kind::pinned))
                << "step " << step;
        }
        ASSERT_EQ(DerivedLists::sources(clips), DerivedLists::sources(whole)) << "step " << step;
        const DerivedLists::FilterCounts counts = DerivedLists::filterCounts(clips);
        const DerivedLists::FilterCounts wholeCounts = DerivedLists::filterCounts(whole);
        ASSERT_EQ(std::tie(counts.all, counts.pinned, counts.groups, counts.tags),
                  std::tie(wholeCounts.all, wholeCounts.pinned, wholeCounts.groups, wholeCounts.tags))
            << "step " << step;
        ASSERT_EQ(DerivedLists::usedTags(clips), DerivedLists::usedTags(whole)) << "step " << step;
        if (step % 50 == 0) {
            for (const ClipEntry &entry : clips.entries())
                expectEntryMatchesItsClip(entry, QTimeZone::utc());
        }
    }
}

} // namespace corvane::test
