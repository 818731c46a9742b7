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
    if (m_watcher.isRunning())
        return;
    std::vector<std::pair<ClipRef, QString>> work;
    for (const ClipEntry &entry : m_clips.entries()) {
        if (!entry.haystack)
            work.emplace_back(entry.clip, entry.sourceDisplayName);
    }
    if (work.empty())
        return;
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
    m_watcher.waitForFinished();
    if (m_watcher.isFinished())
        apply();
}

void SearchIndexBuilder::apply()
{
    if (m_watcher.future().resultCount() == 0)
        return;
    Built built = m_watcher.future().takeResult();
    for (auto &[clip, haystack] : built) {
        const ClipEntry *entry = m_clips.entry(clip->id);
        if (entry && entry->clip == clip && !entry->haystack)
            entry->haystack.emplace(std::move(haystack));
    }
    m_watcher.setFuture(QFuture<Built>());
    emit finished();
}

} // namespace corvane
