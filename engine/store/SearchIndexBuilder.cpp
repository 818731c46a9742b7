#include "SearchIndexBuilder.h"

#include "ClipCollection.h"

#include <QtConcurrent/QtConcurrentRun>

namespace corvane {

SearchIndexBuilder::SearchIndexBuilder(ClipCollection &clips, QObject *parent) : QObject(parent), m_clips(clips)
{
    connect(&m_watcher, &QFutureWatcher<Built>::finished, this, &SearchIndexBuilder::apply);
}

SearchIndexBuilder::~SearchIndexBuilder() { m_watcher.waitForFinished(); }

void SearchIndexBuilder::start()
{
    if (m_watcher.isRunning() || !m_pending.empty())
        return;
    Work work;
    for (const ClipEntry &entry : m_clips.entries()) {
        if (entry.haystack)
            continue;
        work.emplace_back(entry.clip, entry.sourceDisplayName);
        if (work.size() == chunkSize)
            m_pending.push_back(std::move(work)), work = {};
    }
    if (!work.empty())
        m_pending.push_back(std::move(work));
    runNext();
}

void SearchIndexBuilder::runNext()
{
    if (m_pending.empty()) {
        emit finished();
        return;
    }
    Work work = std::move(m_pending.front());
    m_pending.erase(m_pending.begin());
    m_watcher.setFuture(QtConcurrent::run([work = std::move(work)] {
        Built built;
        built.reserve(work.size());
        for (const auto &[clip, sourceName] : work)
            built.emplace_back(clip, FuzzyHaystack(ClipEntry::searchFields(*clip, sourceName)));
        return built;
    }));
}

void SearchIndexBuilder::waitForFinished()
{
    while (m_watcher.isRunning() || m_watcher.future().resultCount() > 0) {
        m_watcher.waitForFinished();
        apply();
    }
}

void SearchIndexBuilder::apply()
{
    if (m_watcher.future().resultCount() == 0)
        return;
    Built built = m_watcher.future().takeResult();
    m_watcher.setFuture(QFuture<Built>());
    for (auto &[clip, haystack] : built) {
        const ClipEntry *entry = m_clips.entry(clip->id);
        if (entry && entry->clip == clip && !entry->haystack)
            entry->haystack.emplace(std::move(haystack));
    }
    runNext();
}

} // namespace corvane
