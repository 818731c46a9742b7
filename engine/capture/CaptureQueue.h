#pragma once

#include "CapturePipeline.h"
#include "SerialWorker.h"

#include <QList>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace corvane {

/**
 * @brief The one serial capture thread. Copies go in on the main thread, are stored one after
 * another on the worker, and their results come back to the main thread in batches.
 *
 * A burst of copies gives one `onClipsRecorded` call (one reload) once the queue has drained,
 * or every `batchLimit` results during a long burst.
 */
class CaptureQueue : public QObject
{
    Q_OBJECT
public:
    static constexpr int batchLimit = 500;

    /** The queue keeps the database alive while a copy is still being stored. */
    explicit CaptureQueue(std::shared_ptr<ClipDatabase> database, QObject *parent = nullptr);
    ~CaptureQueue() override;

    void enqueue(CaptureRequest request);
    /** Copies handed in whose results have not reached the main thread yet. */
    int pendingCount() const { return m_pending; }

    /**
     * The ids of the clips stored (new, bumped or replaced), oldest first, and what their prunes
     * deleted (nothing when a prune failed, so the caller reads everything); on the main thread.
     */
    std::function<void(const QList<std::int64_t> &ids, const std::optional<QList<std::int64_t>> &prunedIDs)> onClipsRecorded;
    /** A copy was not stored and the user should know ("Too large to save"). */
    std::function<void(const QString &message)> onCaptureWarning;
    /** A copy was left out on purpose: the app it came from (empty when unknown) and why. */
    std::function<void(const QString &appName, const QString &reason)> onCaptureSkipped;

private:
    void finished(const CaptureOutcome &outcome);
    void flush();

    std::shared_ptr<ClipDatabase> m_database;
    CapturePipeline m_pipeline;
    SerialWorker m_worker{QStringLiteral("Corvane capture")};
    int m_pending = 0;
    QList<std::int64_t> m_batch;
    std::optional<QList<std::int64_t>> m_batchPruned = QList<std::int64_t>{};
};

} // namespace corvane
