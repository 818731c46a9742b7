// Damaged, read-only and older history files, and what a clean close leaves on disk.
#include "ClipDatabase.h"
#include "QtPrinters.h"
#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {
namespace {

ClipDatabase::NewClip textClip(const QString &text, double createdAt, ClipGroup group = ClipGroup::text)
{
    ClipDatabase::NewClip clip;
    clip.group = group;
    clip.text = text;
    clip.createdAt = createdAt;
    clip.byteSize = text.toUtf8().size();
    clip.hash = QStringLiteral("text\n") + text;
    return clip;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** Runs SQL on a second connection, as another program (or a disk fault) would. */
void tamper(const QString &path, const char *sql)
{
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &raw), SQLITE_OK);
    char *message = nullptr;
    EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(raw);
}

QStringList filesIn(const QTemporaryDir &dir) { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

QStringList texts(ClipDatabase &db)
{
    QStringList result;
    for (const Clip &clip : db.loadClips())
        result << clip.text().value_or(QString());
    return result;
}

/** A history of three clips, closed, with everything in the main file. */
QString historyOfThree(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    ClipDatabase db(path);
    for (int i = 0; i < 3; ++i)
        db.insert(textClip(QStringLiteral("clip %1 ").arg(i) + QString(3000, QChar(u'a' + i)), i + 1));
    return path;
}

TEST(ClipDatabaseClose, ClosingLeavesEveryRowInTheMainFileAndTheLogEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    {
        ClipDatabase db(path);
        db.insert(textClip(QString(4 << 20, u'x'), 1)); // a 4 MB clip grows the log past its limit
        db.insert(textClip(QStringLiteral("small"), 2));
    }
    EXPECT_EQ(QFileInfo(path + QStringLiteral("-wal")).size(), 0);
    // The main file alone, as a backup tool would copy it, holds the history.
    QTemporaryDir copyDir;
    const QString copy = copyDir.filePath(QStringLiteral("copy.sqlite"));
    ASSERT_TRUE(QFile::copy(path, copy));
    ClipDatabase reopened(copy);
    EXPECT_EQ(texts(reopened).first(), QStringLiteral("small"));
}

TEST(ClipDatabaseRecovery, AHistoryWithoutItsClipsTableIsKeptAsideAndAFreshOneStarted)
{
    QTemporaryDir dir;
    const QString path = historyOfThree(dir);
    tamper(path, "DROP TABLE clips");
    const QByteArray damaged = contents(path);

    const ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path);
    ASSERT_TRUE(opened.database);
    EXPECT_TRUE(opened.warning.contains(QStringLiteral("damaged"))) << opened.warning.toStdString();
    ASSERT_TRUE(opened.keptPath);
    EXPECT_EQ(contents(*opened.keptPath), damaged) << "the damaged file is kept byte for byte";
    EXPECT_EQ(QFileInfo(*opened.keptPath).absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_TRUE(opened.warning.contains(QFileInfo(*opened.keptPath).fileName()));
    // New copies are saved again.
    opened.database->insert(textClip(QStringLiteral("after"), 10));
    EXPECT_EQ(texts(*opened.database), QStringList{QStringLiteral("after")});
}

TEST(ClipDatabaseRecovery, RowsThatCanStillBeReadAreSalvagedFromAFileFailingTheCheck)
{
    QTemporaryDir dir;
    const QString path = historyOfThree(dir);
    // A second table claiming the clips' pages: the rows read fine, the check fails.
    tamper(path,
           "PRAGMA writable_schema = ON;"
           "INSERT INTO sqlite_master SELECT 'table', 'shadow', 'shadow', rootpage, 'CREATE TABLE shadow(a)'"
           " FROM sqlite_master WHERE name = 'clips';");
    const QByteArray damaged = contents(path);

    const ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path);
    ASSERT_TRUE(opened.database);
    ASSERT_TRUE(opened.keptPath);
    EXPECT_EQ(contents(*opened.keptPath), damaged);
    EXPECT_TRUE(opened.warning.contains(QStringLiteral("3 clips"))) << opened.warning.toStdString();
    const QList<Clip> clips = opened.database->loadClips();
    ASSERT_EQ(clips.size(), 3);
    EXPECT_EQ(clips.first().textLength, 3007);
    EXPECT_EQ(opened.database->fullText(clips.first().id)->size(), 3007);
}

TEST(ClipDatabaseRecovery, RandomBytesTruncatedAndNewerFilesAreLeftUntouchedWithAWarning)
{
    QTemporaryDir dir;
    const QString path = historyOfThree(dir);
    const QByteArray whole = contents(path);

    const std::vector<std::pair<const char *, QByteArray>> cases{
        {"random bytes", QByteArray("\x13\x37 no database here ").repeated(400)},
        {"truncated", whole.left(whole.size() / 2)},
    };
    for (const auto &[name, bytes] : cases) {
        QFile::remove(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path);
        EXPECT_FALSE(opened.database) << name;
        EXPECT_FALSE(opened.warning.isEmpty()) << name;
        EXPECT_EQ(contents(path), bytes) << name;
        EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("history.sqlite")}) << name;
    }

    QFile::remove(path);
    ClipDatabase(path).exec(QStringLiteral("PRAGMA user_version = 99"));
    const QByteArray newer = contents(path);
    const ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path);
    EXPECT_FALSE(opened.database);
    EXPECT_TRUE(opened.warning.contains(QStringLiteral("newer version"))) << opened.warning.toStdString();
    EXPECT_EQ(contents(path), newer);
}

TEST(ClipDatabaseRecovery, AReadOnlyFolderShowsTheHistoryReadOnlyWithAWarning)
{
    QTemporaryDir dir = ::geteuid() == 0 ? QTemporaryDir(QStringLiteral("/var/tmp/corvane-engine-XXXXXX")) : QTemporaryDir();
    ASSERT_TRUE(dir.isValid());
    const QString path = historyOfThree(dir);
    ::chmod(QFile::encodeName(path).constData(), 0644);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const QByteArray before = contents(path);

    expectAsOrdinaryUser([&] {
        const ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path);
        if (!opened.database || !opened.database->isReadOnly())
            return false;
        const bool warned = opened.warning.contains(QStringLiteral("can’t be saved"));
        const bool shown = opened.database->loadClips().size() == 3;
        bool refused = false;
        try {
            opened.database->insert(textClip(QStringLiteral("new"), 9));
        } catch (const ClipDatabase::Error &) {
            refused = true;
        }
        return warned && shown && refused;
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(contents(path), before);
}

TEST(ClipDatabaseMigration, AnOlderHistoryGainsStoredPreviewsAndKeepsItsRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    QStringList paths;
    for (int i = 0; i < 10000; ++i)
        paths << QStringLiteral("/home/user/files/document-%1.txt").arg(i);
    const QString list = paths.join(u'\n');
    {
        ClipDatabase db(path);
        db.insert(textClip(QStringLiteral("first"), 1));
        db.insert(textClip(list, 2, ClipGroup::file));
        db.deleteClip(db.insert(textClip(QStringLiteral("deleted"), 3)).id);
        // Back to the first schema, which had no stored previews.
        db.exec(QStringLiteral("ALTER TABLE clips DROP COLUMN preview; PRAGMA user_version = 1"));
    }
    {
        ClipDatabase db(path);
        const QList<Clip> clips = db.loadClips();
        ASSERT_EQ(clips.size(), 2);
        EXPECT_EQ(clips[0].preview(), QStringLiteral("10000 files"));
        EXPECT_EQ(clips[1].preview(), QStringLiteral("first"));
        // Ids are not handed out again after the rebuild.
        EXPECT_EQ(db.insert(textClip(QStringLiteral("later"), 4)).id, 4);
    }
    EXPECT_EQ(queryInt(path, "PRAGMA user_version"), ClipDatabase::schemaVersion);
}

TEST(ClipDatabaseText, CountsAndPreviewsComeFromTheWholeTextAndNulBytesSurvive)
{
    QTemporaryDir dir;
    ClipDatabase db(dir.filePath(QStringLiteral("history.sqlite")));
    QStringList paths;
    for (int i = 0; i < 10000; ++i)
        paths << QStringLiteral("/tmp/f%1").arg(i);
    const std::int64_t files = db.insert(textClip(paths.join(u'\n'), 1, ClipGroup::file)).id;
    const QString withNul = QStringLiteral("before NUL") + QChar(u'\0') + QStringLiteral("after NUL");
    const std::int64_t nul = db.insert(textClip(withNul, 2)).id;
    const QString blankStart = QString(3000, u'\n') + QStringLiteral("finally words");
    const std::int64_t blank = db.insert(textClip(blankStart, 3)).id;

    EXPECT_EQ(db.loadClip(files)->preview(), QStringLiteral("10000 files"));
    const Clip loaded = *db.loadClip(nul);
    EXPECT_EQ(loaded.text(), withNul);
    EXPECT_FALSE(loaded.textIsTruncated);
    EXPECT_EQ(loaded.subtitle(), QStringLiteral("20 characters"));
    EXPECT_EQ(db.fullText(nul), withNul);
    EXPECT_EQ(db.loadClip(blank)->preview(), QStringLiteral("finally words"));
    EXPECT_EQ(db.loadClips().size(), 3);
}

} // namespace
} // namespace corvane::test
