#include "StoreFixture.h"

#include <QCoreApplication>

namespace corvane::test {
namespace {

using WriteKind = FakeClipboardService::WriteKind;

class ClipboardWrites : public StoreFixture
{ };

TEST_F(ClipboardWrites, CopyPutsTextOrImageAndRecordsTheChangeCount)
{
    const std::int64_t text = addText(QStringLiteral("hello"));
    const std::int64_t secret = addText(QStringLiteral("s3cr3t-token"), 0, ClipGroup::secret);
    const std::int64_t image = addImage(pngOf(Qt::red));

    store->copy(text);
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("hello"));
    EXPECT_EQ(store->ownChangeCount(), clipboard.changeCount());
    EXPECT_EQ(noticeMessage(), QStringLiteral("Copied to clipboard"));

    store->copy(secret);
    EXPECT_TRUE(clipboard.writes().back().secret);
    EXPECT_EQ(noticeMessage(), QStringLiteral("Secret copied"));

    store->copy(image);
    EXPECT_EQ(clipboard.writes().back().kind, WriteKind::image);
    EXPECT_EQ(clipboard.writes().back().image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(store->ownChangeCount(), clipboard.changeCount());
}

TEST_F(ClipboardWrites, AFailedImageCopyLeavesTheClipboardUntouched)
{
    const std::int64_t image = addImage(QByteArray()); // stored without its picture
    store->copy(image);
    EXPECT_TRUE(clipboard.writes().empty());
    EXPECT_EQ(store->ownChangeCount(), 0);
    ASSERT_TRUE(store->notice());
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_EQ(noticeMessage(), QStringLiteral("Couldn’t copy: the image is missing"));
}

TEST_F(ClipboardWrites, FileClipsOfferExistingPathsUnlessPlainText)
{
    const QString existing = dir.filePath(QStringLiteral("history.sqlite"));
    const QString missing = dir.filePath(QStringLiteral("gone.txt"));
    const std::int64_t files = addText(existing + QLatin1Char('\n') + missing, 0, ClipGroup::file);

    store->copy(files);
    ASSERT_EQ(clipboard.writes().back().kind, WriteKind::files);
    EXPECT_EQ(clipboard.writes().back().urls, QList<QUrl>{QUrl::fromLocalFile(existing)});
    EXPECT_EQ(clipboard.writes().back().text, existing + QLatin1Char('\n') + missing);

    store->copy(files, true);
    EXPECT_EQ(clipboard.writes().back().kind, WriteKind::text);
}

TEST_F(ClipboardWrites, CopyingSeveralClipsJoinsOnlyTheTexts)
{
    const std::int64_t first = addText(QStringLiteral("one"), 30);
    const std::int64_t image = addImage(pngOf(Qt::blue), 20);
    const std::int64_t second = addText(QStringLiteral("two"), 10);

    store->copyClips(QList<std::int64_t>{first, image, second});
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("one\ntwo"));
    // The count is of the clips given.
    EXPECT_EQ(noticeMessage(), QStringLiteral("Copied 3 clips"));

    const std::size_t writes = clipboard.writes().size();
    store->copyClips(QList<std::int64_t>{image});
    EXPECT_EQ(clipboard.writes().size(), writes);
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
}

class PasteQueueTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        a = addText(QStringLiteral("alpha"), 30);
        b = addText(QStringLiteral("beta"), 20);
        c = addText(QStringLiteral("gamma"), 10);
        store->onCorvaneChanged = [this] { ++queueChanges; };
    }
    std::int64_t a = 0, b = 0, c = 0;
    int queueChanges = 0;
};

TEST_F(PasteQueueTest, AddingStartsAtTheFirstItemAndNextWalksToTheEnd)
{
    store->addToStack(QList<std::int64_t>{a, b});
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("alpha"));
    EXPECT_EQ(noticeMessage(), QStringLiteral("Added 2 clips to Corvane"));
    EXPECT_EQ(queueChanges, 1);
    EXPECT_EQ(store->ownChangeCount(), clipboard.changeCount());

    store->dismissNotice();
    store->addToStack(QList<std::int64_t>{b});
    EXPECT_EQ(noticeMessage(), QStringLiteral("Added to Corvane"));
    EXPECT_EQ(store->pasteQueue().ids(), (QList<std::int64_t>{a, b}));
    EXPECT_EQ(clipboard.writes().size(), 1u); // the current item stays

    store->dismissNotice();
    store->next();
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("beta"));
    EXPECT_FALSE(store->notice()); // queue writes show no "Copied" notice
    store->next();
    EXPECT_TRUE(store->pasteQueue().isEmpty());
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("beta"));
    EXPECT_EQ(queueChanges, 4);
}

TEST_F(PasteQueueTest, DeletingTheCurrentItemMovesOnToTheNext)
{
    store->addToStack(QList<std::int64_t>{a, b, c});
    store->deleteClip(a);
    EXPECT_EQ(store->pasteQueue().ids(), (QList<std::int64_t>{b, c}));
    EXPECT_EQ(store->pasteQueue().currentID(), b);
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("beta"));
    EXPECT_EQ(queueChanges, 2);
}

TEST_F(PasteQueueTest, PrunedAndClearedClipsLeaveTheQueue)
{
    store->addToStack(QList<std::int64_t>{a, b, c});
    store->next();                                                                     // b is current
    store->database()->exec(QStringLiteral("DELETE FROM clips WHERE id = %1").arg(c)); // as a prune would
    store->reload();
    EXPECT_EQ(store->pasteQueue().ids(), (QList<std::int64_t>{a, b}));
    EXPECT_EQ(store->pasteQueue().currentID(), b);

    store->database()->exec(QStringLiteral("DELETE FROM clips WHERE pinned = 0 AND tags = 0"));
    store->reload();
    EXPECT_TRUE(store->pasteQueue().isEmpty());
    const std::size_t writes = clipboard.writes().size();
    store->next();
    EXPECT_EQ(clipboard.writes().size(), writes);
}

TEST_F(PasteQueueTest, UnpinningOverTheLimitPrunesQueuedClips)
{
    settings->setStorageLimit(250'000'000);
    ClipDatabase::NewClip big;
    big.text = QStringLiteral("big");
    big.byteSize = 300'000'000;
    big.createdAt = ago(100);
    big.hash = QStringLiteral("text\nbig");
    const std::int64_t bigID = store->database()->insert(big).id;
    store->reload();
    store->togglePin(bigID);
    store->addToStack(QList<std::int64_t>{bigID, a});
    store->togglePin(bigID); // unpinned and over the limit: pruned at once
    EXPECT_FALSE(store->clip(bigID));
    EXPECT_EQ(store->pasteQueue().ids(), QList<std::int64_t>{a});
    EXPECT_EQ(clipboard.writes().back().text, QStringLiteral("alpha"));
}

} // namespace
} // namespace corvane::test
