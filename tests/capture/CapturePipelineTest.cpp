#include "CapturePipeline.h"
#include "CaptureQueue.h"
#include "CaptureTestSupport.h"
#include "CapturedImage.h"
#include "ImageTools.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

constexpr std::int64_t plenty = 1'000'000'000;

QImage window(int words)
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, 640, 30, QColor(30, 30, 50));
    for (int i = 0; i < words; ++i)
        painter.fillRect(40 + i * 28, 60, 22, 9, Qt::black);
    return image;
}

class CapturePipelineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureGuiApplication();
        ASSERT_TRUE(dir.isValid());
        db = std::make_shared<ClipDatabase>(dir.filePath(QStringLiteral("history.sqlite")));
    }

    CaptureRequest request(ClipboardPayload payload, double date = 1000, std::int64_t limit = plenty)
    {
        CaptureRequest r;
        r.payload = std::move(payload);
        r.sourceName = QStringLiteral("Text Editor");
        r.sourceBundleID = QStringLiteral("org.gnome.TextEditor");
        r.date = date;
        r.storageLimit = limit;
        return r;
    }

    static ClipboardPayload text(const QString &value, bool files = false)
    {
        ClipboardPayload payload;
        payload.text = value;
        payload.isFileReference = files;
        return payload;
    }

    static ClipboardPayload image(const QImage &picture)
    {
        ClipboardPayload payload;
        payload.kind = ClipboardPayload::Kind::image;
        payload.image = picture;
        return payload;
    }

    CaptureOutcome process(const CaptureRequest &r) { return CapturePipeline(*db).process(r); }

    QTemporaryDir dir;
    std::shared_ptr<ClipDatabase> db;
};

} // namespace

TEST_F(CapturePipelineTest, ClassifiesTextsAndFiles)
{
    struct Case {
        ClipboardPayload payload;
        ClipGroup group;
    };
    const Case cases[] = {
        {text(QStringLiteral("https://example.org/a")), ClipGroup::link},
        {text(QStringLiteral("Meeting notes for Tuesday")), ClipGroup::text},
        {text(QStringLiteral("/home/ada/report.pdf"), true), ClipGroup::file},
        {text(QStringLiteral("/home/ada/report.pdf")), ClipGroup::text},
    };
    double date = 1000;
    for (const Case &c : cases) {
        const CaptureOutcome outcome = process(request(c.payload, date++));
        ASSERT_EQ(outcome.kind, CaptureOutcome::Kind::stored);
        EXPECT_TRUE(outcome.isNewRow) << "a path as text and as a file are two clips";
        const auto clip = db->loadClip(outcome.clipID);
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->group, c.group) << c.payload.text.toStdString();
        EXPECT_EQ(clip->sourceName(), QStringLiteral("Text Editor"));
        EXPECT_EQ(clip->byteSize, c.payload.text.toUtf8().size());
    }
    EXPECT_EQ(db->clipCount(), 4);
}

TEST_F(CapturePipelineTest, SameTextAgainBumpsDateAndSource)
{
    const CaptureOutcome first = process(request(text(QStringLiteral("hello")), 1000));
    CaptureRequest again = request(text(QStringLiteral("hello")), 2000);
    again.sourceName = QStringLiteral("Terminal");
    again.payload.sourceURL = QStringLiteral("https://example.org/");
    const CaptureOutcome second = process(again);
    EXPECT_EQ(second.clipID, first.clipID);
    EXPECT_FALSE(second.isNewRow);
    const auto clip = db->loadClip(first.clipID);
    EXPECT_EQ(clip->createdAt, 2000);
    EXPECT_EQ(clip->sourceName(), QStringLiteral("Terminal"));
    EXPECT_EQ(db->clipCount(), 1);
}

TEST_F(CapturePipelineTest, ImagesGetThumbnailSizeAndFingerprint)
{
    const CaptureOutcome outcome = process(request(image(window(5))));
    ASSERT_EQ(outcome.kind, CaptureOutcome::Kind::stored);
    const auto clip = db->loadClip(outcome.clipID);
    EXPECT_EQ(clip->group, ClipGroup::image);
    EXPECT_EQ(clip->imageSize, QSize(640, 400));
    EXPECT_EQ(clip->thumbnail().size(), QSize(320, 200));
    const auto png = db->imageData(outcome.clipID);
    ASSERT_TRUE(png);
    EXPECT_EQ(clip->byteSize, png->size());
    EXPECT_EQ(QImage::fromData(*png).convertToFormat(QImage::Format_RGB32), window(5));
}

TEST_F(CapturePipelineTest, NearDuplicateImageReplacesTheOldPixels)
{
    const CaptureOutcome first = process(request(image(window(5)), 1000));
    const CaptureOutcome second = process(request(image(window(6)), 2000));
    EXPECT_EQ(second.clipID, first.clipID);
    EXPECT_EQ(db->clipCount(), 1);
    const auto png = db->imageData(first.clipID);
    ASSERT_TRUE(png);
    EXPECT_EQ(QImage::fromData(*png).convertToFormat(QImage::Format_RGB32), window(6)) << "copying back gives the new image";

    QImage different = window(5);
    QPainter(&different).fillRect(320, 100, 300, 280, Qt::black);
    const CaptureOutcome other = process(request(image(different), 3000));
    EXPECT_TRUE(other.isNewRow);
    EXPECT_EQ(db->clipCount(), 2);
}

TEST_F(CapturePipelineTest, ClipLargerThanTheWholeLimitIsNotStored)
{
    process(request(text(QStringLiteral("kept")), 1000, 1000));
    const CaptureOutcome outcome = process(request(text(QString(2000, QLatin1Char('x'))), 2000, 1000));
    EXPECT_EQ(outcome.kind, CaptureOutcome::Kind::failed);
    EXPECT_EQ(outcome.warning, QStringLiteral("Too large to save"));
    ASSERT_EQ(db->clipCount(), 1);
    EXPECT_EQ(db->loadClips().first().text(), QStringLiteral("kept")) << "nothing was pruned for it";

    // An image counts its thumbnail too.
    const auto encoded = CapturedImage::fromImage(window(5));
    ASSERT_TRUE(encoded);
    const std::int64_t limit = encoded->png.size() + encoded->thumbnail.size() - 1;
    const CaptureOutcome picture = process(request(image(window(5)), 3000, limit));
    EXPECT_EQ(picture.warning, QStringLiteral("Too large to save"));
    EXPECT_EQ(db->clipCount(), 1);
}

TEST_F(CapturePipelineTest, PrunesToTheLimitAfterStoring)
{
    for (int i = 0; i < 10; ++i)
        process(request(text(QString(100, QLatin1Char('a' + i))), 1000 + i, 350));
    const QList<Clip> clips = db->loadClips();
    ASSERT_EQ(clips.size(), 3);
    EXPECT_TRUE(clips.first().text()->startsWith(QLatin1Char('j')));
}

TEST_F(CapturePipelineTest, LongTextLoadsAsAPrefixWithItsWholeLength)
{
    // 3000 code points, each a surrogate pair: the prefix must not split one.
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    QString longText;
    for (int i = 0; i < 3000; ++i)
        longText += emoji;
    const CaptureOutcome outcome = process(request(text(longText)));
    const auto clip = db->loadClip(outcome.clipID);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->textLength, 3000);
    EXPECT_TRUE(clip->textIsTruncated);
    EXPECT_EQ(clip->text()->size(), 2 * Clip::textPrefixLength);
    EXPECT_TRUE(longText.startsWith(*clip->text()));
    EXPECT_EQ(db->fullText(outcome.clipID), longText);
    EXPECT_EQ(db->loadClips().first().text(), clip->text());

    const CaptureOutcome shortText = process(request(text(QStringLiteral("short")), 2000));
    EXPECT_EQ(db->loadClip(shortText.clipID)->textLength, 5);
}

TEST_F(CapturePipelineTest, UnreadablePayloads)
{
    ClipboardPayload garbled;
    garbled.kind = ClipboardPayload::Kind::image;
    garbled.image = QImage();
    EXPECT_EQ(process(request(garbled)).kind, CaptureOutcome::Kind::dropped);
    EXPECT_EQ(process(request(text(QString()))).kind, CaptureOutcome::Kind::dropped);
    EXPECT_EQ(db->clipCount(), 0);

    // A copied image file that turns out unreadable is kept as the file it is.
    ClipboardPayload missing;
    missing.kind = ClipboardPayload::Kind::image;
    missing.imagePath = dir.filePath(QStringLiteral("gone.png"));
    const CaptureOutcome outcome = process(request(missing));
    ASSERT_EQ(outcome.kind, CaptureOutcome::Kind::stored);
    EXPECT_EQ(db->loadClip(outcome.clipID)->group, ClipGroup::file);
    EXPECT_EQ(db->loadClip(outcome.clipID)->text(), missing.imagePath);
}

TEST_F(CapturePipelineTest, QueueStoresInOrderAndReportsABurstOnce)
{
    CaptureQueue queue(db);
    QList<QList<std::int64_t>> batches;
    QStringList warnings;
    queue.onClipsRecorded = [&](const QList<std::int64_t> &ids, const auto &) { batches.append(ids); };
    queue.onCaptureWarning = [&](const QString &message) { warnings.append(message); };

    for (int i = 0; i < 20; ++i)
        queue.enqueue(request(text(QStringLiteral("clip %1").arg(i)), 1000 + i));
    queue.enqueue(request(text(QString(5000, QLatin1Char('z'))), 2000, 4000));
    ASSERT_TRUE(test::processEventsUntil([&] { return queue.pendingCount() == 0; }));

    ASSERT_EQ(batches.size(), 1) << "one reload for the burst";
    ASSERT_EQ(batches[0].size(), 20);
    EXPECT_EQ(db->loadClip(batches[0].last())->text(), QStringLiteral("clip 19"));
    EXPECT_EQ(warnings, QStringList{"Too large to save"});
}

TEST_F(CapturePipelineTest, QueueReportsWhatTheBurstsPrunesDeleted)
{
    CaptureQueue queue(db);
    QList<std::int64_t> recorded;
    std::optional<QList<std::int64_t>> pruned;
    queue.onClipsRecorded = [&](const QList<std::int64_t> &ids, const std::optional<QList<std::int64_t>> &gone) {
        recorded += ids;
        pruned = gone;
    };
    // Each clip is 1,000 bytes and the limit holds two: the burst prunes its own oldest clips.
    for (int i = 0; i < 5; ++i)
        queue.enqueue(request(text(QString(1000, QLatin1Char('a' + i))), 1000 + i, 2000));
    ASSERT_TRUE(test::processEventsUntil([&] { return queue.pendingCount() == 0; }));

    ASSERT_EQ(recorded.size(), 5);
    ASSERT_TRUE(pruned.has_value()) << "the store may then read only the recorded clips";
    QList<std::int64_t> expected;
    for (std::int64_t id : recorded) {
        if (!db->loadClip(id))
            expected.append(id);
    }
    std::sort(pruned->begin(), pruned->end());
    EXPECT_EQ(*pruned, expected);
    EXPECT_EQ(expected.size(), 3);
}

namespace {

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/** A small PNG whose header claims `size`: a decoder that trusts it would allocate all of that. */
QByteArray pngClaiming(QSize size)
{
    QImage tiny(1, 1, QImage::Format_RGB32);
    tiny.fill(Qt::red);
    QByteArray png = pngData(tiny).value();
    // IHDR follows the 8-byte signature: length (4), type (4), width (4), height (4), ...
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(quint32(size.width()) >> (24 - 8 * i));
        png[20 + i] = char(quint32(size.height()) >> (24 - 8 * i));
    }
    const quint32 crc = crc32(QByteArrayView(png).sliced(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

ClipboardPayload encodedImage(const QByteArray &bytes)
{
    ClipboardPayload payload;
    payload.kind = ClipboardPayload::Kind::image;
    payload.imageData = bytes;
    return payload;
}

} // namespace

TEST_F(CapturePipelineTest, ALargeImageIsStoredWholeFromAThumbnailSizedDecode)
{
    // 6000 x 6000 decodes to 144 MB.
    const QByteArray png = test::largePng({6000, 6000}, QColor(240, 200, 40), QColor(20, 90, 160));
    ASSERT_FALSE(png.isEmpty());

    CapturePipeline pipeline(*db);
    const CaptureOutcome outcome = pipeline.process(request(encodedImage(png)));
    ASSERT_EQ(outcome.kind, CaptureOutcome::Kind::stored) << outcome.warning.toStdString();
    const Clip clip = *db->loadClip(outcome.clipID);
    EXPECT_EQ(clip.imageSize, QSize(6000, 6000));
    EXPECT_EQ(db->imageData(outcome.clipID), png) << "the original bytes are kept";
    const QImage thumbnail = clip.thumbnail();
    EXPECT_EQ(thumbnail.size(), QSize(CapturedImage::thumbnailSide, CapturedImage::thumbnailSide));
    EXPECT_EQ(thumbnail.pixelColor(10, 10), QColor(240, 200, 40));

    // The same bytes again are the same clip.
    EXPECT_EQ(pipeline.process(request(encodedImage(png), 2000)).clipID, outcome.clipID);
}

TEST_F(CapturePipelineTest, AnImageAboveThePixelLimitIsASkipWithItsReason)
{
    CapturePipeline pipeline(*db);
    const CaptureOutcome outcome = pipeline.process(request(encodedImage(pngClaiming({40000, 40000}))));
    EXPECT_EQ(outcome.kind, CaptureOutcome::Kind::skipped);
    EXPECT_TRUE(outcome.warning.contains(QStringLiteral("40000 × 40000"))) << outcome.warning.toStdString();
    EXPECT_EQ(db->clipCount(), 0);
}
