#include "TestDatabase.h"

#include <thread>

namespace corvane::test {
namespace {

using Outcome = ClipDatabase::InsertResult::Outcome;

using ClipDatabaseInsert = DatabaseTest;

TEST_F(ClipDatabaseInsert, IdsAreNotReusedAfterDeletingTheNewest)
{
    insertText(QStringLiteral("a"), 1);
    const auto newest = insertText(QStringLiteral("b"), 2);
    db->deleteClip(newest);
    EXPECT_GT(insertText(QStringLiteral("c"), 3), newest);
}

TEST_F(ClipDatabaseInsert, SameHashBumpsDateAndSourceKeepingTheRest)
{
    auto first = textClip(QStringLiteral("hello"), 10);
    first.sourceName = QStringLiteral("Terminal");
    first.sourceBundleID = QStringLiteral("org.gnome.Terminal");
    const auto id = db->insert(first).id;
    db->setNote(id, QStringLiteral("my note"));
    db->setPinned(id, true, 11);

    auto again = textClip(QStringLiteral("hello"), 20);
    again.sourceName = QStringLiteral("Firefox");
    again.sourceBundleID = QStringLiteral("firefox");
    again.sourceURL = QStringLiteral("https://example.com/page");
    const auto result = db->insert(again);

    EXPECT_EQ(result.id, id);
    EXPECT_EQ(result.outcome, Outcome::bumped);
    const auto clips = db->loadClips();
    ASSERT_EQ(clips.size(), 1);
    EXPECT_EQ(clips[0].createdAt, 20);
    EXPECT_EQ(clips[0].sourceName(), QStringLiteral("Firefox"));
    EXPECT_EQ(clips[0].sourceBundleID(), QStringLiteral("firefox"));
    EXPECT_EQ(clips[0].sourceURL(), QStringLiteral("https://example.com/page"));
    EXPECT_EQ(clips[0].note, QStringLiteral("my note"));
    EXPECT_TRUE(clips[0].isPinned);
}

TEST_F(ClipDatabaseInsert, TextAndFileOfTheSameStringStayApart)
{
    auto text = textClip(QStringLiteral("/home/me/report.pdf"), 1);
    auto file = text;
    file.group = ClipGroup::file;
    file.hash = QStringLiteral("file\n/home/me/report.pdf");
    file.createdAt = 2;

    EXPECT_EQ(db->insert(text).outcome, Outcome::inserted);
    EXPECT_EQ(db->insert(file).outcome, Outcome::inserted);
    const auto clips = db->loadClips();
    ASSERT_EQ(clips.size(), 2);
    EXPECT_EQ(clips[0].group, ClipGroup::file);
    EXPECT_EQ(clips[1].group, ClipGroup::text);
}

TEST_F(ClipDatabaseInsert, NearDuplicateImageReplacesPixelsKeepingIdPinTagsAndNote)
{
    constexpr std::uint64_t dhash = 0xF0F0'0000'FFFF'0001ULL; // high bit set: stored bit-cast
    const auto id = db->insert(imageClip("old pixels", QSize(640, 480), dhash, 1)).id;
    EXPECT_EQ(db->loadClips().first().thumbnailPng, QByteArray("thumb:old pixels"));
    db->setPinned(id, true, 2);
    db->setTags(id, ColorTags::bit(ColorTag::red));
    db->setNote(id, QStringLiteral("screenshot"));

    const auto result = db->insert(imageClip("new_pixels", QSize(640, 480), dhash ^ 0b101, 3));

    EXPECT_EQ(result.id, id);
    EXPECT_EQ(result.outcome, Outcome::replaced);
    EXPECT_EQ(db->imageData(id), QByteArray("new_pixels"));
    EXPECT_EQ(db->loadClips().first().thumbnailPng, QByteArray("thumb:new_pixels"));
    const auto clip = db->loadClip(id);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->thumbnailPng, QByteArray("thumb:new_pixels"));
    EXPECT_EQ(clip->byteSize, 10);
    EXPECT_EQ(clip->createdAt, 3);
    EXPECT_TRUE(clip->isPinned);
    EXPECT_EQ(clip->tags(), QList<ColorTag>{ColorTag::red});
    EXPECT_EQ(clip->note, QStringLiteral("screenshot"));
    // The row now carries the new hash: the same copy again is a plain bump.
    EXPECT_EQ(db->insert(imageClip("new_pixels", QSize(640, 480), dhash ^ 0b101, 4)).outcome, Outcome::bumped);
}

TEST_F(ClipDatabaseInsert, DistantOrDifferentlySizedImagesAreNewRows)
{
    constexpr std::uint64_t dhash = 0x1234'5678'9ABC'DEF0ULL;
    db->insert(imageClip("first", QSize(640, 480), dhash, 1));
    EXPECT_EQ(db->insert(imageClip("three bits", QSize(640, 480), dhash ^ 0b111, 2)).outcome, Outcome::inserted);
    EXPECT_EQ(db->insert(imageClip("other size", QSize(480, 640), dhash, 3)).outcome, Outcome::inserted);
    EXPECT_EQ(db->clipCount(), 3);
}

using ClipDatabaseRead = DatabaseTest;

TEST_F(ClipDatabaseRead, LoadKeepsAPrefixAndFullTextComesOnDemand)
{
    const QString longText = QString(5000, u'a') + QStringLiteral("tail");
    const auto id = insertText(longText, 1);
    const auto older = insertText(QStringLiteral("short"), 0);

    const auto clips = db->loadClips();
    ASSERT_EQ(clips.size(), 2);
    EXPECT_EQ(clips[0].id, id);
    EXPECT_EQ(clips[0].text()->size(), Clip::textPrefixLength);
    EXPECT_TRUE(clips[0].textIsTruncated);
    EXPECT_EQ(clips[0].subtitle(), QStringLiteral("5004 characters"));
    // The stored preview is what the prefix gives, so the clip keeps none of its own.
    EXPECT_EQ(clips[0].preview(), QString(200, u'a'));
    EXPECT_TRUE(clips[0].storedPreview.isEmpty());
    EXPECT_FALSE(clips[1].textIsTruncated);
    EXPECT_EQ(db->fullText(id), longText);
    EXPECT_EQ(db->fullText(older), QStringLiteral("short"));
    EXPECT_EQ(db->imageData(id), std::nullopt);
    EXPECT_EQ(db->fullText(9999), std::nullopt);
}

TEST_F(ClipDatabaseRead, AStoppedLoadEndsInAnErrorNeverInPartOfTheHistory)
{
    for (int i = 0; i < 5; ++i)
        insertText(QStringLiteral("clip %1").arg(i), i);

    // Stopped while it reads: what was read so far is not handed over as the whole history.
    struct StopOnFirst final : ClipDatabase::TextVisitor {
        ClipDatabase *db = nullptr;
        void begin(qsizetype) override { }
        void visit(qsizetype, Clip &) override { db->stopLoads(); }
    } stopper;
    stopper.db = db.get();
    try {
        db->loadClips(&stopper);
        ADD_FAILURE() << "a stopped load returned clips";
    } catch (const ClipDatabase::Error &error) {
        EXPECT_EQ(error.kind(), ClipDatabase::Error::Kind::stopped);
    }
    // Stopped for good, while single reads still answer.
    EXPECT_THROW(db->loadClips(), ClipDatabase::Error);
    EXPECT_EQ(db->loadNewestClips(2).size(), 2);
}

TEST_F(ClipDatabaseRead, PrefixAndLengthCountCharactersNotBytesOrUnits)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const struct {
        QString text;
        bool truncated;
        std::int64_t length;
        QString prefixTail;
    } cases[] = {
        {QString(2000, u'a'), false, 2000, QStringLiteral("aa")},
        {QString(2000, u'\u00E9'), false, 2000, QStringLiteral("\u00E9\u00E9")},
        {emoji.repeated(2000), false, 2000, emoji},
        {emoji.repeated(2500), true, 2500, emoji},
        {emoji.repeated(1999) + QStringLiteral("ab"), true, 2001, emoji + u'a'},
    };
    double date = 1;
    for (const auto &c : cases) {
        const auto id = insertText(c.text, date++);
        for (const Clip &clip : {*db->loadClip(id), db->loadClips().first()}) {
            EXPECT_EQ(clip.textIsTruncated, c.truncated) << c.length;
            EXPECT_EQ(clip.textLength, c.length);
            EXPECT_TRUE(clip.text()->endsWith(c.prefixTail)) << c.length;
            EXPECT_EQ(clip.text()->toUcs4().size(), std::min<std::int64_t>(c.length, Clip::textPrefixLength));
        }
    }
}

TEST_F(ClipDatabaseRead, UnknownTagBitsSurviveAndAreNotDecoded)
{
    const auto id = insertText(QStringLiteral("x"), 1);
    const std::int64_t mask = ColorTags::bit(ColorTag::green) | (std::int64_t{1} << 40);
    db->setTags(id, mask);
    const auto clip = db->loadClip(id);
    EXPECT_EQ(clip->tagMask, mask);
    EXPECT_EQ(clip->tags(), QList<ColorTag>{ColorTag::green});
}

TEST_F(ClipDatabaseRead, ClipsOfOneSourceShareItButEachKeepsItsOwnValues)
{
    // Sources that differ only where one column ends and the next begins, or by an empty value
    // against none, stay apart; equal ones read the same from a whole load and a single read.
    const struct {
        std::optional<QString> name, bundleID, url;
    } sources[] = {
        {QStringLiteral("a:b"), QStringLiteral("c"), std::nullopt},
        {QStringLiteral("a"), QStringLiteral("b:c"), std::nullopt},
        {QStringLiteral("a:b"), QStringLiteral("c"), QStringLiteral("")},
        {QStringLiteral("a:b"), QStringLiteral("c"), std::nullopt},
        {std::nullopt, QStringLiteral("c"), std::nullopt},
        {QStringLiteral(""), QStringLiteral("c"), std::nullopt},
        {QStringLiteral("a:b"), QStringLiteral("c"), QStringLiteral("https://example.org/1")},
    };
    QList<std::int64_t> ids;
    double date = 1;
    for (const auto &source : sources) {
        auto clip = textClip(QStringLiteral("clip %1").arg(date), date);
        clip.sourceName = source.name;
        clip.sourceBundleID = source.bundleID;
        clip.sourceURL = source.url;
        ids.append(db->insert(clip).id);
        ++date;
    }
    const auto clips = db->loadClips();
    ASSERT_EQ(clips.size(), std::size(sources));
    for (std::size_t i = 0; i < std::size(sources); ++i) {
        const Clip &clip = clips[qsizetype(std::size(sources) - 1 - i)]; // newest first
        ASSERT_EQ(clip.id, ids[qsizetype(i)]);
        EXPECT_EQ(clip.sourceName(), sources[i].name) << i;
        EXPECT_EQ(clip.sourceBundleID(), sources[i].bundleID) << i;
        EXPECT_EQ(clip.sourceURL(), sources[i].url) << i;
        EXPECT_EQ(*db->loadClip(clip.id), clip) << i;
    }
}

TEST_F(ClipDatabaseRead, CountsPerGroupInGroupOrder)
{
    insertText(QStringLiteral("a"), 1);
    insertText(QStringLiteral("b"), 2);
    db->insert(imageClip("png", QSize(1, 1), 0, 3));
    using Count = std::pair<ClipGroup, std::int64_t>;
    EXPECT_EQ(db->countsByGroup(), (QList<Count>{{ClipGroup::image, 1}, {ClipGroup::text, 2}}));
}

using ClipDatabaseEdit = DatabaseTest;

TEST_F(ClipDatabaseEdit, MultiClipTagEditIsAllOrNothing)
{
    const auto a = insertText(QStringLiteral("a"), 1);
    const auto b = insertText(QStringLiteral("b"), 2);
    db->exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE UPDATE OF tags ON clips WHEN NEW.id = %1 "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                 .arg(b));
    try {
        db->setTags({{a, 1}, {b, 1}});
        FAIL() << "expected an error";
    } catch (const ClipDatabase::Error &error) {
        EXPECT_EQ(error.kind(), ClipDatabase::Error::Kind::step);
        EXPECT_EQ(error.message(), QStringLiteral("refused"));
    }
    EXPECT_EQ(db->loadClip(a)->tagMask, 0);
}

TEST_F(ClipDatabaseEdit, ClearHistoryStatementKeepsPinnedAndTagged)
{
    const auto pinned = insertText(QStringLiteral("p"), 1);
    const auto tagged = insertText(QStringLiteral("t"), 2);
    insertText(QStringLiteral("plain"), 3);
    db->setPinned(pinned, true, 4);
    db->setTags(tagged, 1);
    db->exec(QStringLiteral("DELETE FROM clips WHERE pinned = 0 AND tags = 0"));
    EXPECT_EQ(ids(), (QList<std::int64_t>{tagged, pinned}));
}

TEST_F(ClipDatabaseEdit, UnpinClearsThePinDate)
{
    const auto id = insertText(QStringLiteral("p"), 1);
    db->setPinned(id, true, 7);
    EXPECT_EQ(db->loadClip(id)->pinnedAt, 7);
    db->setPinned(id, false, 8);
    EXPECT_FALSE(db->loadClip(id)->isPinned);
    EXPECT_EQ(db->loadClip(id)->pinnedAt, std::nullopt);
}

using ClipDatabaseCaches = DatabaseTest;

TEST_F(ClipDatabaseCaches, LinkPreviewRoundTripKeepsAbsentFieldsAbsent)
{
    const ClipDatabase::LinkPreviewRecord full{QStringLiteral("Title"), QStringLiteral("Site"), QByteArray("img"),
                                               QByteArray("ico")};
    const ClipDatabase::LinkPreviewRecord empty{};
    db->saveLinkPreview(full, QStringLiteral("https://a.example"));
    db->saveLinkPreview(empty, QStringLiteral("https://b.example"));

    EXPECT_EQ(db->linkPreview(QStringLiteral("https://a.example")), full);
    EXPECT_EQ(db->linkPreview(QStringLiteral("https://b.example")), empty);
    EXPECT_EQ(db->linkPreview(QStringLiteral("https://missing.example")), std::nullopt);

    now = 1'800'000'000;
    db->saveLinkPreview(empty, QStringLiteral("https://a.example"));
    EXPECT_EQ(db->linkPreview(QStringLiteral("https://a.example")), empty);
    EXPECT_EQ(queryInt(path, "SELECT fetched_at FROM link_previews WHERE key = 'https://a.example'"), 1'800'000'000);
}

TEST_F(ClipDatabaseCaches, SourceIconsAreStampedWithTheFetchTime)
{
    db->saveSourceIcon(QStringLiteral("web:example.com"), QByteArray("png"));
    const auto icon = db->sourceIcon(QStringLiteral("web:example.com"));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->png, QByteArray("png"));
    EXPECT_EQ(icon->fetchedAt, now);
    EXPECT_EQ(db->sourceIcon(QStringLiteral("firefox")), std::nullopt);
}

TEST_F(DatabaseTest, ConcurrentWritersAndReadersShareTheConnection)
{
    auto writer = [this](int offset) {
        for (int i = 0; i < 200; ++i)
            insertText(QStringLiteral("w%1-%2").arg(offset).arg(i), offset * 1000 + i);
    };
    std::thread first(writer, 1);
    std::thread second(writer, 2);
    for (int i = 0; i < 20; ++i)
        db->loadClips();
    first.join();
    second.join();
    EXPECT_EQ(db->clipCount(), 400);
}

} // namespace
} // namespace corvane::test
