#include "CaptureTestSupport.h"
#include "ClipboardCapture.h"
#include "FakeActiveWindow.h"
#include "StoreFixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

const AppIdentity editor{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"), 11};

ClipboardContent textContent(const QString &text)
{
    ClipboardContent content;
    content.text = text;
    return content;
}

ClipboardContent imageContent()
{
    ClipboardContent content;
    content.image = QImage(40, 30, QImage::Format_RGB32);
    content.image.fill(Qt::darkCyan);
    return content;
}

/** The store as the app runs it, over a fake clipboard, window and clock. */
class StoreCaptureTest : public ::testing::Test, public test::StoreSetup
{
protected:
    void SetUp() override
    {
        test::ensureGuiApplication();
        ASSERT_TRUE(dir.isValid());
        window.setFrontmostApp(editor);
    }

    void TearDown() override { store.reset(); } // before the window it asks

    /** The store's services with the fake window, over a history in a folder still to be made. */
    ClipboardStore::Services capturing(bool withDatabase = true)
    {
        ClipboardStore::Services services = StoreSetup::services(historyPath());
        services.activeWindow = &window;
        if (!withDatabase)
            services.databasePath.clear();
        return services;
    }
    QString historyPath() const { return dir.filePath(QStringLiteral("data/history.sqlite")); }

    void start(bool withDatabase = true)
    {
        makeStore(capturing(withDatabase));
        store->onCaptureFeedback = [this] { ++flashes; };
    }

    /** Another app copies; the next poll picks it up and the capture thread stores it. */
    void copy(const QStringList &formats, const ClipboardContent &content)
    {
        clipboard.setExternal(formats, content);
        settle();
    }
    void copyText(const QString &text) { copy({QStringLiteral("text/plain")}, textContent(text)); }

    void settle()
    {
        clock.advance(ClipboardMonitor::pollInterval);
        CaptureQueue *queue = store->capture()->queue();
        ASSERT_TRUE(!queue || test::processEventsUntil([queue] { return queue->pendingCount() == 0; }));
    }

    QStringList texts() const
    {
        QStringList result;
        for (const ClipRef &clip : store->clips())
            result << clip->text().value_or(QStringLiteral("<image>"));
        return result;
    }

    FakeActiveWindow window;
    int flashes = 0;
};

} // namespace

TEST_F(StoreCaptureTest, CopiesLandInTheHistoryWithTheirSource)
{
    start();
    copyText(QStringLiteral("https://example.org/docs"));
    ASSERT_EQ(store->clipCount(), 1);
    const ClipRef clip = store->clips().first();
    EXPECT_EQ(clip->group, ClipGroup::link);
    EXPECT_EQ(clip->sourceName(), QStringLiteral("Text Editor"));
    EXPECT_EQ(clip->sourceBundleID(), QStringLiteral("org.gnome.TextEditor"));
    EXPECT_EQ(store->lastAddedID(), clip->id);
    EXPECT_EQ(flashes, 1);
}

TEST_F(StoreCaptureTest, GateDropsWhilePausedAndImagesWhenImagesAreOff)
{
    start();
    store->pause();
    copyText(QStringLiteral("while paused"));
    store->resume();
    settings->setRecordImages(false);
    copy({QStringLiteral("image/png")}, imageContent());
    copyText(QStringLiteral("text still recorded"));
    settings->setRecordImages(true);
    copy({QStringLiteral("image/png")}, imageContent());
    EXPECT_EQ(texts(), (QStringList{"<image>", "text still recorded"}));
    EXPECT_TRUE(store->recentSkips().isEmpty()) << "the gate is not a privacy skip";
}

TEST_F(StoreCaptureTest, WithoutADatabaseNothingIsRecorded)
{
    start(false);
    ASSERT_FALSE(store->hasDatabase());
    copyText(QStringLiteral("lost on purpose"));
    EXPECT_EQ(store->clipCount(), 0);
    EXPECT_EQ(flashes, 0);
}

TEST_F(StoreCaptureTest, OwnCopyBackIsNotRecordedButColourAndQrWritesAre)
{
    start();
    copyText(QStringLiteral("first"));
    clock.advance(60'000);
    copyText(QStringLiteral("second"));
    const ClipRef first = store->clips().last();
    const double before = first->createdAt;

    store->copy(first->id);
    settle();
    EXPECT_EQ(texts(), (QStringList{"second", "first"})) << "copy-back neither adds nor bumps";
    EXPECT_EQ(store->clips().last()->createdAt, before);

    // The inspector's colour rows write the clipboard without recording the change.
    clipboard.writeText(QStringLiteral("#FF8800"));
    settle();
    ASSERT_EQ(store->clipCount(), 3);
    EXPECT_EQ(store->clips().first()->group, ClipGroup::color);
}

TEST_F(StoreCaptureTest, PrivacyVerdictsEndToEnd)
{
    start();
    settings->addExclusion(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"));
    settings->addNameRuleOverride(QStringLiteral("org.example.PasswordGenerator"), QStringLiteral("Password Generator"));

    struct Case {
        std::optional<AppIdentity> app;
        QStringList extra;
        QString reason;
    };
    const AppIdentity keepass{QStringLiteral("org.KeePassXC.KeePassXC"), QStringLiteral("KeePassXC"), 2};
    const AppIdentity generator{QStringLiteral("org.example.PasswordGenerator"), QStringLiteral("Password Generator"), 3};
    const AppIdentity safe{QStringLiteral("org.example.SafeBox"), QStringLiteral("Password Safe Box"), 4};
    const AppIdentity terminal{QStringLiteral("org.gnome.Terminal"), QStringLiteral("Terminal"), 5};
    const Case cases[] = {
        {terminal, {QStringLiteral("x-kde-passwordManagerHint")}, "Hidden content"},
        {keepass, {}, "Password manager"},
        {editor, {}, "Excluded app"},
        {safe, {}, "App name suggests passwords"},
        {generator, {}, ""},
        {terminal, {}, ""},
    };
    int recorded = 0;
    for (const Case &c : cases) {
        window.setFrontmostApp(c.app);
        const qsizetype skipsBefore = store->recentSkips().size();
        copy(QStringList{QStringLiteral("text/plain")} + c.extra, textContent(c.app->name + QStringLiteral(" copy")));
        if (c.reason.isEmpty()) {
            ++recorded;
            EXPECT_EQ(store->clips().first()->sourceName(), c.app->name);
        } else {
            ASSERT_EQ(store->recentSkips().size(), skipsBefore + 1) << c.reason.toStdString();
            EXPECT_EQ(store->recentSkips().first().reason, c.reason);
            EXPECT_EQ(store->recentSkips().first().appName, c.app->name);
        }
        EXPECT_EQ(store->clipCount(), recorded) << c.app->name.toStdString();
    }
}

TEST_F(StoreCaptureTest, RecentSkipsKeepTheNewestTwenty)
{
    start();
    window.setFrontmostApp(std::nullopt);
    copy({QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")}, textContent("s"));
    ASSERT_EQ(store->recentSkips().size(), 1);
    EXPECT_EQ(store->recentSkips().first().appName, QStringLiteral("Unknown app"));

    for (int i = 0; i < 24; ++i) {
        window.setFrontmostApp(AppIdentity{QStringLiteral("app%1").arg(i), QStringLiteral("App %1").arg(i), i});
        copy({QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")}, textContent("s"));
    }
    const QList<SkippedCopy> &skips = store->recentSkips();
    ASSERT_EQ(skips.size(), 20);
    EXPECT_EQ(skips.first().appName, QStringLiteral("App 23"));
    EXPECT_EQ(skips.last().appName, QStringLiteral("App 4"));
    EXPECT_EQ(store->clipCount(), 0);
}

TEST_F(StoreCaptureTest, ACopyStillOnItsWayAtQuitIsSavedAndTheHistoryClosed)
{
    start();
    copyText(QStringLiteral("earlier"));
    // Copied right before quitting: not even polled yet.
    clipboard.setExternal({QStringLiteral("text/plain")}, textContent(QStringLiteral("last words")));
    EXPECT_EQ(store->shutdown(), 0);
    EXPECT_FALSE(store->hasDatabase());
    const QString path = historyPath();
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal"))) << "the log was folded in and removed";
    ClipDatabase reopened(path);
    QStringList saved;
    for (const Clip &clip : reopened.loadClips())
        saved << *clip.text();
    EXPECT_EQ(saved, (QStringList{"last words", "earlier"}));
}

TEST_F(StoreCaptureTest, QuitWaitsForTheCaptureQueueOnlyWithinItsBound)
{
    start();
    clipboard.setExternal({QStringLiteral("text/plain")}, textContent(QString(20 << 20, u'z')));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(store->shutdown(0), 1) << "the unfinished copy is counted";
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(StoreCaptureTest, ADamagedHistoryIsReplacedInTheBackgroundWithAWarning)
{
    ClipDatabase(historyPath()).exec(QStringLiteral("DROP TABLE clips"));
    ClipboardStore::Services services = capturing();
    services.openInBackground = true;
    makeStore(services);
    ASSERT_TRUE(test::processEventsUntil([this] { return store->hasDatabase(); }));
    ASSERT_TRUE(store->notice());
    EXPECT_TRUE(store->notice()->message.contains(QStringLiteral("damaged")));
    copyText(QStringLiteral("saved again"));
    EXPECT_EQ(texts(), QStringList{"saved again"});
}

TEST_F(StoreCaptureTest, TheNewestClipsShowWhileTheHistoryIsCheckedAndEditsWaitForIt)
{
    QList<std::int64_t> written;
    {
        ClipDatabase history(historyPath());
        for (int i = 0; i < 3; ++i)
            written.prepend(history.insert(test::textClip(ClipGroup::text, QStringLiteral("kept %1").arg(i), ago(30 - i))).id);
    }
    ClipboardStore::Services services = capturing();
    services.openInBackground = true;
    makeStore(services);
    struct Seen {
        bool open = false;
        QList<std::int64_t> ids;
        QString newestText;
    };
    QList<Seen> seen;
    QObject::connect(store.get(), &ClipboardStore::clipsChanged, store.get(), [&] {
        seen.append({store->hasDatabase(), test::ids(store->clips()), store->clips().first()->text().value_or(QString())});
    });
    ASSERT_TRUE(test::processEventsUntil([this] { return store->hasDatabase() && !store->isLoading(); }));
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_FALSE(seen.first().open) << "shown before the whole file was checked";
    EXPECT_EQ(seen.first().ids, written);
    EXPECT_EQ(seen.first().newestText, QStringLiteral("kept 2"));
    EXPECT_EQ(test::ids(store->clips()), written);
    // Once open, the same history takes edits and copies.
    store->togglePin(written.last());
    EXPECT_TRUE(store->clip(written.last())->isPinned);
    copyText(QStringLiteral("copied after"));
    EXPECT_EQ(store->clipCount(), 4);
}

TEST_F(StoreCaptureTest, AHeldOpeningChecksTheHistoryOnlyOnceAskedAndNotAfterQuitting)
{
    {
        ClipDatabase history(historyPath());
        for (int i = 0; i < 3; ++i)
            history.insert(test::textClip(ClipGroup::text, QStringLiteral("kept %1").arg(i), ago(30 - i)));
    }
    clipboard.setExternal({QStringLiteral("text/plain")}, textContent(QStringLiteral("copied before the start")));
    ClipboardStore::Services services = capturing();
    services.openInBackground = true;
    services.checkWhenAskedFrom = 0;
    makeStore(services);
    ASSERT_TRUE(test::processEventsUntil([this] { return store->clipCount() == 3; })) << "the first look comes at once";
    QTest::qWait(200);
    EXPECT_FALSE(store->hasDatabase()) << "the whole-file check waits to be asked";

    // A copy made while the history opens is recorded once it is open; the one from before the
    // start is not.
    clipboard.setExternal({QStringLiteral("text/plain")}, textContent(QStringLiteral("copied while it opens")));
    store->continueOpening();
    ASSERT_TRUE(test::processEventsUntil([this] { return store->hasDatabase() && !store->isLoading(); }));
    settle();
    EXPECT_EQ(texts(), (QStringList{"copied while it opens", "kept 2", "kept 1", "kept 0"}));
    copyText(QStringLiteral("copied once open"));
    EXPECT_EQ(store->clipCount(), 5);

    // Quitting before the check leaves the history closed, even when asked afterwards.
    store.reset();
    makeStore(services);
    ASSERT_TRUE(test::processEventsUntil([this] { return store->clipCount() == 5; }));
    store->shutdown(0);
    store->continueOpening();
    QTest::qWait(200);
    EXPECT_FALSE(store->hasDatabase());
    EXPECT_EQ(store->capture(), nullptr);
}

TEST_F(StoreCaptureTest, ADamagedExclusionListIsAWarningForTheUser)
{
    settingsFile->setValue("userExclusions", QStringList{QStringLiteral("firefox"), QStringLiteral("slack")});
    reloadSettings();
    start();
    ASSERT_TRUE(store->notice());
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_TRUE(store->notice()->message.contains(QStringLiteral("userExclusions")));
}

TEST_F(StoreCaptureTest, ALargeImageIsSavedAndCopiedBackAsTheBytesItCameAs)
{
    start();
    const QByteArray png = test::largePng({5000, 4000}, QColor(200, 30, 90), QColor(200, 30, 90));
    ASSERT_FALSE(png.isEmpty());

    ClipboardContent content;
    content.imageData = png;
    copy({QStringLiteral("image/png")}, content);
    ASSERT_EQ(store->clipCount(), 1);
    const ClipRef clip = store->clips().first();
    EXPECT_EQ(clip->imageSize, QSize(5000, 4000));

    store->copy(clip->id);
    ASSERT_FALSE(clipboard.writes().empty());
    EXPECT_EQ(clipboard.writes().back().png, png);
}

TEST_F(StoreCaptureTest, TextWithNulCharactersComesBackWhole)
{
    start();
    const QString withNul = QStringLiteral("before NUL") + QChar(u'\0') + QStringLiteral("after NUL");
    copyText(withNul);
    ASSERT_EQ(store->clipCount(), 1);
    EXPECT_EQ(store->clips().first()->subtitle(), QStringLiteral("20 characters"));
    store->copy(store->clips().first()->id);
    EXPECT_EQ(clipboard.writes().back().text, withNul);
}
