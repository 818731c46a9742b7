#pragma once

#include "DerivedLists.h"

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>

namespace corvane {

/**
 * @brief Runs one search at a time over a snapshot of the history, off the main thread.
 *
 * Starting a search cancels the one under way: with a large history every keystroke starts one,
 * and only the last is worth finishing. The result comes back on the object's thread, together
 * with the snapshot, so the history stays shared until then and is never changed under a search.
 */
class BackgroundSearch : public QObject
{
    Q_OBJECT

public:
    /** @brief What was searched, handed back with the result. */
    struct Request {
        ClipFilter filter;
        QString searchText;
        SearchContext context;
        /** Anything else the result depends on (the store's secrets revision). */
        std::uint64_t generation = 0;
    };
    using Done = std::function<void(const Request &, const ClipSnapshot &, std::vector<int>)>;

    explicit BackgroundSearch(Done done, QObject *parent = nullptr);
    ~BackgroundSearch() override;

    void start(ClipSnapshot clips, Request request);
    /** Whether a search for this request is under way. */
    bool isSearching(const ClipFilter &filter, const QString &searchText) const;
    /** Cancels the search under way; its result is dropped. */
    void cancel();
    /** Waits for the searches under way, delivering the last one's result. */
    void waitForFinished();

private:
    struct Job;
    void finish(const std::shared_ptr<Job> &job);

    Done m_done;
    QThreadPool m_pool;
    std::shared_ptr<Job> m_current;
};

} // namespace corvane
