#include "ClipTextSource.h"
#include "TestDatabase.h"

#include <atomic>
#include <thread>

namespace corvane::test {
namespace {

/** The clip as loaded, made to read its text on demand instead of holding it. */
Clip readingOnDemand(Clip clip, const ClipDatabase &db)
{
    clip.readTextFrom(db.textSource());
    return clip;
}

using ClipTextOnDemand = DatabaseTest;

TEST_F(ClipTextOnDemand, ReadsTheSamePrefixPreviewAndSubtitleAsAHeldText)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QString texts[] = {
        QStringLiteral("  \n  first line\n second"),
        QString(2000, u'a'),
        QString(2001, u'b'),
        QString(5000, u'c') + QStringLiteral("tail"),
        QString(2600, u'\u00E9'),
        emoji.repeated(2100),
        QString(1999, u'd') + emoji + QStringLiteral("rest"),
        QString(),
    };
    double date = 1;
    std::int64_t emojiID = 0;
    for (const QString &text : texts) {
        const std::int64_t id = insertText(text, date++);
        if (text.startsWith(emoji))
            emojiID = id;
    }
    auto file = textClip(QStringLiteral("/home/me/a.txt\n/home/me/b.txt"), date++);
    file.group = ClipGroup::file;
    file.hash = QStringLiteral("file-two");
    db->insert(file);

    for (const Clip &held : db->loadClips()) {
        const Clip onDemand = readingOnDemand(held, *db);
        SCOPED_TRACE(held.textLength);
        EXPECT_EQ(onDemand.heldText(), nullptr);
        EXPECT_EQ(onDemand.hasText(), held.hasText());
        EXPECT_EQ(onDemand.text(), held.text());
        EXPECT_EQ(onDemand.preview(), held.preview());
        EXPECT_EQ(onDemand.subtitle(), held.subtitle());
    }
    // The cut counts characters and never splits a surrogate pair.
    const Clip emojis = readingOnDemand(*db->loadClip(emojiID), *db);
    EXPECT_EQ(emojis.text(), emoji.repeated(Clip::textPrefixLength));
}

TEST_F(ClipTextOnDemand, ADeletedOrClosedHistoryGivesNothing)
{
    const auto kept = insertText(QStringLiteral("kept"), 1);
    const auto doomed = insertText(QStringLiteral("doomed"), 2);
    const auto pruned = insertText(QStringLiteral("pruned"), 0, 5000);
    const Clip keptClip = readingOnDemand(*db->loadClip(kept), *db);
    const Clip doomedClip = readingOnDemand(*db->loadClip(doomed), *db);
    const Clip prunedClip = readingOnDemand(*db->loadClip(pruned), *db);
    ASSERT_EQ(doomedClip.text(), QStringLiteral("doomed")); // now cached
    ASSERT_EQ(prunedClip.text(), QStringLiteral("pruned"));

    db->deleteClip(doomed);
    db->prune(100);
    EXPECT_EQ(doomedClip.text(), std::nullopt);
    EXPECT_EQ(prunedClip.text(), std::nullopt);
    EXPECT_EQ(keptClip.text(), QStringLiteral("kept"));

    db.reset();
    EXPECT_EQ(keptClip.text(), std::nullopt);
    EXPECT_TRUE(keptClip.hasText());
}

TEST_F(ClipTextOnDemand, WorkerReadsStayRightWhileTheMainThreadEdits)
{
    QList<Clip> clips;
    for (int i = 0; i < 200; ++i)
        clips.append(readingOnDemand(*db->loadClip(insertText(QStringLiteral("text %1").arg(i), i)), *db));
    std::atomic<bool> stop = false;
    std::atomic<int> wrong = 0;
    std::thread reader([&] {
        while (!stop) {
            for (const Clip &clip : clips) {
                const auto text = clip.text();
                if (text && *text != QStringLiteral("text %1").arg(clip.id - clips.first().id))
                    ++wrong;
            }
        }
    });
    for (int i = 0; i < 200; i += 2) {
        db->deleteClip(clips[i].id);
        insertText(QStringLiteral("new %1").arg(i), 1000 + i);
        db->setNote(clips[i + 1].id, QStringLiteral("note"));
    }
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(clips[i].text().has_value(), i % 2 == 1) << i;
}

TEST(ClipTextCache, KeepsTheMostRecentlyUsedTextsWithinItsBudget)
{
    ClipTextSource source;
    QList<std::int64_t> reads;
    const std::uint32_t key = source.add([&reads](std::int64_t id) -> std::optional<QString> {
        reads.append(id);
        if (id == 0)
            return std::nullopt;
        return QString(id == 99 ? 4000 : 100, QChar(char16_t(u'a' + id)));
    });
    source.text(key, 1);
    const std::size_t perText = source.cachedBytes();
    source.setBudget(3 * perText);
    source.text(key, 2);
    source.text(key, 3);
    EXPECT_EQ(source.text(key, 1), QString(100, u'b')); // cached, and now the most recent
    source.text(key, 4);                                  // pushes out 2, the least recently used
    EXPECT_EQ(reads, (QList<std::int64_t>{1, 2, 3, 4}));
    source.text(key, 1);
    source.text(key, 3);
    source.text(key, 2);
    EXPECT_EQ(reads, (QList<std::int64_t>{1, 2, 3, 4, 2}));
    EXPECT_LE(source.cachedBytes(), source.budget());

    // A text beyond the budget, or none at all, is read each time and never cached.
    source.text(key, 99);
    source.text(key, 99);
    source.text(key, 0);
    source.text(key, 0);
    EXPECT_EQ(reads.count(99), 2);
    EXPECT_EQ(reads.count(0), 2);
    EXPECT_EQ(source.cachedBytes(), 3 * perText);

    const std::int64_t forgotten[] = {1};
    source.forget(key, forgotten);
    source.text(key, 1);
    EXPECT_EQ(reads.last(), 1);
    source.setBudget(perText);
    EXPECT_EQ(source.cachedBytes(), perText);

    source.remove(key);
    EXPECT_EQ(source.text(key, 1), std::nullopt);
    EXPECT_EQ(source.cachedBytes(), 0u);
}

} // namespace
} // namespace corvane::test
