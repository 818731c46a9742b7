#include "BackgroundSearch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

#include <atomic>
#include <optional>

namespace corvane {

struct BackgroundSearch::Job {
    Request request;
    ClipSnapshot clips;
    std::atomic<bool> cancelled = false;
    std::optional<std::vector<int>> result;
};

BackgroundSearch::BackgroundSearch(Done done, QObject *parent)
    : QObject(parent)
    , m_done(std::move(done))
{
    // One search at a time; a cancelled one stops within a fraction of a millisecond. The search
    // itself still spreads its slices over the shared pool.
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("Corvane search"));
    // Searches come in bursts of keystrokes; between bursts the thread is given back.
    m_pool.setExpiryTimeout(2000);
}

BackgroundSearch::~BackgroundSearch()
{
    cancel();
    m_pool.waitForDone();
}

void BackgroundSearch::start(ClipSnapshot clips, Request request)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->request = std::move(request);
    job->clips = std::move(clips);
    m_current = job;
    QPointer<BackgroundSearch> self(this);
    m_pool.start([self, job] {
        if (!job->cancelled.load())
            job->result = DerivedLists::visible(job->clips, job->request.filter, job->request.searchText, job->request.context,
                                                job->cancelled);
        // Back on the owner's thread: it alone releases the snapshot and takes the result.
        QMetaObject::invokeMethod(
            self.data(),
            [self, job] {
                if (self)
                    self->finish(job);
            },
            Qt::QueuedConnection);
    });
}

bool BackgroundSearch::isSearching(const ClipFilter &filter, const QString &searchText) const
{
    return m_current && m_current->request.filter == filter && m_current->request.searchText == searchText;
}

void BackgroundSearch::cancel()
{
    if (m_current)
        m_current->cancelled = true;
    m_current.reset();
}

void BackgroundSearch::finish(const std::shared_ptr<Job> &job)
{
    const bool current = job == m_current;
    if (current)
        m_current.reset();
    ClipSnapshot clips = std::move(job->clips);
    std::optional<std::vector<int>> result = std::move(job->result);
    if (current && result && !job->cancelled.load())
        m_done(job->request, clips, std::move(*result));
}

void BackgroundSearch::waitForFinished()
{
    m_pool.waitForDone();
    // The results were posted to this thread; deliver them now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

} // namespace corvane
