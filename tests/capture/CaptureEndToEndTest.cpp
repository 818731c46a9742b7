// End to end on a real X server: xclip (or a second process of this program) owns the
// clipboard, and the real store records what it offers.
#include "AppSettings.h"
#include "CaptureTestSupport.h"
#include "ClipDatabase.h"
#include "ClipboardCapture.h"
#include "ClipboardStore.h"
#include "QtClipboardService.h"
#include "SystemClock.h"
#include "ThrowAwayHome.h"
#include "X11ActiveWindow.h"
#include "X11ClipboardReader.h"
#include "X11ClipboardSource.h"
#include "XdgDesktopEntries.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

/** The running app's pieces, created once in main() under a throw-away home. */
struct App {
    QTemporaryDir home;
    std::unique_ptr<QSettings> file;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<QtClipboardService> clipboard;
    std::unique_ptr<SystemClock> clock;
    std::unique_ptr<XdgDesktopEntries> entries;
    std::unique_ptr<X11ActiveWindow> window;
    std::unique_ptr<ClipboardStore> store;
};
App *app = nullptr;

QString homePath(const QString &relative) { return app->home.filePath(relative); }

/** Writes what the next xclip offers. */
void prepareXclip(const QByteArray &data)
{
    QFile input(homePath(QStringLiteral("xclip-input")));
    ASSERT_TRUE(input.open(QIODevice::WriteOnly | QIODevice::Truncate));
    input.write(data);
}

/** Lets xclip own the clipboard with the prepared data offered as `target`. */
void runXclip(const QString &target = {})
{
    const QString path = homePath(QStringLiteral("xclip-input"));
    QStringList args{QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"), path};
    if (!target.isEmpty())
        args << QStringLiteral("-t") << target;
    // xclip forks a child that takes and keeps serving the selection; the parent returns at once.
    QProcess process;
    process.start(QStringLiteral("xclip"), args);
    ASSERT_TRUE(test::processEventsUntil([&] { return process.state() == QProcess::NotRunning; }));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

void xclip(const QByteArray &data, const QString &target = {})
{
    prepareXclip(data);
    runXclip(target);
}

bool waitForCount(int count, int timeoutMs = 20000)
{
    return test::processEventsUntil([count] { return app->store->clipCount() == count; }, timeoutMs);
}

/** Runs the event loop for a while, so anything that would happen has happened. */
void settle(int ms = 1200)
{
    QElapsedTimer timer;
    timer.start();
    test::processEventsUntil([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

ClipRef newest() { return app->store->clips().isEmpty() ? nullptr : app->store->clips().first(); }

QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    for (int x = 0; x < size.width(); x += 16)
        for (int y = 0; y < size.height(); ++y)
            image.setPixel(x, y, qRgb(0, 0, x % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(CaptureEndToEnd, TextIsRecordedOnceAndBumpedWhenCopiedAgain)
{
    const int before = app->store->clipCount();
    xclip("Meeting moved to Thursday");
    ASSERT_TRUE(waitForCount(before + 1));
    EXPECT_EQ(newest()->group, ClipGroup::text);
    EXPECT_EQ(newest()->text(), QStringLiteral("Meeting moved to Thursday"));
    const double first = newest()->createdAt;
    const std::int64_t id = newest()->id;

    xclip("https://example.org/agenda");
    ASSERT_TRUE(waitForCount(before + 2));
    EXPECT_EQ(newest()->group, ClipGroup::link);

    xclip("Meeting moved to Thursday");
    ASSERT_TRUE(test::processEventsUntil([&] { return newest()->id == id; }));
    EXPECT_EQ(app->store->clipCount(), before + 2);
    EXPECT_GT(newest()->createdAt, first);
}

TEST(CaptureEndToEnd, ImageGetsThumbnailAndSize)
{
    const int before = app->store->clipCount();
    xclip(png(QSize(900, 600)), QStringLiteral("image/png"));
    ASSERT_TRUE(waitForCount(before + 1));
    const ClipRef clip = newest();
    EXPECT_EQ(clip->group, ClipGroup::image);
    EXPECT_EQ(clip->imageSize, QSize(900, 600));
    EXPECT_EQ(clip->thumbnail().size(), QSize(320, 213));
    const auto stored = app->store->database()->imageData(clip->id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(clip->byteSize, stored->size());
}

TEST(CaptureEndToEnd, UriListIsAFileClip)
{
    const QString path = homePath(QStringLiteral("Documents/report 2026.pdf"));
    QDir().mkpath(QFileInfo(path).path());
    QFile(path).open(QIODevice::WriteOnly);
    const int before = app->store->clipCount();
    xclip(QUrl::fromLocalFile(path).toEncoded() + "\r\n", QStringLiteral("text/uri-list"));
    ASSERT_TRUE(waitForCount(before + 1));
    EXPECT_EQ(newest()->group, ClipGroup::file);
    EXPECT_EQ(newest()->text(), path);
}

TEST(CaptureEndToEnd, ConcealedTextIsSkippedWithItsReason)
{
    // A second process of this program owns the clipboard with two formats, as a password manager does.
    QProcess owner;
    owner.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--offer-concealed"), QStringLiteral("hunter2")});
    ASSERT_TRUE(owner.waitForReadyRead(20000)) << "owner did not take the clipboard";
    const int before = app->store->clipCount();
    const qsizetype skips = app->store->recentSkips().size();
    ASSERT_TRUE(test::processEventsUntil([&] { return app->store->recentSkips().size() == skips + 1; }));
    EXPECT_EQ(app->store->recentSkips().first().reason, QStringLiteral("Hidden content"));
    EXPECT_EQ(app->store->recentSkips().first().appName, QStringLiteral("Unknown app")) << "no window manager here";
    settle();
    EXPECT_EQ(app->store->clipCount(), before);
    owner.kill();
    owner.waitForFinished();
}

TEST(CaptureEndToEnd, OwnCopyBackIsNotRecorded)
{
    xclip("something else entirely");
    ASSERT_TRUE(test::processEventsUntil([] { return newest()->text() == QStringLiteral("something else entirely"); }));
    const ClipRef older = app->store->clips().last();
    const int before = app->store->clipCount();
    const double date = older->createdAt;
    app->store->copy(older->id);
    ASSERT_EQ(QGuiApplication::clipboard()->text(), older->text().value_or(QString()));
    settle();
    EXPECT_EQ(app->store->clipCount(), before);
    EXPECT_EQ(app->store->clips().last()->id, older->id) << "not bumped to the top";
    EXPECT_EQ(app->store->clips().last()->createdAt, date);
}

TEST(CaptureEndToEnd, LargeTextIsStoredWithoutBlockingTheInterface)
{
    QByteArray big;
    big.reserve(20 * 1024 * 1024);
    const QByteArray line = "The quick brown fox jumps over the lazy dog, 0123456789 times.\n";
    while (big.size() + line.size() <= 20 * 1024 * 1024)
        big += line;
    const int before = app->store->clipCount();
    prepareXclip(big);

    // A timer that should fire every 5 ms: its longest gap is the longest stall of the main thread.
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { longest = qMax(longest, sinceTick.restart()); });
    sinceTick.start();
    heartbeat.start(5);
    QElapsedTimer latency;
    latency.start();
    runXclip();
    ASSERT_TRUE(waitForCount(before + 1, 20'000));
    const qint64 elapsed = latency.elapsed();
    longest = qMax(longest, sinceTick.elapsed()); // a stall that ended the wait counts too
    heartbeat.stop();

    EXPECT_EQ(newest()->byteSize, big.size());
    EXPECT_EQ(app->store->fullText(newest()->id)->size(), big.size());
    EXPECT_LT(longest, 100) << "main thread stalled for " << longest << " ms";
    std::printf("20 MB text: stored after %lld ms, longest main-thread stall %lld ms\n", qlonglong(elapsed), qlonglong(longest));
}

TEST(CaptureEndToEnd, ReaderNeverHandsOutANewerCopysContent)
{
    X11ClipboardReader reader;
    ASSERT_TRUE(reader.isConnected());
    xclip("judged copy");
    // xclip's child takes the selection a moment after its parent returns.
    X11ClipboardReader::Snapshot snapshot;
    std::optional<ClipboardContent> judged;
    ASSERT_TRUE(test::processEventsUntil([&] {
        snapshot = reader.snapshot();
        judged = reader.read(snapshot.generation, ClipboardPart::text);
        return judged && judged->text == QStringLiteral("judged copy");
    }));
    EXPECT_TRUE(snapshot.formats.contains(QStringLiteral("text/plain")));
    EXPECT_FALSE(snapshot.formats.contains(QStringLiteral("TARGETS")));

    xclip("a newer copy");
    ASSERT_TRUE(test::processEventsUntil([&] { return reader.snapshot().generation > snapshot.generation; }));
    EXPECT_FALSE(reader.read(snapshot.generation, ClipboardPart::text));
}

TEST(CaptureEndToEnd, HistoryFilesArePrivateToTheUser)
{
    const QFileInfo database(app->store->database()->path());
    const auto owner = QFile::ReadOwner | QFile::WriteOwner;
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(database.permissions() & (owner | others), owner);
    EXPECT_EQ(QFileInfo(database.path()).permissions() & (others | QFile::ExeGroup | QFile::ExeOther), 0);
    const QFileInfo wal(database.filePath() + QStringLiteral("-wal"));
    ASSERT_TRUE(wal.exists());
    EXPECT_EQ(wal.permissions() & others, 0);
}

namespace {

/** The clipboard owner of ConcealedTextIsSkippedWithItsReason. */
int offerConcealed(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    auto *data = new QMimeData;
    data->setText(QString::fromLocal8Bit(argv[2]));
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), "secret");
    QGuiApplication::clipboard()->setMimeData(data);
    std::printf("owned\n");
    std::fflush(stdout);
    return application.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--offer-concealed") == 0)
        return offerConcealed(argc, argv);

    App instance;
    app = &instance;
    test::useThrowAwayHome(instance.home, {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"});
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    instance.file = std::make_unique<QSettings>(homePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
    instance.settings = std::make_unique<AppSettings>(instance.file.get(), nullptr);
    instance.clipboard = std::make_unique<QtClipboardService>();
    instance.clock = std::make_unique<SystemClock>();
    instance.entries = std::make_unique<XdgDesktopEntries>();
    instance.window = std::make_unique<X11ActiveWindow>(*instance.entries);
    ClipboardStore::Services services;
    services.settings = instance.settings.get();
    services.clipboard = instance.clipboard.get();
    services.clock = instance.clock.get();
    services.desktopEntries = instance.entries.get();
    services.activeWindow = instance.window.get();
    services.databasePath = ClipDatabase::defaultPath();
    // Reads on the reader thread, as the application does under X11.
    services.clipboardSource
        = [](ClipboardService &) -> std::unique_ptr<ClipboardSource> { return X11ClipboardSource::create(); };
    instance.store = std::make_unique<ClipboardStore>(services);
    if (!instance.store->hasDatabase() || !services.databasePath.startsWith(instance.home.path())) {
        std::fprintf(stderr, "history not in the throw-away home: %s\n", qPrintable(services.databasePath));
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    instance.store.reset();
    return result;
}
