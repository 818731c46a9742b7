#pragma once

#include "ClipDatabase.h"
#include "QtPrinters.h"
#include "StoreFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {

/** One integer from a second, independent connection. */
inline std::int64_t queryInt(const QString &path, const char *sql)
{
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(raw, sql, -1, &statement, nullptr);
    const std::int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(raw);
    return value;
}

/** Runs `check` without root's power over file modes: in a child as "nobody" when we are root. */
inline void expectAsOrdinaryUser(const std::function<bool()> &check)
{
    if (::geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

/** A database in its own temporary folder, with a clock the test sets. */
class DatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("history.sqlite"));
        db = std::make_unique<ClipDatabase>(path, [this] { return now; });
    }

    static ClipDatabase::NewClip textClip(const QString &text, double createdAt, std::int64_t byteSize = 0)
    {
        ClipDatabase::NewClip clip = test::textClip(ClipGroup::text, text, createdAt);
        if (byteSize > 0)
            clip.byteSize = byteSize;
        return clip;
    }

    static ClipDatabase::NewClip imageClip(const QByteArray &png, QSize size, std::uint64_t dhash, double createdAt)
    {
        ClipDatabase::NewClip clip;
        clip.group = ClipGroup::image;
        clip.image = png;
        clip.thumbnail = "thumb:" + png;
        clip.imageSize = size;
        clip.byteSize = png.size();
        clip.createdAt = createdAt;
        clip.hash = QStringLiteral("image\n") + QString::fromLatin1(png.toHex());
        clip.dhash = dhash;
        return clip;
    }

    std::int64_t insertText(const QString &text, double createdAt, std::int64_t byteSize = 0)
    {
        return db->insert(textClip(text, createdAt, byteSize)).id;
    }

    QList<std::int64_t> ids()
    {
        QList<std::int64_t> result;
        for (const Clip &clip : db->loadClips())
            result.append(clip.id);
        return result;
    }

    QTemporaryDir dir;
    QString path;
    double now = 1'700'000'000;
    std::unique_ptr<ClipDatabase> db;
};

} // namespace corvane::test
