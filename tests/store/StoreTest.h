#pragma once

#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "FakeDesktopEntries.h"

#include <QBuffer>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace corvane::test {

/** A store over a temporary database, a fake clipboard, fake desktop entries and a fake clock. */
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        settingsFile = std::make_unique<QSettings>(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
        prepareSettings(*settingsFile);
        settings = std::make_unique<AppSettings>(settingsFile.get(), nullptr);
        makeStore();
    }

    /** Lets a test write the settings file before the settings read it. */
    virtual void prepareSettings(QSettings &) {}

    void makeStore(QString databasePath = {})
    {
        ClipboardStore::Services services;
        services.settings = settings.get();
        services.clipboard = &clipboard;
        services.clock = &clock;
        services.desktopEntries = &entries;
        services.databasePath = databasePath.isEmpty() ? dir.filePath(QStringLiteral("history.sqlite")) : databasePath;
        services.timeZone = QTimeZone::utc();
        services.loadInBackground = loadInBackground;
        services.siteIcons = [this](const QString &host, const QString &scheme, std::function<void(const QImage &)> done) {
            siteIconRequests.append(scheme + QStringLiteral("://") + host);
            pendingSiteIcons.push_back(std::move(done));
        };
        store = std::make_unique<ClipboardStore>(services);
    }

    /** What the next makeStore() hands the store. */
    bool loadInBackground = false;

    /** Seconds since 1970 of the fake clock's now, minus `secondsAgo`. */
    double ago(double secondsAgo) const { return clock.now().toMSecsSinceEpoch() / 1000.0 - secondsAgo; }

    std::int64_t addText(const QString &text, double secondsAgo = 0, ClipGroup group = ClipGroup::text,
                         const QString &sourceBundleID = {}, const QString &sourceURL = {})
    {
        ClipDatabase::NewClip clip;
        clip.group = group;
        clip.text = text;
        clip.createdAt = ago(secondsAgo);
        clip.byteSize = text.toUtf8().size();
        clip.hash = ClipGroups::rawValue(group) + QLatin1Char('\n') + text;
        if (!sourceBundleID.isEmpty()) {
            clip.sourceBundleID = sourceBundleID;
            clip.sourceName = sourceBundleID;
        }
        if (!sourceURL.isEmpty())
            clip.sourceURL = sourceURL;
        const std::int64_t id = store->database()->insert(clip).id;
        store->reload();
        return id;
    }

    std::int64_t addImage(const QByteArray &png, double secondsAgo = 0)
    {
        ClipDatabase::NewClip clip;
        clip.group = ClipGroup::image;
        clip.image = png;
        clip.thumbnail = png;
        clip.imageSize = QSize(4, 4);
        clip.byteSize = png.size();
        clip.createdAt = ago(secondsAgo);
        clip.hash = QStringLiteral("image\n") + QString::fromLatin1(png.toHex()) + QString::number(secondsAgo);
        const std::int64_t id = store->database()->insert(clip).id;
        store->reload();
        return id;
    }

    static QByteArray pngOf(QColor color)
    {
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(color);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return png;
    }

    QList<std::int64_t> ids(const ClipList &clips) const
    {
        QList<std::int64_t> result;
        for (const ClipRef &clip : clips)
            result.append(clip->id);
        return result;
    }

    QString noticeMessage() const { return store->notice() ? store->notice()->message : QString(); }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settingsFile;
    std::unique_ptr<AppSettings> settings;
    FakeClock clock;
    FakeClipboardService clipboard;
    FakeDesktopEntries entries;
    QStringList siteIconRequests;
    std::vector<std::function<void(const QImage &)>> pendingSiteIcons;
    std::unique_ptr<ClipboardStore> store;
};

} // namespace corvane::test
