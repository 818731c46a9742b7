#include "AppSettings.h"
#include "SettingsFile.h"
#include "QtPrinters.h"
#include "fakes/FakeLoginItem.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

namespace corvane::test {
namespace {

class AppSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    /** Settings as a fresh start of the app would read them from the file. */
    std::unique_ptr<AppSettings> open()
    {
        file = std::make_unique<QSettings>(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
        return std::make_unique<AppSettings>(file.get(), &loginItem);
    }

    QVariant stored(const char *key)
    {
        return QSettings(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat).value(key);
    }

    void store(const char *key, const QVariant &value)
    {
        QSettings settings(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
        settings.setValue(key, value);
    }

    QTemporaryDir dir;
    FakeLoginItem loginItem;
    std::unique_ptr<QSettings> file;
};

TEST_F(AppSettingsTest, DefaultsOfAnEmptyFile)
{
    const auto settings = open();
    EXPECT_EQ(settings->storageLimit(), 1'000'000'000);
    EXPECT_TRUE(settings->recordImages());
    EXPECT_FALSE(settings->finderImagesAsImages());
    EXPECT_TRUE(settings->photoGridEnabled());
    EXPECT_TRUE(settings->autoShowPreview());
    EXPECT_TRUE(settings->animateMenuBarIcon());
    EXPECT_TRUE(settings->internetPreviewsEnabled());
    EXPECT_FALSE(settings->intelligenceEnabled());
    EXPECT_FALSE(settings->showSummariesInList());
    EXPECT_TRUE(settings->userExclusions().isEmpty());
    EXPECT_TRUE(settings->keptSources().isEmpty());
    EXPECT_TRUE(settings->problems().isEmpty());
}

TEST_F(AppSettingsTest, DamagedSwitchesFallBackToTheirDefaults)
{
    // QVariant would read any other text as true, which would switch on what is off by default.
    for (const char *key : {"recordImages", "finderImagesAsImages", "intelligenceEnabled"})
        store(key, QStringLiteral("garbage"));
    store("photoGridEnabled", QStringLiteral("false"));
    const auto settings = open();
    EXPECT_TRUE(settings->recordImages());
    EXPECT_FALSE(settings->finderImagesAsImages());
    EXPECT_FALSE(settings->intelligenceEnabled());
    EXPECT_FALSE(settings->photoGridEnabled());
}

TEST_F(AppSettingsTest, EachChangeIsWrittenAtOnceUnderItsNameAndOnlyRealChangesNotify)
{
    auto settings = open();
    QSignalSpy spy(settings.get(), &AppSettings::photoGridEnabledChanged);
    settings->setPhotoGridEnabled(true); // already the default
    EXPECT_EQ(spy.count(), 0);
    settings->setPhotoGridEnabled(false);
    EXPECT_EQ(spy.count(), 1);
    settings->setStorageLimit(5'000'000'000);
    settings->setHiddenSources({QStringLiteral("web:example.com"), QStringLiteral("firefox")});
    settings->setDidShowWelcomeTour(true);

    EXPECT_EQ(stored("photoGridEnabled").toBool(), false);
    EXPECT_EQ(stored("storageLimit").toLongLong(), 5'000'000'000);
    EXPECT_EQ(stored("didShowWelcomeTour.v2").toBool(), true);
    settings = open();
    EXPECT_FALSE(settings->photoGridEnabled());
    EXPECT_EQ(settings->hiddenSources(), (QStringList{QStringLiteral("web:example.com"), QStringLiteral("firefox")}));
}

TEST_F(AppSettingsTest, AStoredLimitThatIsNoPresetBecomesTheDefault)
{
    const struct {
        QVariant stored;
        std::int64_t expected;
    } cases[] = {
        {QVariant(), 1'000'000'000},
        {QStringLiteral("garbage"), 1'000'000'000},
        {0, 1'000'000'000},
        {-5, 1'000'000'000},
        {123, 1'000'000'000},
        {QStringLiteral("250000000"), 250'000'000},
        {qint64(2'000'000'000), 2'000'000'000},
    };
    for (const auto &c : cases) {
        store("storageLimit", c.stored);
        EXPECT_EQ(open()->storageLimit(), c.expected) << c.stored.toString().toStdString();
    }
    auto settings = open();
    settings->setStorageLimit(300'000'000);
    EXPECT_EQ(settings->storageLimit(), 250'000'000);
}

TEST_F(AppSettingsTest, DamagedExclusionsAreKeptAsStoredAndReported)
{
    const QString damaged
        = QStringLiteral(R"([{"bundleID":"firefox","name":"Firefox"},{"bundleID":"org.gnome.Terminal","name":"Term)");
    store("userExclusions", damaged);
    auto settings = open();

    // What can be read still excludes; the stored text is not rewritten behind the user's back.
    EXPECT_EQ(settings->userExclusionIDs(), QStringList{QStringLiteral("firefox")});
    ASSERT_EQ(settings->problems().size(), 1);
    EXPECT_TRUE(settings->problems().first().contains(QStringLiteral("userExclusions")));
    settings->removeExclusion(QStringLiteral("not-there"));
    EXPECT_EQ(stored("userExclusions").toString(), damaged);

    QSignalSpy problems(settings.get(), &AppSettings::problemsChanged);
    settings->addExclusion(QStringLiteral("slack"), QStringLiteral("Slack"));
    EXPECT_EQ(problems.count(), 1);
    EXPECT_TRUE(settings->problems().isEmpty());
    EXPECT_EQ(open()->userExclusionIDs(), (QStringList{QStringLiteral("firefox"), QStringLiteral("slack")}));
}

TEST_F(AppSettingsTest, ExclusionsRefuseProtectedAndDuplicateIds)
{
    auto settings = open();
    settings->addExclusion(QStringLiteral("org.KeePassXC.KeePassXC"), QStringLiteral("KeePassXC"));
    settings->addExclusion(QStringLiteral("firefox"), QStringLiteral("Firefox"));
    settings->addExclusion(QStringLiteral("slack"), QStringLiteral("Slack"));
    settings->addExclusion(QStringLiteral("firefox"), QStringLiteral("Firefox again"));
    EXPECT_EQ(settings->userExclusions(),
              (QList<ExcludedApp>{{QStringLiteral("firefox"), QStringLiteral("Firefox")},
                                  {QStringLiteral("slack"), QStringLiteral("Slack")}}));

    settings->setUserExclusions(settings->userExclusions() << ExcludedApp{QStringLiteral("firefox"), QStringLiteral("dup")});
    settings->removeExclusion(QStringLiteral("firefox"));
    EXPECT_EQ(open()->userExclusionIDs(), QStringList{QStringLiteral("slack")});
}

TEST_F(AppSettingsTest, NameRuleOverridesHaveNoProtectionCheck)
{
    auto settings = open();
    settings->addNameRuleOverride(QStringLiteral("1password"), QStringLiteral("1Password"));
    settings->addNameRuleOverride(QStringLiteral("1password"), QStringLiteral("again"));
    EXPECT_EQ(settings->nameRuleOverrideIDs(), QStringList{QStringLiteral("1password")});
    settings->removeNameRuleOverride(QStringLiteral("1password"));
    EXPECT_TRUE(open()->nameRuleOverrides().isEmpty());
}

TEST_F(AppSettingsTest, LaunchAtLoginNotifiesAfterEveryAttemptAndReportsTheRealState)
{
    auto settings = open();
    QSignalSpy spy(settings.get(), &AppSettings::launchAtLoginChanged);
    settings->setLaunchAtLogin(true);
    EXPECT_TRUE(settings->launchAtLogin());
    EXPECT_EQ(spy.count(), 1);

    loginItem.failNextWith(QStringLiteral("read-only autostart folder"));
    settings->setLaunchAtLogin(false);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(settings->launchAtLogin());
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

TEST_F(AppSettingsTest, ExclusionsThatAreNoTextAtAllAreReportedNotSilentlyEmpty)
{
    // Written as a list (by hand, or by another tool), the value is no JSON text at all.
    store("userExclusions", QStringList{QStringLiteral("firefox"), QStringLiteral("slack")});
    auto settings = open();
    EXPECT_TRUE(settings->userExclusionIDs().isEmpty());
    ASSERT_EQ(settings->problems().size(), 1);
    EXPECT_TRUE(settings->problems().first().contains(QStringLiteral("userExclusions")));
}

TEST(SettingsFile, AnUnreadableFileIsKeptAsideByteForByteAndTheNewOneIsPrivate)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("config/Corvane"));
    const QString path = folder + QStringLiteral("/Corvane.conf");
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    const QByteArray garbage("\x01\x02 not settings \x00 at all", 23);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();

    const std::optional<QString> message = SettingsFile::prepare(path);
    ASSERT_TRUE(message);
    const QStringList kept = QDir(folder).entryList({QStringLiteral("Corvane.unreadable-*.conf")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(message->contains(kept.first())) << message->toStdString();
    QFile keptFile(QDir(folder).filePath(kept.first()));
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), garbage);

    struct stat info { };
    ::stat(QFile::encodeName(folder).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue("recordImages", false);
    settings.sync();
    ::stat(QFile::encodeName(path).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "still private after Qt rewrote it";

    EXPECT_FALSE(SettingsFile::prepare(path)) << "a readable file stays where it is";
}

} // namespace
} // namespace corvane::test
