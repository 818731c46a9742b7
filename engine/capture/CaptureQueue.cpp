#include "CaptureQueue.h"

#include <QPointer>

namespace corvane {

CaptureQueue::CaptureQueue(std::shared_ptr<ClipDatabase> database, QObject *parent)
    : QObject(parent)
    , m_database(std::move(database))
    , m_pipeline(*m_database)
{
}

CaptureQueue::~CaptureQueue() = default;

void CaptureQueue::enqueue(CaptureRequest request)
{
    ++m_pending;
    QPointer<CaptureQueue> self(this);
    m_worker.post([this, self, request = std::move(request)] {
        const CaptureOutcome outcome = m_pipeline.process(request);
        QMetaObject::invokeMethod(
            self.data(),
            [self, outcome] {
                if (self)
                    self->finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

void CaptureQueue::finished(const CaptureOutcome &outcome)
{
    --m_pending;
    if (outcome.kind == CaptureOutcome::Kind::stored) {
        m_batch.append(outcome.clipID);
        if (!outcome.prunedIDs)
            m_batchPruned.reset();
        else if (m_batchPruned)
            m_batchPruned->append(*outcome.prunedIDs);
    } else if (outcome.kind == CaptureOutcome::Kind::failed && onCaptureWarning)
        onCaptureWarning(outcome.warning);
    else if (outcome.kind == CaptureOutcome::Kind::skipped && onCaptureSkipped)
        onCaptureSkipped(outcome.sourceName.value_or(QString()), outcome.warning);
    if (m_pending == 0 || m_batch.size() >= batchLimit)
        flush();
}

void CaptureQueue::flush()
{
    if (m_batch.isEmpty())
        return;
    const QList<std::int64_t> ids = std::exchange(m_batch, {});
    const std::optional<QList<std::int64_t>> pruned = std::exchange(m_batchPruned, QList<std::int64_t>{});
    if (onClipsRecorded)
        onClipsRecorded(ids, pruned);
}

} // namespace corvane
