#include "GeneralSettingsController.h"
#include "SettingsHost.h"
#include "StoreFixture.h"

#include <QSignalSpy>

#include <sqlite3.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr std::int64_t MB = 1'000'000;

class GeneralSettingsControllerTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        controller.setStore(store.get());
    }

    /** A clip of `bytes` bytes, `minutesAgo` old; pinned or tagged as asked. */
    std::int64_t addSized(const QString &text, std::int64_t bytes, int minutesAgo, bool pinned = false, int tags = 0,
                          ClipGroup group = ClipGroup::text)
    {
        ClipDatabase::NewClip c = textClip(group, text, ago(60.0 * minutesAgo));
        c.byteSize = bytes;
        const auto id = insert(c);
        if (pinned)
            store->database()->setPinned(id, true, c.createdAt);
        if (tags)
            store->database()->setTags(id, tags);
        return id;
    }

    QStringList loadedTexts() const
    {
        QStringList texts;
        for (const auto &clip : store->clips())
            texts << clip->text().value_or(QString());
        return texts;
    }

    /** Runs SQL on a second connection, as another program (or a broken disk) would. */
    void execElsewhere(const char *sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(store->database()->path()).constData(), &db);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    GeneralSettingsController controller;
};

TEST_F(GeneralSettingsControllerTest, ASmallerPresetPrunesTheOldestUnpinnedUntaggedClipsAndRefreshesTheUsage)
{
    addSized("oldest", 100 * MB, 50);
    addSized("older", 100 * MB, 40);
    addSized("pinned", 300 * MB, 35, true);
    addSized("tagged", 300 * MB, 30, false, 1);
    addSized("newer", 100 * MB, 20);
    addSized("newest", 100 * MB, 10);
    store->reload();
    ASSERT_EQ(controller.storageUsedText(), "1 GB");

    QSignalSpy pruned(&controller, &GeneralSettingsController::pruneFinished);
    controller.setStoragePresetIndex(0); // 250 MB
    EXPECT_EQ(settings->storageLimit(), 250 * MB);
    EXPECT_TRUE(controller.busy());
    ASSERT_TRUE(pruned.wait(5000));
    EXPECT_TRUE(pruned.first().first().toBool());
    EXPECT_FALSE(controller.busy());
    // Pinned and tagged clips neither count nor go, so the usage stays above the limit.
    EXPECT_EQ(loadedTexts(), (QStringList{"newest", "newer", "tagged", "pinned"}));
    EXPECT_EQ(controller.storageUsedText(), "800 MB");
    EXPECT_EQ(controller.storagePresetIndex(), 0);
}

TEST_F(GeneralSettingsControllerTest, TheLimitAsFirstSeenAndTheSamePresetAgainPruneNothing)
{
    controller.setStore(nullptr);
    settings->setStorageLimit(250 * MB);
    addSized("a", 200 * MB, 30);
    addSized("b", 200 * MB, 20);
    store->reload();
    GeneralSettingsController fresh;
    fresh.setStore(store.get());
    QSignalSpy pruned(&fresh, &GeneralSettingsController::pruneFinished);
    fresh.setStoragePresetIndex(0);
    fresh.onStorageLimitChanged(250 * MB, 250 * MB);
    EXPECT_FALSE(fresh.busy());
    EXPECT_FALSE(pruned.wait(200));
    EXPECT_EQ(store->clipCount(), 2);
}

TEST_F(GeneralSettingsControllerTest, ClearingKeepsPinnedAndTaggedClipsAndDropsPreviewsNoClipHolds)
{
    addSized("https://kept.example", 30, 30, true, 0, ClipGroup::link);
    addSized("https://gone.example", 30, 20, false, 0, ClipGroup::link);
    addSized("tagged", 10, 15, false, 4);
    addSized("plain zebra-7f3e-secret", 10, 10);
    store->database()->saveLinkPreview({QStringLiteral("Kept"), {}, {}, {}}, "https://kept.example");
    store->database()->saveLinkPreview({QStringLiteral("Gone"), {}, {}, {}}, "https://gone.example");
    store->reload();

    QSignalSpy cleared(&controller, &GeneralSettingsController::clearFinished);
    controller.clearHistory();
    ASSERT_TRUE(cleared.wait(5000));
    EXPECT_TRUE(cleared.first().at(0).toBool());
    EXPECT_EQ(loadedTexts(), (QStringList{"tagged", "https://kept.example"}));
    EXPECT_TRUE(store->database()->linkPreview("https://kept.example"));
    EXPECT_FALSE(store->database()->linkPreview("https://gone.example"));
    // Cleared text leaves neither the file's free pages nor the write-ahead log.
    for (const QString &file : {store->database()->path(), store->database()->path() + "-wal"}) {
        QFile bytes(file);
        if (bytes.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(bytes.readAll().contains("zebra-7f3e-secret")) << file.toStdString();
        }
    }
}

TEST_F(GeneralSettingsControllerTest, AFailedClearOrPruneStillReloadsAndWarns)
{
    addSized("old", 300 * MB, 20);
    store->reload();
    execElsewhere("CREATE TRIGGER refuse BEFORE DELETE ON clips BEGIN SELECT RAISE(ABORT, 'disk says no'); END;");
    addSized("arrived meanwhile", 10, 1); // only a reload shows it

    QSignalSpy cleared(&controller, &GeneralSettingsController::clearFinished);
    controller.clearHistory();
    ASSERT_TRUE(cleared.wait(5000));
    EXPECT_FALSE(cleared.first().at(0).toBool());
    EXPECT_EQ(cleared.first().at(1).toString(), "disk says no");
    EXPECT_EQ(store->clipCount(), 2);
    ASSERT_TRUE(store->notice());
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_EQ(store->notice()->message, "Couldn’t clear the history: disk says no");

    QSignalSpy pruned(&controller, &GeneralSettingsController::pruneFinished);
    controller.setStoragePresetIndex(0);
    ASSERT_TRUE(pruned.wait(5000));
    EXPECT_FALSE(pruned.first().first().toBool());
    EXPECT_EQ(store->notice()->message, "Couldn’t remove old clips: disk says no");
    EXPECT_EQ(store->clipCount(), 2);
}

TEST_F(GeneralSettingsControllerTest, WithoutADatabaseClearAndLimitChangesStillFinish)
{
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ClipboardStore noDatabase(services(dir.filePath("not-a-folder/history.sqlite")));
    ASSERT_FALSE(noDatabase.hasDatabase());
    GeneralSettingsController detached;
    detached.setStore(&noDatabase);
    QSignalSpy cleared(&detached, &GeneralSettingsController::clearFinished);
    QSignalSpy pruned(&detached, &GeneralSettingsController::pruneFinished);
    detached.clearHistory();
    detached.setStoragePresetIndex(4);
    ASSERT_TRUE(pruned.wait(5000));
    ASSERT_EQ(cleared.size(), 1);
    EXPECT_TRUE(cleared.first().at(0).toBool());
}

TEST_F(GeneralSettingsControllerTest, ThePauseSwitchPausesWithoutEndAndResumes)
{
    store->pause(600);
    controller.setPaused(true);
    EXPECT_TRUE(controller.isPaused());
    EXPECT_FALSE(store->pauseEnd().isValid());
    clock.advance(700'000);
    EXPECT_TRUE(store->isPaused()) << "the ten-minute resume was replaced";
    QSignalSpy changed(&controller, &GeneralSettingsController::isPausedChanged);
    controller.setPaused(false);
    EXPECT_FALSE(store->isPaused());
    EXPECT_EQ(changed.size(), 1);
}

TEST(GeneralSettingsTexts, PresetsFootersVersionAndKeyNotes)
{
    QStringList labels;
    for (const QVariant &preset : GeneralSettingsController::storagePresets())
        labels << preset.toMap().value("label").toString();
    EXPECT_EQ(labels, (QStringList{"250 MB", "500 MB", "1 GB", "2 GB", "5 GB"}));

    using A = IntelligenceService::Availability;
    const QString linux = "Summaries and smart titles need an on-device language model, which this system does not provide.";
    for (A reason : {A::deviceNotEligible, A::notEnabled, A::modelNotReady, A::other})
        EXPECT_EQ(GeneralSettingsController::availabilityFooter(reason), linux);
    EXPECT_TRUE(GeneralSettingsController::availabilityFooter(A::available).startsWith("Runs entirely on this computer."));
    EXPECT_FALSE(GeneralSettingsController::summariesAvailable());

    EXPECT_EQ(GeneralSettingsController::versionText("42"), "Version 1.00 Beta (42)");

    EXPECT_TRUE(GeneralSettingsController::keycapNote(HotKeyStatus::registered).isEmpty());
    EXPECT_TRUE(GeneralSettingsController::keycapNote(HotKeyStatus::heldByOtherClient).contains("Another program"));
    EXPECT_TRUE(GeneralSettingsController::keycapNote(HotKeyStatus::unavailable).contains("corvane --toggle"));

    SettingsHost host({"7", nullptr, nullptr, {}, {}});
    GeneralSettingsController controller;
    controller.setHost(&host);
    QSignalSpy keyChanged(&controller, &GeneralSettingsController::keyChanged);
    host.setShowWindowKey("Super+Shift+V", HotKeyStatus::heldByOtherClient);
    EXPECT_EQ(keyChanged.size(), 1);
    EXPECT_EQ(controller.keycapText(), "Super+Shift+V");
    EXPECT_FALSE(controller.keycapNote().isEmpty());
    EXPECT_EQ(controller.versionText(), "Version 1.00 Beta (7)");
}

} // namespace
