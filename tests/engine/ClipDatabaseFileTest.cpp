#include "ClipDatabase.h"
#include "QtPrinters.h"
#include "TestDatabase.h"
#include "SqliteStatement.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {
namespace {

using Kind = ClipDatabase::Error::Kind;

int modeOf(const QString &path)
{
    struct stat info { };
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 0777);
}

ClipDatabase::Error openError(const QString &path)
{
    try {
        ClipDatabase db(path);
    } catch (const ClipDatabase::Error &error) {
        return error;
    }
    ADD_FAILURE() << "opening " << path.toStdString() << " succeeded";
    return ClipDatabase::Error(Kind::step, {});
}

ClipDatabase::NewClip textClip(const QString &text, double createdAt)
{
    ClipDatabase::NewClip clip;
    clip.text = text;
    clip.createdAt = createdAt;
    clip.byteSize = text.size();
    clip.hash = QStringLiteral("text\n") + text;
    return clip;
}

TEST(ClipDatabaseFile, FolderAndFilesArePrivateToTheUser)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("share/Corvane"));
    const QString path = folder + QStringLiteral("/history.sqlite");
    {
        ClipDatabase db(path);
        db.insert(textClip(QStringLiteral("secret"), 1));
        EXPECT_EQ(modeOf(folder), 0700);
        EXPECT_EQ(modeOf(path), 0600);
        EXPECT_EQ(modeOf(path + QStringLiteral("-wal")), 0600);
    }
    // A file left readable by an older build is tightened on the next open.
    ::chmod(QFile::encodeName(path).constData(), 0644);
    ClipDatabase reopened(path);
    EXPECT_EQ(modeOf(path), 0600);
}

TEST(ClipDatabaseFile, ACorruptFileIsAnOpenErrorAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    const QByteArray garbage = QByteArray("this is no database ").repeated(300);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    const auto error = openError(path);
    EXPECT_EQ(error.kind(), Kind::open);
    EXPECT_EQ(error.message(), QStringLiteral("file is not a database"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
}

TEST(ClipDatabaseFile, ANewerSchemaIsAnOpenError)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    ClipDatabase(path).exec(QStringLiteral("PRAGMA user_version = 99"));
    const auto error = openError(path);
    EXPECT_EQ(error.kind(), Kind::open);
    EXPECT_TRUE(error.message().contains(QStringLiteral("newer version"))) << error.what();
}

TEST(ClipDatabaseFile, AnUnwritableFileOrFolderIsAnOpenError)
{
    // As root the check runs as "nobody", who must be able to reach the folder.
    QTemporaryDir dir = ::geteuid() == 0 ? QTemporaryDir(QStringLiteral("/var/tmp/corvane-engine-XXXXXX")) : QTemporaryDir();
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    ClipDatabase(path).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755); // opening made it private
    ::chmod(QFile::encodeName(path).constData(), 0444);
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_EQ(::mkdir(QFile::encodeName(locked).constData(), 0555), 0);

    expectAsOrdinaryUser([&] {
        const auto readOnly = openError(path);
        const auto noFolder = openError(locked + QStringLiteral("/history.sqlite"));
        return readOnly.kind() == Kind::readOnly && readOnly.message() == QStringLiteral("attempt to write a readonly database")
            && noFolder.kind() == Kind::open && noFolder.message() == QStringLiteral("Permission denied");
    });
}

TEST(ClipDatabaseFile, ErrorsCarrySQLitesMessageOrAFallback)
{
    QTemporaryDir dir;
    ClipDatabase db(dir.filePath(QStringLiteral("history.sqlite")));
    try {
        db.exec(QStringLiteral("SELEKT 1"));
        FAIL();
    } catch (const ClipDatabase::Error &error) {
        EXPECT_EQ(error.kind(), Kind::step);
        EXPECT_EQ(error.message(), QStringLiteral("near \"SELEKT\": syntax error"));
    }
    EXPECT_EQ(ClipDatabase::Error(Kind::prepare, {}).message(), QStringLiteral("Unknown SQLite error"));
}

TEST(ClipDatabaseFile, AFailedBindIsReportedNotStoredAsNull)
{
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    {
        SqliteStatement statement(raw, "SELECT ?1");
        try {
            statement.bind(2, std::int64_t{1});
            FAIL();
        } catch (const ClipDatabase::Error &error) {
            EXPECT_EQ(error.kind(), Kind::prepare);
            EXPECT_EQ(error.message(), QStringLiteral("column index out of range"));
        }
    }
    sqlite3_close(raw);
}

// A child inserts in a burst and reports each id once insert() returned; it is killed mid-burst.
TEST(ClipDatabaseFile, SurvivesAKillInTheMiddleOfABurst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    ClipDatabase(path).exec(QStringLiteral("VACUUM")); // create the schema before forking
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        ClipDatabase db(path);
        for (int i = 0;; ++i) {
            auto clip = textClip(QStringLiteral("burst %1 ").arg(i) + QString(i % 500, u'x'), i);
            const std::int64_t id = db.insert(clip).id;
            if (::write(pipeFds[1], &id, sizeof id) != sizeof id)
                ::_exit(1);
        }
    }
    ::close(pipeFds[1]);
    QList<std::int64_t> reported;
    std::int64_t id = 0;
    while (reported.size() < 300 && ::read(pipeFds[0], &id, sizeof id) == sizeof id)
        reported.append(id);
    ::kill(child, SIGKILL);
    while (::read(pipeFds[0], &id, sizeof id) == sizeof id)
        reported.append(id);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(reported.size(), 300);

    ClipDatabase db(path);
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)), "ok");
    sqlite3_finalize(statement);
    sqlite3_close(raw);

    QSet<std::int64_t> stored;
    for (const Clip &clip : db.loadClips())
        stored.insert(clip.id);
    for (std::int64_t reportedId : reported)
        EXPECT_TRUE(stored.contains(reportedId)) << reportedId;
}

} // namespace
} // namespace corvane::test
