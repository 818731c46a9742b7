// The real corvane meeting faults that only show with real processes and files: two starts at
// once, quitting in the middle of a large copy, a damaged history, a garbage settings file.
#include "CorvaneProcess.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <sqlite3.h>

#include <memory>
#include <vector>
#include <sys/stat.h>

namespace {

using namespace corvane::test;

/** One integer from the file at `path` on a read-only connection; -1 when that fails. */
std::int64_t queryInt(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    std::int64_t value = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

int modeOf(const QString &path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

class CorvaneData : public Corvane
{
protected:
    void TearDown() override
    {
        owner.kill();
        owner.waitForFinished(5000);
        Corvane::TearDown();
    }

    QString history() const { return home.filePath(QStringLiteral("data/Corvane/history.sqlite")); }

    /** Another program copies `bytes` (as text unless `type` says otherwise) and serves them. */
    void copy(const QByteArray &bytes, const QString &type = {})
    {
        owner.kill();
        owner.waitForFinished(5000);
        QFile file(home.filePath(QStringLiteral("clip.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        owner.setProcessEnvironment(env);
        QStringList args{QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                         QStringLiteral("-i"), file.fileName()};
        if (!type.isEmpty())
            args << QStringLiteral("-t") << type;
        owner.start(QStringLiteral("xclip"), args);
        ASSERT_TRUE(owner.waitForStarted());
    }

    /** Rows in the history file alone, as a backup of just that file would hold them. */
    std::int64_t rowsInMainFileOnly(const char *sql)
    {
        const QString alone = home.filePath(QStringLiteral("alone.sqlite"));
        QFile::remove(alone);
        if (!QFile::copy(history(), alone))
            return -1;
        return queryInt(alone, sql);
    }

    void quit()
    {
        app.terminate(); // what the session sends at logout
        ASSERT_TRUE(app.waitForFinished(20000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    }

    QProcess owner;
};

TEST_F(CorvaneData, CopiesStartedAtTheSameMomentLeaveExactlyOne)
{
    for (int trial = 0; trial < 5; ++trial) {
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 3; ++i) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->setProcessEnvironment(env);
            copies.back()->setStandardErrorFile(home.filePath(QStringLiteral("corvane.log")), QIODevice::Append);
        }
        for (auto &copy : copies)
            copy->start(kCorvane, {});
        const auto running = [&copies] {
            int count = 0;
            for (auto &copy : copies) {
                copy->waitForFinished(30); // lets QProcess notice an exit without an event loop
                count += copy->state() == QProcess::Running;
            }
            return count;
        };
        ASSERT_TRUE(waitFor([&] { return running() == 1; })) << "trial " << trial << ": " << running() << " copies up";
        QThread::msleep(500);
        EXPECT_EQ(running(), 1) << "trial " << trial;
        for (auto &copy : copies) {
            if (copy->state() == QProcess::NotRunning) {
                EXPECT_EQ(copy->exitCode(), 0) << "trial " << trial << ": a later copy hands over";
            } else {
                copy->terminate();
                ASSERT_TRUE(copy->waitForFinished(20000));
            }
        }
    }
}

TEST_F(CorvaneData, ACleanQuitLeavesTheWholeHistoryInItsMainFile)
{
    launch();
    copy("kept in the main file");
    ASSERT_TRUE(waitFor([&] { return queryInt(history(), "SELECT count(*) FROM clips") == 1; }));
    quit();
    EXPECT_LE(QFileInfo(history() + QStringLiteral("-wal")).size(), 0) << "the log was not emptied";
    EXPECT_EQ(rowsInMainFileOnly("SELECT count(*) FROM clips WHERE text = 'kept in the main file'"), 1);
}

TEST_F(CorvaneData, ALargeCopyRightBeforeTerminateIsSaved)
{
    launch();
    const QByteArray large(50 << 20, 'x');
    copy(large);
    QThread::msleep(500);
    quit();
    EXPECT_EQ(queryInt(history(), "SELECT count(*) FROM clips WHERE byte_size = 52428800"), 1) << log().constData();
    EXPECT_LE(QFileInfo(history() + QStringLiteral("-wal")).size(), 0);
}

TEST_F(CorvaneData, ALargeImageIsSavedAsTheBytesItCameAs)
{
    // 6000 x 6000 decodes to 144 MB, more than Qt's image readers allocate at once.
    QImage image(6000, 6000, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1);
    ASSERT_TRUE(writer.write(image));
    image = QImage();

    launch();
    copy(png, QStringLiteral("image/png"));
    ASSERT_TRUE(waitFor([&] { return queryInt(history(), "SELECT count(*) FROM clips WHERE image_width = 6000") == 1; }))
        << log().constData();
    EXPECT_EQ(queryInt(history(), "SELECT length(image) FROM clips WHERE image_width = 6000"), png.size());
    EXPECT_FALSE(log().contains("exceeds limit")) << log().constData();
}

TEST_F(CorvaneData, ADamagedHistoryIsKeptAsideAndCopiesAreSavedAgain)
{
    const QString path = history();
    QDir().mkpath(QFileInfo(path).path());
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE unrelated(a); PRAGMA user_version = 1;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray damaged = file.readAll();
    file.close();

    launch();
    copy("saved after the damage");
    ASSERT_TRUE(waitFor([&] { return queryInt(path, "SELECT count(*) FROM clips") == 1; })) << log().constData();
    const QStringList kept = QDir(QFileInfo(path).path()).entryList({QStringLiteral("history.damaged-*.sqlite")});
    ASSERT_EQ(kept.size(), 1);
    QFile keptFile(QFileInfo(path).dir().filePath(kept.first()));
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), damaged);
    EXPECT_TRUE(log().contains("The history was damaged")) << log().constData();
}

TEST_F(CorvaneData, AGarbageSettingsFileIsKeptAsideAndTheSettingsArePrivate)
{
    const QString folder = home.filePath(QStringLiteral("config/Corvane"));
    QDir().mkpath(folder);
    const QByteArray garbage = QByteArray("\x01\x02 not settings \x00 at all \x1b[31m red", 33);
    QFile file(folder + QStringLiteral("/Corvane.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();

    launch();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(folder + QStringLiteral("/Corvane.conf")); }));
    quit();
    const QStringList kept = QDir(folder).entryList({QStringLiteral("Corvane.unreadable-*.conf")});
    ASSERT_EQ(kept.size(), 1) << QDir(folder).entryList().join(u' ').toStdString();
    QFile keptFile(QDir(folder).filePath(kept.first()));
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), garbage) << "kept byte for byte";
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(modeOf(folder + QStringLiteral("/Corvane.conf")), 0600);
    const QByteArray said = log();
    EXPECT_TRUE(said.contains("Corvane.unreadable-")) << said.constData();
    EXPECT_FALSE(said.contains('\x1b')) << "control characters reach the terminal escaped";
}

} // namespace
