#pragma once

#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "FakeDesktopEntries.h"
#include "FakeLoginItem.h"
#include "TestApplication.h"

#include <QColor>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace corvane::test {

/** A clip of `group` holding `text`, hashed as a capture hashes it, from `source` when given. */
ClipDatabase::NewClip textClip(ClipGroup group, const QString &text, double createdAt, const QString &source = {});

/** A 4×4 PNG of one colour. */
QByteArray pngOf(QColor color);

/** The ids of `clips`, in order. */
QList<std::int64_t> ids(const ClipList &clips);

/**
 * @brief What a store runs on in a test: a private folder holding the settings file and the
 * history, a fake clipboard, desktop entries and login item, and a clock the test moves.
 *
 * Usable on its own in a test body, or through StoreFixture.
 */
class StoreSetup
{
public:
    StoreSetup();
    virtual ~StoreSetup();

    /** Reads the settings anew from the settings file (after a test wrote it). */
    void reloadSettings();
    /** A store's services over these parts and the folder's history, or the file at `databasePath`. */
    ClipboardStore::Services services(const QString &databasePath = {});
    /** Replaces `store` with one over `services(databasePath)`. */
    ClipboardStore &makeStore(const QString &databasePath = {});
    /** Replaces `store` with one over `given`. */
    ClipboardStore &makeStore(const ClipboardStore::Services &given);

    /** What the store writes to: the fake clipboard unless a test needs the real one. */
    virtual ClipboardService *clipboardService() { return &clipboard; }

    /** Seconds since 1970 of the clock's now, minus `secondsAgo`. */
    double ago(double secondsAgo) const;
    /** Writes `clip` straight into the store's history; the store sees it on its next reload. */
    std::int64_t insert(const ClipDatabase::NewClip &clip);
    /** Adds a clip `secondsAgo` before the clock's time; returns its id (no reload). */
    std::int64_t add(ClipGroup group, const QString &text, double secondsAgo, const QString &source = {});
    /** Adds `count` text clips, newest "clip 0", and every `pinEvery`-th one pinned, then reloads. */
    QList<std::int64_t> addMany(int count, int pinEvery = 0);
    /** Adds a text clip (of `group`) and reloads. */
    std::int64_t addText(const QString &text, double secondsAgo = 0, ClipGroup group = ClipGroup::text,
                         const QString &sourceBundleID = {}, const QString &sourceURL = {});
    /** Adds a 4×4 image clip of `png` and reloads. */
    std::int64_t addImage(const QByteArray &png, double secondsAgo = 0);

    QString noticeMessage() const;
    /** The text last written to the fake clipboard. */
    QString clipboardText() const;

    /** What the next makeStore() hands the store. */
    bool loadInBackground = false;

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settingsFile;
    FakeLoginItem loginItem;
    std::unique_ptr<AppSettings> settings;
    FakeClipboardService clipboard;
    FakeClock clock;
    FakeDesktopEntries entries;
    /** The site icons the store asked for ("https://host"), and their answers still to give. */
    QStringList siteIconRequests;
    std::vector<std::function<void(const QImage &)>> pendingSiteIcons;
    std::unique_ptr<ClipboardStore> store;
};

/** @brief A real store over a StoreSetup, made before each test. */
class StoreFixture : public ::testing::Test, public StoreSetup
{
protected:
    void SetUp() override;

    /** Lets a test write the settings file before the settings read it. */
    virtual void prepareSettings(QSettings &) { }
};

} // namespace corvane::test
