#include "StoreFixture.h"

#include <QFile>

namespace corvane::test {
namespace {

class EditsTest : public StoreFixture
{
protected:
    /** Makes every later write fail, as a full disk or a read-only file would. */
    void failWrites() { store->database()->exec(QStringLiteral("PRAGMA query_only = ON")); }
};

TEST_F(EditsTest, PinningStopsAtTwentyWithAWarning)
{
    QList<std::int64_t> clips;
    for (int i = 0; i < 21; ++i)
        clips.append(addText(QStringLiteral("clip %1").arg(i), 100 - i));
    for (int i = 0; i < 20; ++i)
        store->togglePin(clips[i]);
    store->togglePin(clips[20]);
    EXPECT_FALSE(store->clip(clips[20])->isPinned);
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_EQ(noticeMessage(), QStringLiteral("Pin limit reached — unpin an item to pin another (20 max)"));
}

TEST_F(EditsTest, PinnedClipsLeadTheListMostRecentlyPinnedFirst)
{
    const std::int64_t old = addText(QStringLiteral("old"), 300);
    const std::int64_t middle = addText(QStringLiteral("middle"), 200);
    const std::int64_t fresh = addText(QStringLiteral("fresh"), 100);
    QList<std::int64_t> summarised;
    store->onSummaryWanted = [&](const Clip &clip) { summarised.append(clip.id); };
    store->togglePin(old);
    clock.advance(1'000);
    store->togglePin(middle);
    EXPECT_EQ(ids(store->visibleClips()), (QList<std::int64_t>{middle, old, fresh}));
    EXPECT_EQ(summarised, (QList<std::int64_t>{old, middle}));
}

TEST_F(EditsTest, DatabaseFailuresAreReportedAndChangeNothing)
{
    const std::int64_t clip = addText(QStringLiteral("keep me"));
    store->select(clip);
    failWrites();

    store->togglePin(clip);
    EXPECT_TRUE(noticeMessage().startsWith(QStringLiteral("Couldn’t pin: ")));
    store->toggleTag(int(ColorTag::red), clip);
    EXPECT_TRUE(noticeMessage().startsWith(QStringLiteral("Couldn’t save the tag: ")));
    store->deleteClip(clip);
    EXPECT_TRUE(noticeMessage().startsWith(QStringLiteral("Couldn’t delete: ")));
    store->saveNote(QStringLiteral("lost?"), clip);
    EXPECT_TRUE(noticeMessage().startsWith(QStringLiteral("Couldn’t save the note: ")));
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_TRUE(store->clip(clip));
    EXPECT_EQ(store->selectedID(), clip);
    EXPECT_EQ(store->selectedIDs(), QSet<std::int64_t>{clip});
}

TEST_F(EditsTest, TaggingAMultipleSelectionFollowsTheClickedClip)
{
    const std::int64_t a = addText(QStringLiteral("a"), 30);
    const std::int64_t b = addText(QStringLiteral("b"), 20);
    const std::int64_t c = addText(QStringLiteral("c"), 10);
    store->toggleTag(int(ColorTag::blue), b); // b alone: not a multiple selection
    store->select(a);
    store->select(b, true);
    store->select(c, true);

    store->toggleTag(int(ColorTag::blue), a); // a lacks it: added to all three
    for (std::int64_t id : {a, b, c})
        EXPECT_EQ(store->clip(id)->tags(), QList<ColorTag>{ColorTag::blue});
    store->toggleTag(int(ColorTag::blue), b); // b has it: removed from all
    for (std::int64_t id : {a, b, c})
        EXPECT_TRUE(store->clip(id)->tags().isEmpty());
    EXPECT_EQ(store->usedTags(), QList<ColorTag>{});
}

TEST_F(EditsTest, TagEditsKeepUnknownMaskBits)
{
    const std::int64_t clip = addText(QStringLiteral("masked"));
    store->database()->setTags(clip, 1 << 12);
    store->reload();
    store->toggleTag(int(ColorTag::green), clip);
    EXPECT_EQ(store->clip(clip)->tagMask, (1 << 12) | ColorTags::bit(ColorTag::green));
}

TEST_F(EditsTest, DeletingTheAnchorMovesItToTheNextVisibleClip)
{
    const std::int64_t a = addText(QStringLiteral("a"), 30);
    const std::int64_t b = addText(QStringLiteral("b"), 20);
    const std::int64_t c = addText(QStringLiteral("c"), 10);
    store->select(b);
    store->deleteClip(b); // list order c, b, a: next is a
    EXPECT_EQ(store->selectedID(), a);
    EXPECT_EQ(store->selectedIDs(), QSet<std::int64_t>{a});
    store->deleteClip(a); // last: previous is c
    EXPECT_EQ(store->selectedID(), c);
    store->deleteClip(c);
    EXPECT_FALSE(store->selectedID());
    EXPECT_TRUE(store->selectedIDs().isEmpty());
}

TEST_F(EditsTest, DeletingSeveralDropsThemFromTheSelectionAndTheImageCache)
{
    const std::int64_t image = addImage(pngOf(Qt::green), 20);
    const std::int64_t text = addText(QStringLiteral("t"), 10);
    EXPECT_FALSE(store->fullImage(image).isNull());
    store->select(image);
    store->select(text, true);
    store->deleteClips(QList<std::int64_t>{image, text});
    EXPECT_TRUE(store->selectedIDs().isEmpty());
    EXPECT_EQ(store->clipCount(), 0);
    // A new clip may come back under a reused id; it must not show the deleted picture.
    EXPECT_TRUE(store->fullImage(image).isNull());
}

TEST_F(EditsTest, NotesAreTrimmedAndAnEmptyOneIsRemoved)
{
    const std::int64_t clip = addText(QStringLiteral("noted"));
    store->saveNote(QStringLiteral("  remember this \n"), clip);
    EXPECT_EQ(store->clip(clip)->note, QStringLiteral("remember this"));
    store->saveNote(QStringLiteral(" \n "), clip);
    EXPECT_FALSE(store->clip(clip)->note);
}

TEST_F(EditsTest, ReloadDropsWhatNoLongerExists)
{
    const std::int64_t secret
        = addText(QStringLiteral("token-abc"), 90'000, ClipGroup::secret, QStringLiteral("org.gnome.Terminal"));
    const std::int64_t other = addText(QStringLiteral("other"), 0);
    store->reveal(secret);
    store->select(secret);
    store->select(other, true);
    store->setFilter(ClipFilter::app(QStringLiteral("org.gnome.Terminal")));

    store->database()->deleteClip(secret);
    store->reload();
    EXPECT_EQ(store->selectedIDs(), QSet<std::int64_t>{other});
    EXPECT_TRUE(store->revealedSecrets().isEmpty());
    EXPECT_EQ(store->filter(), ClipFilter::all());

    store->setFilter(ClipFilter::ofDay(double(store->daysWithClips().first().toSecsSinceEpoch())));
    store->database()->deleteClip(other);
    store->reload();
    EXPECT_EQ(store->filter(), ClipFilter::all());
}

TEST_F(EditsTest, ReloadReadsOnlyWhatChangedYetSeesOtherWriters)
{
    const std::int64_t first = addText(QStringLiteral("first"), 60);
    const std::int64_t second = addText(QStringLiteral("second"), 30);
    const ClipRef untouched = store->clip(first);

    // Written through the store's own database: only that clip is read again.
    store->database()->setNote(second, QStringLiteral("own note"));
    store->reload();
    EXPECT_EQ(store->clip(second)->note, QStringLiteral("own note"));
    EXPECT_EQ(store->clip(first), untouched);

    // Another connection (another process) writes: its changes are found all the same.
    {
        ClipDatabase other(store->database()->path());
        other.setNote(first, QStringLiteral("their note"));
        other.deleteClip(second);
    }
    store->reload();
    EXPECT_EQ(store->clip(first)->note, QStringLiteral("their note"));
    EXPECT_FALSE(store->clip(second));

    // Raw statements can delete without naming rows.
    store->database()->exec(QStringLiteral("DELETE FROM clips"));
    store->reload();
    EXPECT_EQ(store->clipCount(), 0);
}

class GarbageStorageLimit : public EditsTest
{
protected:
    void prepareSettings(QSettings &file) override { file.setValue(QStringLiteral("storageLimit"), QStringLiteral("lots")); }
};

TEST_F(GarbageStorageLimit, UnpinningPrunesToTheDefaultLimitNotToZero)
{
    EXPECT_EQ(settings->storageLimit(), AppSettings::defaultStorageLimit);
    const std::int64_t pinned = addText(QStringLiteral("pinned"), 20);
    const std::int64_t loose = addText(QStringLiteral("loose"), 10);
    store->togglePin(pinned);
    store->togglePin(pinned); // prunes with the sanitised limit
    EXPECT_TRUE(store->clip(pinned));
    EXPECT_TRUE(store->clip(loose));
}

TEST(StoreStart, ACorruptDatabaseIsLeftAloneAndNothingIsRecorded)
{
    StoreSetup setup;
    const QString path = setup.dir.filePath(QStringLiteral("history.sqlite"));
    const QByteArray garbage(8192, 'x');
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    ClipboardStore &store = setup.makeStore(path);

    EXPECT_FALSE(store.hasDatabase());
    ASSERT_TRUE(store.notice());
    EXPECT_EQ(store.notice()->kind, Notice::Kind::warning);
    EXPECT_FALSE(store.acceptsCapture(false));
    store.reload();
    store.pause(10);
    EXPECT_EQ(store.clipCount(), 0);
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), garbage);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
}

class CaptureEntryTest : public StoreFixture
{ };

TEST_F(CaptureEntryTest, TheGateDropsPausedCapturesAndImagesWhenOff)
{
    EXPECT_TRUE(store->acceptsCapture(false));
    EXPECT_TRUE(store->acceptsCapture(true));
    settings->setRecordImages(false);
    EXPECT_TRUE(store->acceptsCapture(false));
    EXPECT_FALSE(store->acceptsCapture(true));
    store->pause();
    EXPECT_FALSE(store->acceptsCapture(false));
}

TEST_F(CaptureEntryTest, SkipsKeepTheNewestTwenty)
{
    for (int i = 0; i < 25; ++i)
        store->recordSkip(i == 24 ? QString() : QStringLiteral("App %1").arg(i), QStringLiteral("Excluded app"));
    ASSERT_EQ(store->recentSkips().size(), 20);
    EXPECT_EQ(store->recentSkips().first().appName, QStringLiteral("Unknown app"));
    EXPECT_EQ(store->recentSkips().last().appName, QStringLiteral("App 5"));
}

TEST_F(CaptureEntryTest, RecordedClipsReloadAndAnnounceTheNewest)
{
    int flashes = 0;
    store->onCaptureFeedback = [&] { ++flashes; };
    ClipDatabase::NewClip clip;
    clip.text = QStringLiteral("captured");
    clip.createdAt = ago(0);
    clip.hash = QStringLiteral("text\ncaptured");
    const std::int64_t id = store->database()->insert(clip).id;
    store->clipsRecorded({id});
    EXPECT_EQ(store->lastAddedID(), id);
    EXPECT_EQ(store->clipCount(), 1);
    EXPECT_EQ(flashes, 1);
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

/** The store patches its list after its own edits; a full read must find the same history. */
TEST_F(EditsTest, PatchedHistoryMatchesAFullReload)
{
    settings->setStorageLimit(250'000'000);
    QList<std::int64_t> clips;
    for (int i = 0; i < 6; ++i)
        clips.append(addText(QStringLiteral("clip %1").arg(i), 100 - i));
    ClipDatabase::NewClip big;
    big.text = QStringLiteral("big");
    big.byteSize = 300'000'000;
    big.createdAt = ago(500);
    big.hash = QStringLiteral("text\nbig");
    const std::int64_t bigID = store->database()->insert(big).id;
    store->reload();

    store->togglePin(clips[0]);
    store->togglePin(bigID);
    store->togglePin(bigID); // pruned on unpinning
    store->toggleTag(int(ColorTag::red), clips[2]);
    store->saveNote(QStringLiteral("n"), clips[3]);
    store->deleteClip(clips[4]);
    ClipDatabase::NewClip again; // an upsert moves an old clip to the top
    again.text = QStringLiteral("clip 1");
    again.createdAt = ago(0);
    again.hash = QStringLiteral("text\nclip 1");
    store->database()->insert(again);
    store->clipsRecorded({clips[1]}, QList<std::int64_t>{});

    const ClipList patched = store->clips();
    const QList<std::int64_t> patchedOrder = ids(store->visibleClips());
    makeStore(); // reads everything afresh
    ASSERT_EQ(patched.size(), store->clips().size());
    for (qsizetype i = 0; i < patched.size(); ++i)
        EXPECT_EQ(*patched[i], *store->clips()[i]) << "clip " << patched[i]->id;
    EXPECT_EQ(patchedOrder, ids(store->visibleClips()));
    EXPECT_FALSE(store->clip(bigID));
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

/** Reload reads only the rows whose changeable values moved; it must still see every change. */
TEST_F(EditsTest, ReloadSeesChangesMadeThroughAnotherConnection)
{
    QList<std::int64_t> clips;
    for (int i = 0; i < 5; ++i)
        clips.append(addText(QStringLiteral("clip %1").arg(i), 100 - i, ClipGroup::text, QStringLiteral("app.one")));
    {
        ClipDatabase other(store->database()->path());
        other.setNote(clips[0], QStringLiteral("elsewhere"));
        other.setPinned(clips[1], true, ago(0));
        other.setTags(clips[2], ColorTags::bit(ColorTag::orange));
        other.deleteClip(clips[3]);
        ClipDatabase::NewClip again; // the same text copied again from another app
        again.text = QStringLiteral("clip 4");
        again.createdAt = ago(-5);
        again.sourceBundleID = QStringLiteral("app.two");
        again.hash = QStringLiteral("text\nclip 4");
        other.insert(again);
        ClipDatabase::NewClip fresh;
        fresh.text = QStringLiteral("new");
        fresh.createdAt = ago(-10);
        fresh.hash = QStringLiteral("text\nnew");
        other.insert(fresh);
    }
    store->reload();
    const ClipList reloaded = store->clips();
    makeStore();
    ASSERT_EQ(reloaded.size(), store->clips().size());
    for (qsizetype i = 0; i < reloaded.size(); ++i)
        EXPECT_EQ(*reloaded[i], *store->clips()[i]) << "clip " << reloaded[i]->id;
    EXPECT_EQ(store->clip(clips[4])->sourceBundleID(), QStringLiteral("app.two"));
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

TEST_F(EditsTest, ClearingTheHistoryDropsCachedImages)
{
    const std::int64_t image = addImage(pngOf(Qt::red));
    ASSERT_FALSE(store->fullImage(image).isNull());
    store->database()->exec(QStringLiteral("DELETE FROM clips WHERE pinned = 0 AND tags = 0"));
    store->reload();
    EXPECT_TRUE(store->fullImage(image).isNull());
}

} // namespace
} // namespace corvane::test
