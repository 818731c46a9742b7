// Reading clips: the whole list for the views, and full texts and images on demand.
#include "ClipDatabase.h"

#include "SqliteStatement.h"

#include <algorithm>
#include <numeric>
#include <thread>
#include <vector>

namespace corvane {
namespace {

#define CLIP_COLUMNS                                                                               \
    "id, kind, image_width, image_height, byte_size, source_name, source_bundle_id, source_url, " \
    "created_at, pinned, pinned_at, tags, summary, smart_title, note, detail, length(text), "     \
    "substr(text, 1, 2000), thumbnail "

static_assert(Clip::textPrefixLength == 2000, "keep CLIP_COLUMNS' substr in step");

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
} // namespace

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

} // namespace corvane
