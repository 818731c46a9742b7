// Reading clips: the whole list for the views, and full texts and images on demand.
#include "ClipDatabase.h"

#include "ClipTextSource.h"
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace corvane {
namespace {

// One character more than the kept prefix shows whether a text was cut; only then is the whole
// text's length asked for, since counting the characters of every text costs a full decode.
// A long text's opening, length and preview are stored beside it, so a list load never reads it
// whole. Short texts are cut as bytes (4 per character at most): SQLite's text functions stop
// at a NUL character.
#define CLIP_COLUMNS                                                                                                             \
    "id, kind, image_width, image_height, byte_size, source_name, source_bundle_id, source_url, "                                \
    "created_at, pinned, pinned_at, tags, summary, smart_title, note, detail, "                                                  \
    "coalesce(text_prefix, substr(CAST(text AS BLOB), 1, 8004)), length(thumbnail), preview "

static_assert(Clip::textPrefixLength == 2000, "keep CLIP_COLUMNS' and TEXT_PREFIX_SQL's substr in step");

/** `utf8` cut after `count` code points (all of it when shorter). */
QByteArrayView firstCodePoints(QByteArrayView utf8, qsizetype count)
{
    qsizetype seen = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && seen++ == count)
            return utf8.first(i);
    }
    return utf8;
}

qsizetype codePoints(QByteArrayView utf8)
{
    qsizetype count = 0;
    for (char byte : utf8)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    return count;
}

/** The first bytes of a text's prefix column, cut one character past the kept prefix. */
QByteArray prefixBytes(QByteArrayView column) { return firstCodePoints(column, Clip::textPrefixLength + 1).toByteArray(); }

/** Whether `prefixBytes` found the text longer than the kept prefix. */
bool isCut(const QByteArray &utf8)
{
    // Fewer bytes than the prefix's characters: the text is whole.
    return utf8.size() > Clip::textPrefixLength && codePoints(utf8) > Clip::textPrefixLength;
}

/** The kept prefix from `prefixBytes`. */
QString decodePrefix(const QByteArray &utf8, bool cut)
{
    QString text = QString::fromUtf8(utf8);
    if (cut)
        text.chop(text.back().isLowSurrogate() ? 2 : 1); // the extra character read
    // The conversion reserves a character per byte; a clip may hold it for the history's life.
    if (text.capacity() > text.size())
        text.squeeze();
    return text;
}

#define TEXT_PREFIX_SQL "SELECT coalesce(text_prefix, substr(CAST(text AS BLOB), 1, 8004)) FROM clips WHERE id = ?1"
#define CLIP_ROW_SQL "SELECT " CLIP_COLUMNS "FROM clips WHERE id = ?1"
#define TEXT_LENGTH_SQL "SELECT coalesce(text_length, length(text)) FROM clips WHERE id = ?1"
#define THUMBNAIL_SQL "SELECT thumbnail FROM clips WHERE id = ?1"

/** The kept prefix of one clip's text, or nothing when the clip or its text is gone. Under the connection's lock. */
std::optional<QString> readTextPrefix(SqliteStatement &query, std::int64_t id)
{
    query.bind(1, id);
    std::optional<QString> text;
    if (query.step()) {
        if (const std::optional<QByteArrayView> column = query.optionalBytes(0)) {
            const QByteArray utf8 = prefixBytes(*column);
            text = decodePrefix(utf8, isCut(utf8));
        }
    }
    query.reset(); // ends the read transaction, so checkpoints are not held up
    return text;
}

/**
 * @brief Shares one QString among equal values of a column (app names, bundle ids, URLs,
 * languages), and one origin among equal sources, which repeat across thousands of clips.
 */
class StringPool
{
public:
    std::optional<QString> value(const SqliteStatement &row, int column)
    {
        const std::optional<QByteArrayView> bytes = row.optionalBytes(column);
        if (!bytes)
            return std::nullopt;
        const std::string_view key(bytes->data(), size_t(bytes->size()));
        auto it = m_strings.find(key);
        if (it == m_strings.end())
            it = m_strings.emplace(std::string(key), QString::fromUtf8(*bytes)).first;
        return it->second;
    }

    /** The origin in the three columns from `column` on, one object for the clips of one source. */
    SharedClipOrigin origin(const SqliteStatement &row, int column)
    {
        m_key.clear();
        for (int c = column; c < column + 3; ++c) {
            if (const std::optional<QByteArrayView> bytes = row.optionalBytes(c)) {
                m_key += std::to_string(bytes->size());
                m_key += ':';
                m_key.append(bytes->data(), size_t(bytes->size()));
            } else {
                m_key += '-';
            }
        }
        auto it = m_origins.find(m_key);
        if (it == m_origins.end())
            it = m_origins.emplace(m_key, SharedClipOrigin({value(row, column), value(row, column + 1), value(row, column + 2)}))
                     .first;
        return it->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_strings;
    std::unordered_map<std::string, SharedClipOrigin> m_origins;
    std::string m_key;
};

ClipGroup groupOf(QByteArrayView raw)
{
    static const std::vector<std::pair<QByteArray, ClipGroup>> names = [] {
        std::vector<std::pair<QByteArray, ClipGroup>> table;
        for (ClipGroup group : ClipGroups::allCases)
            table.emplace_back(ClipGroups::rawValue(group).toLatin1(), group);
        return table;
    }();
    for (const auto &[name, group] : names) {
        if (raw == name)
            return group;
    }
    return ClipGroup::text;
}

/**
 * Every column but the text and the thumbnail; `textUtf8` receives the text's prefix for
 * converting later, `lengthQuery` gives the length of a text that was cut. Returns the
 * thumbnail's length.
 */
std::int64_t readRow(const SqliteStatement &row, SqliteStatement &lengthQuery, StringPool &pool, Clip &clip, QByteArray &textUtf8)
{
    clip.id = row.int64(0);
    clip.group = groupOf(row.bytes(1));
    // NULL reads as 0; only images have a size.
    if (const std::int64_t width = row.int64(2), height = row.int64(3); width > 0 && height > 0)
        clip.imageSize = QSize(int(width), int(height));
    clip.byteSize = row.int64(4);
    clip.origin = pool.origin(row, 5);
    clip.createdAt = row.real(8);
    clip.isPinned = row.int64(9) != 0;
    if (clip.isPinned && !row.isNull(10))
        clip.pinnedAt = row.real(10);
    clip.tagMask = row.int64(11);
    clip.summary = row.optionalText(12);
    clip.smartTitle = row.optionalText(13);
    clip.note = row.optionalText(14);
    clip.detail = pool.value(row, 15);
    if (const std::optional<QByteArrayView> prefix = row.optionalBytes(16)) {
        clip.setText(QString());
        textUtf8 = prefixBytes(*prefix);
        clip.textIsTruncated = isCut(textUtf8);
        if (clip.textIsTruncated) {
            lengthQuery.bind(1, clip.id);
            clip.textLength = lengthQuery.step() ? lengthQuery.int64(0) : 0;
            lengthQuery.reset();
        }
    }
    if (const std::optional<QString> preview = row.optionalText(18))
        clip.storedPreview = *preview;
    return row.int64(17);
}

QByteArray readThumbnail(SqliteStatement &query, std::int64_t id)
{
    query.bind(1, id);
    QByteArray png = query.step() ? query.blob(0) : QByteArray();
    query.reset();
    return png;
}

void finishClip(Clip &clip, QByteArray &textUtf8)
{
    if (clip.hasText()) {
        QString text = decodePrefix(std::exchange(textUtf8, {}), clip.textIsTruncated);
        if (!clip.textIsTruncated)
            clip.textLength = text.size() - std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.isLowSurrogate(); });
        clip.setText(std::move(text));
    }
    forgetDerivablePreview(clip);
}

/** One clip by id through the three queries (CLIP_ROW_SQL, TEXT_LENGTH_SQL, THUMBNAIL_SQL), or nothing. */
std::optional<Clip> readOneClip(SqliteStatement &row, SqliteStatement &lengthQuery, SqliteStatement &thumbnailQuery, std::int64_t id)
{
    QByteArray text;
    Clip clip;
    row.bind(1, id);
    if (!row.step()) {
        row.reset();
        return std::nullopt;
    }
    StringPool pool;
    const std::int64_t thumbnailLength = readRow(row, lengthQuery, pool, clip, text);
    row.reset(); // ends the read transaction, so checkpoints are not held up
    if (thumbnailLength > 0)
        clip.thumbnailPng = readThumbnail(thumbnailQuery, id);
    finishClip(clip, text);
    return clip;
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

} // namespace

class ClipDatabase::TextReader
{
public:
    TextReader(ClipDatabase &database, QByteArray uri)
        : m_database(database)
        , m_uri(std::move(uri))
    {
    }

    std::optional<QString> read(std::int64_t id)
    {
        return with([id](Queries &queries) { return readTextPrefix(queries.text, id); });
    }

    std::optional<QByteArray> readThumbnail(std::int64_t id)
    {
        return with([id](Queries &queries) -> std::optional<QByteArray> {
            QByteArray png = corvane::readThumbnail(queries.thumbnail, id);
            return png.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(png));
        });
    }

    /** One clip as the list load gives it, its text held. */
    std::optional<Clip> readClip(std::int64_t id)
    {
        return with([id](Queries &queries) { return readOneClip(queries.row, queries.length, queries.thumbnail, id); });
    }

    /** Waits for a read in progress; later reads find nothing. */
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_queries.reset();
        m_db.reset();
    }

private:
    /** @brief The reads, prepared once on a connection. */
    struct Queries {
        explicit Queries(sqlite3 *db)
            : text(db, TEXT_PREFIX_SQL)
            , row(db, CLIP_ROW_SQL)
            , length(db, TEXT_LENGTH_SQL)
            , thumbnail(db, THUMBNAIL_SQL)
        {
        }
        SqliteStatement text;
        SqliteStatement row;
        SqliteStatement length;
        SqliteStatement thumbnail;
    };

    /** Runs `read` on this reader's connection, or the database's when it has none; nothing once closed or on an error. */
    template<typename Read> auto with(Read read) -> decltype(read(std::declval<Queries &>()))
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return std::nullopt;
        try {
            if (!m_queries && !m_ownFailed)
                open();
            if (m_queries)
                return read(*m_queries);
            // No second connection (the history is held in memory): share the database's.
            std::lock_guard databaseLock(m_database.m_mutex);
            Queries queries(m_database.m_db);
            return read(queries);
        } catch (const Error &) {
            return std::nullopt;
        }
    }

    void open()
    {
        m_db = std::make_unique<SqliteHandle>();
        if (sqlite3_open_v2(m_uri.constData(), m_db->receive(), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                            nullptr)
            == SQLITE_OK) {
            sqlite3_busy_timeout(*m_db, 1000);
            try {
                m_queries = std::make_unique<Queries>(*m_db);
                return;
            } catch (const Error &) {
            }
        }
        m_db.reset();
        m_ownFailed = true;
    }

    ClipDatabase &m_database;
    QByteArray m_uri;
    std::mutex m_mutex;
    std::unique_ptr<SqliteHandle> m_db;
    std::unique_ptr<Queries> m_queries;
    bool m_ownFailed = false;
    bool m_closed = false;
};

void ClipDatabase::startTextReader(const QString &uri)
{
    m_textReader = std::make_shared<TextReader>(*this, uri.toUtf8());
    m_textSource = ClipTextSource::shared().add([reader = m_textReader](std::int64_t id) { return reader->read(id); });
}

void ClipDatabase::stopTextReader()
{
    if (!m_textReader)
        return;
    ClipTextSource::shared().remove(m_textSource);
    m_textReader->close();
}

QList<Clip> ClipDatabase::loadClips(TextVisitor *visitor)
{
    std::uint64_t writes = 0;
    std::int64_t dataVersion = 0;
    {
        std::lock_guard lock(m_mutex);
        noticeOtherWriters();
        writes = m_clipWrites;
        dataVersion = m_dataVersion;
    }
    // What the storage limit may remove, summed on the way: otherwise the first capture after
    // start-up would sum a million rows while holding the connection the GUI reads through.
    std::int64_t prunable = 0;
    QList<Clip> clips;
    {
        std::lock_guard lock(m_readerMutex);
        if (!m_reader) {
            if (sqlite3_open_v2(m_readerUri.toUtf8().constData(), m_reader.receive(),
                                SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI, nullptr)
                != SQLITE_OK) {
                const Error error = sqliteError(m_reader, Error::Kind::open);
                m_reader.receive(); // closed: the next read tries again
                throw error;
            }
            sqlite3_busy_timeout(m_reader, 5000);
        }
        SqliteTransaction snapshot(m_reader, SqliteTransaction::Mode::deferred);

        // The list order comes from the date index alone; the rows are then read in table
        // order, which visits their pages in sequence, and each lands at its place in the list.
        std::vector<std::pair<std::int64_t, qsizetype>> places;
        {
            SqliteStatement order(m_reader, "SELECT id FROM clips ORDER BY created_at DESC, id DESC");
            while (order.step())
                places.emplace_back(order.int64(0), qsizetype(places.size()));
        }
        std::sort(places.begin(), places.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
        // reserve() takes the exact size; resize() alone would round a large list up to a power of two.
        clips.reserve(qsizetype(places.size()));
        clips.resize(qsizetype(places.size()));
        if (visitor)
            visitor->begin(clips.size());
        // Rows are finished (texts converted, then visited) a batch at a time, so the load never
        // holds the bytes of every text at once; a visitor that lets go of the texts keeps it so.
        constexpr std::size_t batchSize = 32768;
        std::vector<std::pair<qsizetype, QByteArray>> batch;
        batch.reserve(std::min(batchSize, places.size()));
        auto finishBatch = [&] {
            parallelFor(qsizetype(batch.size()), [&](qsizetype k) {
                if (loadsStopped())
                    return;
                auto &[place, utf8] = batch[std::size_t(k)];
                finishClip(clips[place], utf8);
                if (visitor)
                    visitor->visit(place, clips[place]);
            });
            batch.clear();
        };

        StringPool pool;
        SqliteStatement rows(m_reader, "SELECT " CLIP_COLUMNS "FROM clips ORDER BY id DESC");
        SqliteStatement thumbnailQuery(m_reader, THUMBNAIL_SQL);
        SqliteStatement lengthQuery(m_reader, TEXT_LENGTH_SQL);
        for (const auto &[id, place] : places) {
            if (loadsStopped())
                throw Error(Error::Kind::stopped, QStringLiteral("The history is closing"));
            if (!rows.step() || rows.int64(0) != id)
                throw Error(Error::Kind::step, QStringLiteral("The clip list changed while it was read"));
            Clip &clip = clips[place];
            QByteArray utf8;
            const std::int64_t thumbnailLength = readRow(rows, lengthQuery, pool, clip, utf8);
            if (!clip.isPinned && clip.tagMask == 0)
                prunable += clip.byteSize + thumbnailLength;
            if (thumbnailLength > 0)
                clip.thumbnailPng = readThumbnail(thumbnailQuery, id);
            batch.emplace_back(place, std::move(utf8));
            if (batch.size() == batchSize)
                finishBatch();
        }
        finishBatch();
        if (loadsStopped())
            throw Error(Error::Kind::stopped, QStringLiteral("The history is closing"));
        snapshot.commit();
    }
    {
        std::lock_guard lock(m_mutex);
        noticeOtherWriters();
        if (!m_prunableBytes && writes == m_clipWrites && dataVersion == m_dataVersion)
            m_prunableBytes = prunable;
    }
    return clips;
}

QList<Clip> ClipDatabase::loadNewestClips(int count, TextVisitor *visitor)
{
    QList<std::int64_t> ids;
    {
        std::lock_guard lock(m_mutex);
        SqliteStatement query(m_db,
                              // Two indexed reads: an OR would visit every row to look at its pin.
                              "SELECT id, created_at FROM clips WHERE pinned != 0 UNION "
                              "SELECT id, created_at FROM (SELECT id, created_at FROM clips "
                              "ORDER BY created_at DESC, id DESC LIMIT ?1) "
                              "ORDER BY created_at DESC, id DESC");
        query.bind(1, std::int64_t(count));
        while (query.step())
            ids.append(query.int64(0));
    }
    QList<Clip> clips;
    clips.reserve(ids.size());
    for (std::int64_t id : ids) {
        if (std::optional<Clip> clip = loadClip(id)) // a row deleted meanwhile is left out
            clips.append(std::move(*clip));
    }
    if (visitor) {
        visitor->begin(clips.size());
        for (qsizetype i = 0; i < clips.size(); ++i)
            visitor->visit(i, clips[i]);
    }
    return clips;
}

std::optional<Clip> ClipDatabase::loadClip(std::int64_t id, TextVisitor *visitor)
{
    std::optional<Clip> clip;
    {
        std::lock_guard lock(m_mutex);
        SqliteStatement row(m_db, CLIP_ROW_SQL);
        SqliteStatement lengthQuery(m_db, TEXT_LENGTH_SQL);
        SqliteStatement thumbnailQuery(m_db, THUMBNAIL_SQL);
        clip = readOneClip(row, lengthQuery, thumbnailQuery, id);
    }
    if (clip && visitor) {
        visitor->begin(1);
        visitor->visit(0, *clip);
    }
    return clip;
}

std::optional<Clip> ClipDatabase::readClip(std::int64_t id) const
{
    return m_textReader ? m_textReader->readClip(id) : std::nullopt;
}

std::optional<QByteArray> ClipDatabase::thumbnail(std::int64_t id) const
{
    return m_textReader ? m_textReader->readThumbnail(id) : std::nullopt;
}

QStringList ClipDatabase::deleteOrphanLinkPreviews()
{
    // Keyed as the loaded clips key them: the trimmed prefix, so a link longer than the prefix
    // keeps its preview.
    QSet<QString> held;
    {
        std::lock_guard lock(m_mutex);
        SqliteStatement links(m_db, "SELECT coalesce(text_prefix, substr(CAST(text AS BLOB), 1, 8004)) FROM clips "
                                    "WHERE kind = 'link' AND text IS NOT NULL");
        while (links.step()) {
            const QByteArray utf8 = prefixBytes(links.bytes(0));
            held.insert(decodePrefix(utf8, isCut(utf8)).trimmed());
        }
    }
    return deleteLinkPreviews([&held](const QString &key) { return held.contains(key); });
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

} // namespace corvane
