#pragma once

#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "FakeDesktopEntries.h"
#include "FakeLoginItem.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace corvane::test {

inline void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ui_tests";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

/** @brief A real store over a temporary database, a fake clipboard and a clock the test moves. */
class StoreFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        ASSERT_TRUE(dir.isValid());
        qsettings = std::make_unique<QSettings>(dir.filePath("settings.ini"), QSettings::IniFormat);
        settings = std::make_unique<AppSettings>(qsettings.get(), &loginItem);
        ClipboardStore::Services services;
        services.settings = settings.get();
        services.clipboard = clipboardService();
        services.clock = &clock;
        services.desktopEntries = &entries;
        services.databasePath = dir.filePath("history.sqlite");
        services.timeZone = QTimeZone::utc();
        services.siteIcons = [](const QString &, const QString &, auto) {};
        store = std::make_unique<ClipboardStore>(services);
    }

    /** What the store writes to: the fake clipboard unless a test needs the real one. */
    virtual ClipboardService *clipboardService() { return &clipboard; }

    /** Adds a clip `secondsAgo` before the clock's time; returns its id (no reload). */
    std::int64_t add(ClipGroup group, const QString &text, double secondsAgo, const QString &source = {})
    {
        ClipDatabase::NewClip c;
        c.group = group;
        c.text = text;
        c.byteSize = text.toUtf8().size();
        c.createdAt = clock.now().toMSecsSinceEpoch() / 1000.0 - secondsAgo;
        c.hash = ClipGroups::rawValue(group) + u'\n' + text;
        if (!source.isEmpty()) {
            c.sourceBundleID = source;
            c.sourceName = source;
        }
        return store->database()->insert(c).id;
    }

    /** Adds `count` text clips, newest "clip 0", and every `pinEvery`-th one pinned. */
    QList<std::int64_t> addMany(int count, int pinEvery = 0)
    {
        QList<std::int64_t> ids;
        for (int i = 0; i < count; ++i) {
            const auto id = add(ClipGroup::text, QStringLiteral("clip %1").arg(i), 60.0 * (i + 1));
            ids << id;
            if (pinEvery > 0 && i % pinEvery == pinEvery - 1)
                store->database()->setPinned(id, true, clock.now().toMSecsSinceEpoch() / 1000.0 - i);
        }
        store->reload();
        return ids;
    }

    QString clipboardText() const
    {
        return clipboard.writes().empty() ? QString() : clipboard.writes().back().text;
    }

    QTemporaryDir dir;
    FakeLoginItem loginItem;
    FakeClipboardService clipboard;
    FakeClock clock;
    FakeDesktopEntries entries;
    std::unique_ptr<QSettings> qsettings;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<ClipboardStore> store;
};

} // namespace corvane::test
