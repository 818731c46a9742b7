#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace corvane {

class ClipDatabase;

/**
 * @brief What the capture road writes into: the gate, skips, stored clips and warnings.
 *
 * The store implements it; capture knows nothing else of the store. Main thread.
 */
class CaptureSink
{
public:
    virtual ~CaptureSink() = default;

    /** False while nothing may be recorded (paused, no database, images off for an image). */
    virtual bool acceptsCapture(bool isImage) const = 0;
    /** A copy that was not recorded: the app's name and the reason. */
    virtual void recordSkip(const QString &appName, const QString &reason) = 0;
    /** The capture thread stored `recordedIDs` (oldest first); `prunedIDs` what its prunes deleted. */
    virtual void clipsRecorded(const QList<std::int64_t> &recordedIDs, const std::optional<QList<std::int64_t>> &prunedIDs) = 0;
    /** A copy was not stored and the user should know. */
    virtual void captureWarning(const QString &message) = 0;
    /** The clipboard's change count right after our own last write, 0 before any. */
    virtual qint64 ownChangeCount() const = 0;
    /** The database the capture thread writes into; null without one. */
    virtual std::shared_ptr<ClipDatabase> sharedDatabase() const = 0;
};

} // namespace corvane
