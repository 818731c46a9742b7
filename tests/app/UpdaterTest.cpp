#include "LocalHttpServer.h"
#include "TestApp.h"
#include "TestZip.h"
#include "UpdateFeed.h"
#include "UpdateInstaller.h"
#include "Updater.h"
#include "ZipArchive.h"

#include "FakeClock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const QByteArray kProgram = "#!/bin/sh\necho new\n";

QByteArray feedJson(qulonglong build, const QUrl &url, const QByteArray &archive)
{
    return QJsonDocument(QJsonObject{
                             {QStringLiteral("version"), QStringLiteral("2.0")},
                             {QStringLiteral("build"), QString::number(build)},
                             {QStringLiteral("url"), url.toString()},
                             {QStringLiteral("sha256"),
                              QString::fromLatin1(QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex())},
                             {QStringLiteral("notes"), QStringLiteral("<b>Faster</b> search")},
                         })
        .toJson();
}

QByteArray goodArchive()
{
    return makeZip(
        {{"Corvane/", {}, 040755}, {"Corvane/corvane", kProgram, 0100755, true}, {"Corvane/README", "read me", 0100644}});
}

} // namespace

TEST(UpdateFeed, ReadsOrRefusesFeeds)
{
    const QByteArray sha(64, 'a');
    struct Case {
        const char *name;
        QByteArray json;
        bool loopback;
        bool ok;
    };
    const Case cases[] = {
        {"valid", R"({"version":"2.0","build":"12","url":"https://example.org/c.zip","sha256":")" + sha + R"(","notes":"n"})",
         false, true},
        {"numeric build", R"({"version":"2.0","build":12,"url":"https://example.org/c.zip","sha256":")" + sha + R"("})", false,
         true},
        {"not json", "<html>", false, false},
        {"build not a number", R"({"version":"2.0","build":"12a","url":"https://example.org/c.zip","sha256":")" + sha + R"("})",
         false, false},
        {"http refused", R"({"version":"2.0","build":"12","url":"http://example.org/c.zip","sha256":")" + sha + R"("})", false,
         false},
        {"http elsewhere refused even for tests",
         R"({"version":"2.0","build":"12","url":"http://example.org/c.zip","sha256":")" + sha + R"("})", true, false},
        {"http loopback for tests",
         R"({"version":"2.0","build":"12","url":"http://127.0.0.1:9/c.zip","sha256":")" + sha + R"("})", true, true},
        {"file url refused", R"({"version":"2.0","build":"12","url":"file:///tmp/c.zip","sha256":")" + sha + R"("})", true,
         false},
        {"short checksum", R"({"version":"2.0","build":"12","url":"https://example.org/c.zip","sha256":"abcd"})", false, false},
        {"checksum not hex",
         R"({"version":"2.0","build":"12","url":"https://example.org/c.zip","sha256":")" + QByteArray(64, 'z') + R"("})", false,
         false},
    };
    for (const Case &c : cases) {
        const FeedResult result = parseFeed(c.json, UrlPolicy{c.loopback});
        EXPECT_EQ(result.release.has_value(), c.ok) << c.name << ": " << result.error.toStdString();
        EXPECT_EQ(result.error.isEmpty(), c.ok) << c.name;
    }
}

TEST(UpdateFeed, ComparesBuildsAsNumbers)
{
    EXPECT_TRUE(isNewerBuild(10, QStringLiteral("9"))); // "10" < "9" as text
    EXPECT_FALSE(isNewerBuild(9, QStringLiteral("10")));
    EXPECT_FALSE(isNewerBuild(7, QStringLiteral("7")));
    EXPECT_TRUE(isNewerBuild(2, QStringLiteral(""))); // a missing build counts as 1
}

TEST(ZipArchive, RefusesUnsafeEntriesAndWritesNothing)
{
    struct Case {
        const char *name;
        ZipItem item;
    };
    const Case cases[] = {
        {"parent folder", {"Corvane/../../escaped", "x"}},
        {"absolute", {"/tmp/escaped", "x"}},
        {"backslash parent", {"Corvane\\..\\..\\escaped", "x"}},
        {"symbolic link", {"Corvane/link", "/etc/passwd", 0120777}},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        ZipArchive zip;
        ASSERT_TRUE(zip.open(makeZip({{"Corvane/ok", "fine"}, c.item}))) << c.name;
        EXPECT_FALSE(zip.extractTo(dir.filePath(QStringLiteral("out")))) << c.name;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out/Corvane/ok")))) << c.name;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("escaped")))) << c.name;
    }
}

TEST(ZipArchive, UnpacksStoredAndDeflatedEntriesWithExecutableBits)
{
    QTemporaryDir dir;
    ZipArchive zip;
    ASSERT_TRUE(zip.open(goodArchive()));
    ASSERT_TRUE(zip.extractTo(dir.path())) << zip.error().toStdString();
    QFile program(dir.filePath(QStringLiteral("Corvane/corvane")));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    EXPECT_EQ(program.readAll(), kProgram);
    EXPECT_TRUE(program.permissions() & QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo(dir.filePath(QStringLiteral("Corvane/README"))).isExecutable());
}

TEST(ZipArchive, RejectsDamagedData)
{
    ZipArchive zip;
    EXPECT_FALSE(zip.open("not a zip at all, just some text that is long enough"));
    QByteArray archive = goodArchive();
    archive[40] = char(archive[40] ^ 0x55); // inside the first file's data
    ASSERT_TRUE(zip.open(archive));
    QTemporaryDir dir;
    EXPECT_FALSE(zip.extractTo(dir.path()));
}

// The application must exist before the server's socket is made.
struct WithApp {
    WithApp() { testApp(); }
};

class UpdaterAgainstFeed : public ::testing::Test, private WithApp
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        install = root.filePath(QStringLiteral("Corvane"));
        QDir().mkpath(install);
        QFile old(QDir(install).filePath(QStringLiteral("corvane")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }

    Updater::Options options() const
    {
        return {server.url(QStringLiteral("/feed.json")), QStringLiteral("7"), install, QStringLiteral("corvane"),
                UrlPolicy{true}};
    }

    QByteArray installedProgram() const
    {
        QFile file(QDir(install).filePath(QStringLiteral("corvane")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    LocalHttpServer server;
    FakeClock clock;
    QTemporaryDir root;
    QString install;
};

TEST_F(UpdaterAgainstFeed, ReportsTheOutcomeOfACheck)
{
    struct Case {
        const char *name;
        QByteArray feed;
        Updater::Outcome outcome;
    };
    const QUrl archive = server.url(QStringLiteral("/c.zip"));
    const Case cases[] = {
        {"newer build", feedJson(12, archive, goodArchive()), Updater::Outcome::updateAvailable},
        {"same build", feedJson(7, archive, goodArchive()), Updater::Outcome::upToDate},
        {"older build", feedJson(3, archive, goodArchive()), Updater::Outcome::upToDate},
        {"bad json", "{\"version\": ", Updater::Outcome::failed},
    };
    for (const Case &c : cases) {
        server.setBody(QStringLiteral("/feed.json"), c.feed);
        Updater updater(options(), clock);
        QSignalSpy finished(&updater, &Updater::checkFinished);
        updater.check(true);
        ASSERT_TRUE(finished.wait(5000)) << c.name;
        EXPECT_EQ(finished.at(0).at(0).value<Updater::Outcome>(), c.outcome) << c.name;
        EXPECT_TRUE(finished.at(0).at(3).toBool()) << c.name;
    }
}

TEST_F(UpdaterAgainstFeed, WithoutAFeedAddressSaysSoAndNeverSchedules)
{
    Updater::Options none = options();
    none.feedUrl = QUrl();
    Updater updater(none, clock);
    updater.start();
    EXPECT_EQ(clock.pendingCount(), 0);
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.check(true);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.at(0).at(0).value<Updater::Outcome>(), Updater::Outcome::notConfigured);
}

TEST_F(UpdaterAgainstFeed, ChecksTwentySecondsAfterStartThenEverySixHours)
{
    server.setBody(QStringLiteral("/feed.json"), feedJson(7, server.url(QStringLiteral("/c.zip")), goodArchive()));
    Updater updater(options(), clock);
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.start();
    clock.advance(19'999);
    EXPECT_EQ(server.requests, 0);
    clock.advance(1);
    ASSERT_TRUE(finished.wait(5000));
    clock.advance(6 * 3600 * 1000 - 1);
    EXPECT_EQ(finished.size(), 1);
    clock.advance(1);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(server.requests, 2);
    EXPECT_FALSE(finished.at(0).at(3).toBool()); // background checks are not user-initiated
}

TEST_F(UpdaterAgainstFeed, InstallsOnlyAVerifiedSafeArchive)
{
    struct Case {
        const char *name;
        QByteArray served;
        QByteArray claimed;
        bool ok;
    };
    const QByteArray good = goodArchive();
    const QByteArray escaping = makeZip({{"Corvane/corvane", kProgram, 0100755}, {"Corvane/../../evil", "x"}});
    const Case cases[] = {
        {"wrong sha256", good, goodArchive() + "tampered", false},
        {"entry with ..", escaping, escaping, false},
        {"good archive", good, good, true},
    };
    for (const Case &c : cases) {
        server.setBody(QStringLiteral("/c.zip"), c.served);
        Release release;
        release.version = QStringLiteral("2.0");
        release.build = 12;
        release.url = server.url(QStringLiteral("/c.zip"));
        release.sha256 = QCryptographicHash::hash(c.claimed, QCryptographicHash::Sha256);
        Updater updater(options(), clock);
        QSignalSpy finished(&updater, &Updater::installFinished);
        updater.install(release);
        ASSERT_TRUE(finished.wait(5000)) << c.name;
        EXPECT_EQ(finished.at(0).at(0).toBool(), c.ok) << c.name << ": " << finished.at(0).at(1).toString().toStdString();
        EXPECT_EQ(installedProgram(), c.ok ? kProgram : QByteArray("old")) << c.name;
        EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("evil")))) << c.name;
        // No half-unpacked staging folder stays behind.
        const QStringList left = QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        EXPECT_TRUE(left.filter(QStringLiteral(".update-")).isEmpty()) << c.name;
    }
    EXPECT_TRUE(QFile::exists(install + QStringLiteral(".previous/corvane")));
}

TEST_F(UpdaterAgainstFeed, RefusesAPlainHttpDownloadOutsideTests)
{
    Updater::Options strict = options();
    strict.policy = UrlPolicy{false};
    Updater updater(strict, clock);
    Release release;
    release.url = server.url(QStringLiteral("/c.zip"));
    QSignalSpy finished(&updater, &Updater::installFinished);
    updater.install(release);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_EQ(server.requests, 0);
}

TEST(UpdateInstaller, TreatsOnlyUserOwnedFoldersAsPortable)
{
    QTemporaryDir dir;
    EXPECT_TRUE(UpdateInstaller::isPortableInstall(dir.path()));
    EXPECT_FALSE(UpdateInstaller::isPortableInstall(QStringLiteral("/usr/bin")));
    EXPECT_FALSE(UpdateInstaller::isPortableInstall(dir.filePath(QStringLiteral("missing"))));
}
