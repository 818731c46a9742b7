// Inserting captured clips: new rows, bumps of equal content, near-duplicate images.
#include "ClipDatabase.h"

#include "SqliteStatement.h"

#include <bit>

namespace corvane {

using Kind = ClipDatabase::Error::Kind;

namespace {

/**
 * For a text longer than a list row shows: its length in code points and its opening, one
 * character longer than the loaded prefix (which tells the loader the text was cut).
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
        if (codePoints == Clip::textPrefixLength + 1)
            prefixEnd = i;
        ++codePoints;
    }
    if (prefixEnd < 0)
        return std::nullopt; // no longer than the prefix once surrogate pairs count as one
    return std::pair(codePoints, text->left(prefixEnd));
}

} // namespace

std::optional<std::int64_t> ClipDatabase::nearDuplicate(const NewClip &clip)
{
    if (clip.group != ClipGroup::image || !clip.dhash || clip.imageSize.isEmpty())
        return std::nullopt;
    SqliteStatement statement(m_db, R"sql(
        SELECT id, dhash FROM clips
        WHERE kind = 'image' AND image_width = ?1 AND image_height = ?2 AND dhash IS NOT NULL)sql");
    statement.bind(1, clip.imageSize.width()).bind(2, clip.imageSize.height());
    std::optional<std::int64_t> best;
    int bestDistance = nearDuplicateDistance + 1;
    // The closest picture wins; among equally close ones the newest row.
    while (statement.step()) {
        const auto stored = std::bit_cast<std::uint64_t>(statement.int64(1));
        const int distance = std::popcount(stored ^ *clip.dhash);
        const std::int64_t id = statement.int64(0);
        if (distance < bestDistance || (best && distance == bestDistance && id > *best)) {
            best = id;
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
                text_length, text_prefix, preview)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)
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
        // Only the whole text gives a long one's preview (a file count, a first line far down).
        if (const auto summary = longTextSummary(clip.text))
            upsert.bind(15, summary->first).bind(16, summary->second).bind(17, clipPreview(clip.group, clip.text, {}));
        else
            upsert.bindNull(15).bindNull(16).bindNull(17);
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

} // namespace corvane
