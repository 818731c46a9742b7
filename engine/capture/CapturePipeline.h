#pragma once

#include "ClipDatabase.h"
#include "ClipboardPayload.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace corvane {

/** @brief One copy on its way to the history, with everything the capture thread needs. */
struct CaptureRequest {
    ClipboardPayload payload;
    std::optional<QString> sourceName;
    std::optional<QString> sourceBundleID;
    double date = 0; ///< seconds since 1970
    std::int64_t storageLimit = 0;
};

/** @brief What became of one capture. */
struct CaptureOutcome {
    enum class Kind {
        stored,  ///< a row was inserted, bumped or replaced
        dropped, ///< nothing usable in the payload (an unreadable image)
        failed,  ///< not stored, with a warning for the user
        skipped  ///< not stored on purpose (an image above the pixel limit); `warning` holds the reason
    };
    Kind kind = Kind::dropped;
    std::int64_t clipID = 0;
    bool isNewRow = false; ///< inserted rather than bumped or replaced
    /** What the prune after storing deleted; nothing when that prune failed. */
    std::optional<QList<std::int64_t>> prunedIDs;
    QString warning;
    std::optional<QString> sourceName; ///< the app the copy came from
};

/**
 * @brief The work of the capture thread for one copy: classify or decode, hash, thumbnail,
 * insert or bump, prune.
 *
 * Runs on whatever thread calls it; the database serialises itself.
 */
class CapturePipeline
{
public:
    explicit CapturePipeline(ClipDatabase &database)
        : m_database(database)
    {
    }

    CaptureOutcome process(const CaptureRequest &request);

    /**
     * The row to insert for a request; nothing when the payload holds no usable content, or
     * (with `skipReason` set) when it is not taken on purpose.
     */
    static std::optional<ClipDatabase::NewClip> prepare(const CaptureRequest &request, QString *skipReason = nullptr);

private:
    ClipDatabase &m_database;
};

} // namespace corvane
