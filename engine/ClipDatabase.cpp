#include "ClipDatabase.h"

#include "ClipTextSource.h"
#include "SqliteStatement.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>
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
constexpr const char *createClipsTable = R"sql(
CREATE TABLE clips (
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
    preview TEXT,
    text_prefix TEXT,
    text TEXT,
    thumbnail BLOB,
    image BLOB
);
CREATE INDEX clips_created_at ON clips(created_at);
CREATE INDEX clips_image_size ON clips(image_width, image_height, dhash) WHERE kind = 'image';
)sql";

// The pinned clips come with the first screenful; without an index of their own finding them
// reads every row. Older files get it on their next open (only an index: nothing else changes).
constexpr const char *createPinnedIndex = "CREATE INDEX IF NOT EXISTS clips_pinned ON clips(created_at) WHERE pinned != 0";

constexpr const char *createSideTables = R"sql(
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
)sql";

// The columns of the first schema, which every later one keeps.
constexpr const char *firstColumns
    = "id, kind, image_width, image_height, byte_size, source_name, source_bundle_id, source_url, created_at, "
      "pinned, pinned_at, tags, summary, smart_title, note, hash, dhash, detail, text_length, text_prefix, text, "
      "thumbnail, image";

// Keeps the log from staying at the size of the largest clip ever written.
constexpr const char *journalSizeLimit = "PRAGMA journal_size_limit = 4194304";

void execScript(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        ClipDatabase::Error error(Kind::step, message ? QString::fromUtf8(message) : QString());
        sqlite3_free(message);
        throw error;
    }
}

/** The main file is shorter than its own header says: pages were cut off. */
bool isTruncated(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith("SQLite format 3"))
        return false;
    const auto be32 = [&header](int at) {
        return quint32(quint8(header[at])) << 24 | quint32(quint8(header[at + 1])) << 16 | quint32(quint8(header[at + 2])) << 8
            | quint32(quint8(header[at + 3]));
    };
    const quint32 rawPageSize = quint32(quint8(header[16])) << 8 | quint8(header[17]);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    // The page count in the header only counts when the change counter vouches for it.
    if (be32(24) != be32(92))
        return false;
    return qint64(be32(28)) * pageSize > file.size();
}

QString sqlitePathUri(const QString &path, const char *query)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/"))
        + QLatin1Char('?') + QLatin1String(query);
}

// Columns read into a Clip; the image blob is never among them.
void restrictToOwner(const QByteArray &native)
{
    struct stat info { };
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

ClipDatabase::ClipDatabase(const QString &path, std::function<double()> now, Access access)
    : m_path(path)
    , m_now(now ? std::move(now) : std::function<double()>(systemNow))
    , m_readOnly(access == Access::readOnly)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray native = QFile::encodeName(path);
    if (isTruncated(path))
        throw Error(Kind::open, QStringLiteral("The history file is truncated"));
    int flags = SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI;
    QString uri = sqlitePathUri(path, "mode=rw");
    if (m_readOnly) {
        flags |= SQLITE_OPEN_READONLY;
        // Without write access to the folder the log's index cannot be made: read the file as it is.
        const bool canIndex
            = QFileInfo::exists(path + QStringLiteral("-shm")) || ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
        uri = sqlitePathUri(path, canIndex ? "mode=ro" : "immutable=1");
    } else {
        makePrivateFolder(folder);
        makePrivateFile(path);
        if (::access(native.constData(), W_OK) != 0 || ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            throw Error(Kind::readOnly, QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));
        flags |= SQLITE_OPEN_READWRITE;
    }
    m_readerUri = m_readOnly ? uri : sqlitePathUri(path, "mode=ro");
    // A connection left by a failed open or migration is closed with the handle.
    if (sqlite3_open_v2(uri.toUtf8().constData(), m_db.receive(), flags, nullptr) != SQLITE_OK)
        throw sqliteError(m_db, Kind::open);
    // Closing never folds the log into the file by itself: a damaged file stays as it was found,
    // and a healthy one is checkpointed on purpose in the destructor.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    startChangeJournal();
    try {
        openAndMigrate();
    } catch (const Error &error) {
        const bool keepKind = error.kind() == Kind::readOnly || error.kind() == Kind::damaged;
        throw Error(keepKind ? error.kind() : Kind::open, error.message());
    }
    startTextReader(m_readerUri);
}

ClipDatabase::~ClipDatabase()
{
    // Closed first: the last connection to close is the one that removes the emptied log.
    stopTextReader();
    if (!m_readOnly && sqlite3_exec(m_db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr) == SQLITE_OK) {
        // Everything is in the main file now: let the close remove the empty log.
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    }
}

void ClipDatabase::openAndMigrate()
{
    std::lock_guard lock(m_mutex);
    sqlite3_busy_timeout(m_db, 5000);
    if (!m_readOnly && sqlite3_db_readonly(m_db, "main") == 1)
        throw Error(Kind::readOnly, QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));

    const std::int64_t version = [this] {
        SqliteStatement query(m_db, "PRAGMA user_version");
        query.step();
        return query.int64(0);
    }();
    if (version > schemaVersion)
        throw Error(Kind::open, QStringLiteral("The history was written by a newer version of Corvane (schema %1)").arg(version));
    checkIntact(version);
    if (m_readOnly) {
        if (version != schemaVersion)
            throw Error(Kind::open, QStringLiteral("The history needs an update, which a read-only file cannot take"));
        return;
    }
    if (version == 0)
        SqliteStatement(m_db, "PRAGMA auto_vacuum = INCREMENTAL").run(); // only takes before the first table
    SqliteStatement(m_db, "PRAGMA journal_mode = WAL").run();
    // WAL with NORMAL survives a killed process; only a power loss may drop the last commits.
    SqliteStatement(m_db, "PRAGMA synchronous = NORMAL").run();
    SqliteStatement(m_db, journalSizeLimit).run();
    // Deleted clips and previews are overwritten, not left readable in free pages.
    SqliteStatement(m_db, "PRAGMA secure_delete = ON").run();
    if (version == 0) {
        SqliteTransaction transaction(m_db);
        execScript(m_db, createClipsTable);
        execScript(m_db, createSideTables);
        SqliteStatement(m_db, "PRAGMA user_version = 2").run();
        transaction.commit();
    } else if (version == 1) {
        migrateToStoredPreviews();
    }
    execScript(m_db, createPinnedIndex);
    static_assert(schemaVersion == 2, "add the migration to the new schema");
}

void ClipDatabase::checkIntact(std::int64_t version)
{
    try {
        QSet<QString> columns;
        SqliteStatement info(m_db, "SELECT name FROM pragma_table_info('clips')");
        while (info.step())
            columns.insert(info.text(0));
        if (version == 0 && columns.isEmpty())
            return; // a new file, or one whose first open stopped before its tables
        const QString required = QString::fromLatin1(firstColumns) + (version >= 2 ? QStringLiteral(", preview") : QString());
        for (const QString &column : required.split(QStringLiteral(", "))) {
            if (!columns.contains(column))
                throw Error(Kind::damaged, QStringLiteral("The history has no clips table with a %1 column").arg(column));
        }
        SqliteStatement check(m_db, "PRAGMA quick_check(1)");
        if (!check.step() || check.text(0) != QLatin1String("ok"))
            throw Error(Kind::damaged, QStringLiteral("The history failed its integrity check"));
    } catch (const Error &error) {
        throw Error(Kind::damaged, error.message());
    }
}

void ClipDatabase::migrateToStoredPreviews()
{
    // A new column would land behind the blobs, where every list load would have to walk them;
    // the table is rebuilt with it in its place instead.
    SqliteTransaction transaction(m_db);
    execScript(m_db,
               "DROP INDEX IF EXISTS clips_created_at; DROP INDEX IF EXISTS clips_image_size;"
               "ALTER TABLE clips RENAME TO clips_v1;");
    execScript(m_db, createClipsTable);
    const QByteArray copy = QByteArray("INSERT INTO clips (") + firstColumns + ") SELECT " + firstColumns + " FROM clips_v1";
    execScript(m_db, copy.constData());
    // Ids of deleted clips are not handed out again.
    execScript(m_db,
               "UPDATE sqlite_sequence SET seq = max(seq, (SELECT seq FROM sqlite_sequence WHERE name = 'clips_v1'))"
               " WHERE name = 'clips';"
               "INSERT INTO sqlite_sequence (name, seq) SELECT 'clips', seq FROM sqlite_sequence"
               " WHERE name = 'clips_v1' AND NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = 'clips');"
               "DROP TABLE clips_v1;");
    fillPreviews();
    SqliteStatement(m_db, "PRAGMA user_version = 2").run();
    transaction.commit();
}

void ClipDatabase::fillPreviews()
{
    SqliteStatement rows(
        m_db, "SELECT id, kind, text FROM clips WHERE text_length IS NOT NULL AND preview IS NULL AND text IS NOT NULL");
    SqliteStatement update(m_db, "UPDATE clips SET preview = ?1 WHERE id = ?2");
    while (rows.step()) {
        const ClipGroup group = ClipGroups::fromRawValue(rows.text(1)).value_or(ClipGroup::text);
        update.bind(1, clipPreview(group, rows.text(2), {})).bind(2, rows.int64(0)).run();
        update.reset();
    }
}

void ClipDatabase::exec(const QString &sql)
{
    std::lock_guard lock(m_mutex);
    ClipTextSource::shared().forgetAll(m_textSource);
    m_prunableBytes.reset();
    m_journalComplete = false; // a DELETE without WHERE bypasses the journal
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
