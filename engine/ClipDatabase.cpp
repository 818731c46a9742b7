#include "ClipDatabase.h"

#include "SqliteStatement.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <numeric>
#include <thread>
#include <vector>
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
#define CLIP_COLUMNS                                                                               \
    "id, kind, image_width, image_height, byte_size, source_name, source_bundle_id, source_url, " \
    "created_at, pinned, pinned_at, tags, summary, smart_title, note, detail, "                   \
    "coalesce(text_length, length(text)), coalesce(text_prefix, substr(text, 1, 2000)), thumbnail "

static_assert(Clip::textPrefixLength == 2000, "keep CLIP_COLUMNS' substr in step");

/**
 * A text longer than a list row needs: its length in code points (SQLite's length()) and its
 * opening. Stored beside the text so a list load never reads a long text whole.
 */
std::optional<std::pair<std::int64_t, QString>> longTextSummary(const std::optional<QString> &text)
{
    if (!text || text->size() <= Clip::textPrefixLength)
        return std::nullopt;
    std::int64_t codePoints = 0;
    qsizetype prefixEnd = -1;
    for (qsizetype i = 0; i < text->size(); ++i) {
        if (text->at(i).isLowSurrogate())
            continue;
        if (codePoints == Clip::textPrefixLength)
            prefixEnd = i;
        ++codePoints;
    }
    if (prefixEnd < 0)
        return std::nullopt;
    return std::pair(codePoints, text->left(prefixEnd));
}

/** Every column but the text; `textUtf8` receives the text's prefix for converting later. */
Clip clipFromRow(const SqliteStatement &row, QByteArray &textUtf8)
{
    Clip clip;
    clip.id = row.int64(0);
    clip.group = ClipGroups::fromRawValue(row.text(1)).value_or(ClipGroup::text);
    if (!row.isNull(2) && !row.isNull(3))
        clip.imageSize = QSize(int(row.int64(2)), int(row.int64(3)));
    clip.byteSize = row.int64(4);
    clip.sourceName = row.optionalText(5);
    clip.sourceBundleID = row.optionalText(6);
    clip.sourceURL = row.optionalText(7);
    clip.createdAt = row.real(8);
    clip.isPinned = row.int64(9) != 0;
    if (!row.isNull(10))
        clip.pinnedAt = row.real(10);
    clip.tagMask = row.int64(11);
    clip.tags = ColorTags::fromMask(clip.tagMask);
    clip.summary = row.optionalText(12);
    clip.smartTitle = row.optionalText(13);
    clip.note = row.optionalText(14);
    clip.detail = row.optionalText(15);
    if (!row.isNull(17)) {
        clip.textLength = row.int64(16);
        clip.text.emplace();
        clip.textIsTruncated = clip.textLength > Clip::textPrefixLength;
        textUtf8 = row.blob(17);
    }
    clip.thumbnailPng = row.blob(18);
    return clip;
}

void finishClip(Clip &clip, const QByteArray &textUtf8)
{
    if (clip.text)
        clip.text = QString::fromUtf8(textUtf8);
    computeDisplayStrings(clip);
}

/** Runs `work(i)` for every i below `count`, spread over the machine's cores. */
void parallelFor(qsizetype count, const std::function<void(qsizetype)> &work)
{
    const qsizetype threads = std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, 8);
    if (count < 2000 || threads == 1) {
        for (qsizetype i = 0; i < count; ++i)
            work(i);
        return;
    }
    std::vector<std::thread> pool;
    const qsizetype chunk = (count + threads - 1) / threads;
    for (qsizetype start = 0; start < count; start += chunk) {
        pool.emplace_back([&work, start, end = std::min(count, start + chunk)] {
            for (qsizetype i = start; i < end; ++i)
                work(i);
        });
    }
    for (std::thread &thread : pool)
        thread.join();
}

/** Drops the group and other permission bits of an existing path; the owner's stay as they are. */
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
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        Error error(Kind::step, message ? QString::fromUtf8(message) : QString());
        sqlite3_free(message);
        throw error;
    }
}

std::optional<std::int64_t> ClipDatabase::nearDuplicate(const NewClip &clip)
{
    if (clip.group != ClipGroup::image || !clip.dhash || clip.imageSize.isEmpty())
        return std::nullopt;
    SqliteStatement statement(m_db, R"sql(
        SELECT id, dhash FROM clips
        WHERE kind = 'image' AND image_width = ?1 AND image_height = ?2 AND dhash IS NOT NULL
        ORDER BY created_at DESC, id DESC)sql");
    statement.bind(1, clip.imageSize.width()).bind(2, clip.imageSize.height());
    std::optional<std::int64_t> best;
    int bestDistance = nearDuplicateDistance + 1;
    while (statement.step()) {
        const auto stored = std::bit_cast<std::uint64_t>(statement.int64(1));
        const int distance = std::popcount(stored ^ *clip.dhash);
        if (distance < bestDistance) {
            best = statement.int64(0);
            bestDistance = distance;
        }
    }
    return best;
}

ClipDatabase::InsertResult ClipDatabase::insert(const NewClip &clip)
{
    std::lock_guard lock(m_mutex);
    SqliteTransaction transaction(m_db);
    InsertResult result;

    bool exists = false;
    {
        SqliteStatement lookup(m_db, "SELECT id FROM clips WHERE hash = ?1");
        lookup.bind(1, clip.hash);
        exists = lookup.step();
    }
    const std::optional<std::int64_t> similar = exists ? std::nullopt : nearDuplicate(clip);
    // The 64-bit difference hash is stored bit for bit in a signed INTEGER.
    const std::int64_t dhash = std::bit_cast<std::int64_t>(clip.dhash.value_or(0));

    if (similar) {
        // A near-duplicate image takes over the row: new pixels, same id, pin, tags and note.
        SqliteStatement replace(m_db, R"sql(
            UPDATE clips SET image = ?1, thumbnail = ?2, hash = ?3, dhash = ?4, byte_size = ?5,
                created_at = ?6, source_name = ?7, source_bundle_id = ?8, source_url = ?9
            WHERE id = ?10)sql");
        replace.bindBlob(1, clip.image).bindBlob(2, clip.thumbnail).bind(3, clip.hash);
        replace.bind(4, dhash).bind(5, clip.byteSize).bind(6, clip.createdAt);
        replace.bind(7, clip.sourceName).bind(8, clip.sourceBundleID).bind(9, clip.sourceURL);
        replace.bind(10, *similar).run();
        result = {*similar, InsertResult::Outcome::replaced};
        m_prunableBytes.reset();
    } else {
        SqliteStatement upsert(m_db, R"sql(
            INSERT INTO clips (kind, image_width, image_height, byte_size, source_name,
                source_bundle_id, source_url, created_at, hash, dhash, detail, text, thumbnail, image,
                text_length, text_prefix)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)
            ON CONFLICT(hash) DO UPDATE SET created_at = excluded.created_at,
                source_name = excluded.source_name, source_bundle_id = excluded.source_bundle_id,
                source_url = excluded.source_url
            RETURNING id)sql");
        upsert.bind(1, ClipGroups::rawValue(clip.group));
        if (clip.imageSize.isValid())
            upsert.bind(2, clip.imageSize.width()).bind(3, clip.imageSize.height());
        else
            upsert.bindNull(2).bindNull(3);
        upsert.bind(4, clip.byteSize).bind(5, clip.sourceName).bind(6, clip.sourceBundleID);
        upsert.bind(7, clip.sourceURL).bind(8, clip.createdAt).bind(9, clip.hash);
        if (clip.dhash)
            upsert.bind(10, dhash);
        else
            upsert.bindNull(10);
        upsert.bind(11, clip.detail).bind(12, clip.text).bindBlob(13, clip.thumbnail).bindBlob(14, clip.image);
        if (const auto summary = longTextSummary(clip.text))
            upsert.bind(15, summary->first).bind(16, summary->second);
        else
            upsert.bindNull(15).bindNull(16);
        if (!upsert.step())
            throw Error(Kind::step, {});
        result = {upsert.int64(0), exists ? InsertResult::Outcome::bumped : InsertResult::Outcome::inserted};
        upsert.run();
    }
    transaction.commit();
    if (m_prunableBytes && result.outcome == InsertResult::Outcome::inserted)
        *m_prunableBytes += clip.byteSize + clip.thumbnail.size();
    return result;
}

QList<Clip> ClipDatabase::loadClips()
{
    QList<Clip> byID;
    std::vector<QByteArray> texts;
    {
        std::lock_guard lock(m_mutex);
        {
            SqliteStatement count(m_db, "SELECT count(*) FROM clips");
            count.step();
            byID.reserve(qsizetype(count.int64(0)));
            texts.reserve(size_t(count.int64(0)));
        }
        // Table order reads the rows' pages in sequence; sorting by date afterwards is cheaper
        // than visiting them through the date index.
        SqliteStatement statement(m_db, "SELECT " CLIP_COLUMNS "FROM clips ORDER BY id DESC");
        while (statement.step()) {
            texts.emplace_back();
            byID.append(clipFromRow(statement, texts.back()));
        }
    }
    parallelFor(byID.size(), [&](qsizetype i) { finishClip(byID[i], texts[size_t(i)]); });

    // Newest first: a bumped clip is newer than its id says.
    std::vector<qsizetype> order(size_t(byID.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const Clip &x = byID[a];
        const Clip &y = byID[b];
        return x.createdAt != y.createdAt ? x.createdAt > y.createdAt : x.id > y.id;
    });
    QList<Clip> clips;
    clips.reserve(byID.size());
    for (qsizetype index : order)
        clips.append(std::move(byID[index]));
    return clips;
}

std::optional<Clip> ClipDatabase::loadClip(std::int64_t id)
{
    QByteArray text;
    std::optional<Clip> clip;
    {
        std::lock_guard lock(m_mutex);
        SqliteStatement statement(m_db, "SELECT " CLIP_COLUMNS "FROM clips WHERE id = ?1");
        statement.bind(1, id);
        if (!statement.step())
            return std::nullopt;
        clip = clipFromRow(statement, text);
    }
    finishClip(*clip, text);
    return clip;
}

std::optional<QByteArray> ClipDatabase::imageData(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT image FROM clips WHERE id = ?1 AND image IS NOT NULL");
    statement.bind(1, id);
    if (!statement.step())
        return std::nullopt;
    return statement.blob(0);
}

std::optional<QString> ClipDatabase::fullText(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT text FROM clips WHERE id = ?1 AND text IS NOT NULL");
    statement.bind(1, id);
    if (!statement.step())
        return std::nullopt;
    return statement.text(0);
}

std::int64_t ClipDatabase::storageUsed()
{
    std::lock_guard lock(m_mutex);
    SqliteStatement statement(m_db, "SELECT IFNULL(SUM(byte_size + IFNULL(length(thumbnail), 0)), 0) FROM clips");
    statement.step();
    return statement.int64(0);
}

} // namespace corvane
