#include "ClipDatabase.h"

#include "SqliteStatement.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

using Kind = ClipDatabase::Error::Kind;

// Large values come last in the row: SQLite reaches a column behind an overflowing blob only by
// walking that blob's overflow pages, which would make every list load read every image.
constexpr const char *createSchema = R"sql(
CREATE TABLE IF NOT EXISTS clips (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    kind TEXT NOT NULL,
    image_width INTEGER,
    image_height INTEGER,
    byte_size INTEGER NOT NULL DEFAULT 0,
    source_name TEXT,
    source_bundle_id TEXT,
    source_url TEXT,
    created_at REAL NOT NULL,
    pinned INTEGER NOT NULL DEFAULT 0,
    pinned_at REAL,
    tags INTEGER NOT NULL DEFAULT 0,
    summary TEXT,
    smart_title TEXT,
    note TEXT,
    hash TEXT UNIQUE NOT NULL,
    dhash INTEGER,
    detail TEXT,
    text_length INTEGER,
    text_prefix TEXT,
    text TEXT,
    thumbnail BLOB,
    image BLOB
);
CREATE INDEX IF NOT EXISTS clips_created_at ON clips(created_at);
CREATE INDEX IF NOT EXISTS clips_image_size ON clips(image_width, image_height, dhash) WHERE kind = 'image';
CREATE TABLE IF NOT EXISTS source_icons (
    key TEXT PRIMARY KEY,
    png BLOB,
    fetched_at REAL
);
CREATE TABLE IF NOT EXISTS link_previews (
    key TEXT PRIMARY KEY,
    title TEXT,
    site_name TEXT,
    image BLOB,
    icon BLOB,
    fetched_at REAL
);
PRAGMA user_version = 1;
)sql";

// Columns read into a Clip; the image blob is never among them.
void restrictToOwner(const QByteArray &native)
{
    struct stat info {};
    if (::stat(native.constData(), &info) == 0 && (info.st_mode & 077))
        ::chmod(native.constData(), info.st_mode & 0700);
}

void makePrivateFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) == 0 || errno != EEXIST) {
        if (!QDir().mkpath(folder))
            throw ClipDatabase::Error(Kind::open, QString::fromLocal8Bit(std::strerror(errno)));
        ::chmod(native.constData(), 0700);
    }
    restrictToOwner(native);
}

void makePrivateFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    else if (errno == EEXIST)
        restrictToOwner(native); // an older file may be readable by others
    else
        throw ClipDatabase::Error(Kind::open, QString::fromLocal8Bit(std::strerror(errno)));
}

double systemNow() { return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0; }

} // namespace

ClipDatabase::Error::Error(Kind kind, QString message)
    : m_kind(kind)
    , m_message(message.isEmpty() ? QStringLiteral("Unknown SQLite error") : std::move(message))
    , m_what(m_message.toUtf8())
{
}

QString ClipDatabase::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QStringLiteral("/Corvane/history.sqlite");
}

ClipDatabase::ClipDatabase(const QString &path, std::function<double()> now)
    : m_path(path)
    , m_now(now ? std::move(now) : std::function<double()>(systemNow))
{
    makePrivateFolder(QFileInfo(path).absolutePath());
    makePrivateFile(path);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        Error error = sqliteError(m_db, Kind::open);
        sqlite3_close(m_db);
        throw error;
    }
    try {
        openAndMigrate();
    } catch (const Error &error) {
        sqlite3_close(m_db);
        throw Error(Kind::open, error.message());
    }
}

ClipDatabase::~ClipDatabase() { sqlite3_close(m_db); }

void ClipDatabase::openAndMigrate()
{
    std::lock_guard lock(m_mutex);
    sqlite3_busy_timeout(m_db, 5000);
    if (sqlite3_db_readonly(m_db, "main") == 1)
        throw Error(Kind::open, QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));

    const std::int64_t version = [this] {
        SqliteStatement query(m_db, "PRAGMA user_version");
        query.step();
        return query.int64(0);
    }();
    if (version > schemaVersion)
        throw Error(Kind::open,
                    QStringLiteral("The history was written by a newer version of Corvane (schema %1)")
                        .arg(version));
    if (version == 0)
        SqliteStatement(m_db, "PRAGMA auto_vacuum = INCREMENTAL").run(); // only takes before the first table
    SqliteStatement(m_db, "PRAGMA journal_mode = WAL").run();
    // WAL with NORMAL survives a killed process; only a power loss may drop the last commits.
    SqliteStatement(m_db, "PRAGMA synchronous = NORMAL").run();
    // Deleted clips and previews are overwritten, not left readable in free pages.
    SqliteStatement(m_db, "PRAGMA secure_delete = ON").run();
    if (version == 0) {
        char *message = nullptr;
        if (sqlite3_exec(m_db, createSchema, nullptr, nullptr, &message) != SQLITE_OK) {
            Error error(Kind::step, message ? QString::fromUtf8(message) : QString());
            sqlite3_free(message);
            throw error;
        }
    }
}

void ClipDatabase::exec(const QString &sql)
{
    std::lock_guard lock(m_mutex);
    m_prunableBytes.reset();
    m_thumbnails.clear();
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        Error error(Kind::step, message ? QString::fromUtf8(message) : QString());
        sqlite3_free(message);
        throw error;
    }
}

void ClipDatabase::noticeOtherWriters()
{
    SqliteStatement version(m_db, "PRAGMA data_version");
    version.step();
    if (version.int64(0) != m_dataVersion) {
        m_dataVersion = version.int64(0);
        m_prunableBytes.reset();
        m_thumbnails.clear();
    }
}

std::int64_t ClipDatabase::storageUsed()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT IFNULL(SUM(byte_size + IFNULL(length(thumbnail), 0)), 0) FROM clips");
    statement.step();
    return statement.int64(0);
}

} // namespace corvane
