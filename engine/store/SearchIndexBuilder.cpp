#include "SearchIndexBuilder.h"

#include "ClipCollection.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace corvane {

namespace {
constexpr int retryMs = 20;
}

void LoadIndexer::begin(qsizetype count) { m_indexes.resize(std::size_t(count)); }

void LoadIndexer::visit(qsizetype place, Clip &clip)
{
    m_indexes[std::size_t(place)] = FuzzyHaystack(ClipEntry::searchFields(clip, clip.sourceDisplayName()).span());
    if (m_textSource != 0)
        clip.readTextFrom(m_textSource);
}

SearchIndexBuilder::SearchIndexBuilder(ClipCollection &clips, QObject *parent)
    : QObject(parent)
    , m_clips(clips)
{
    connect(&m_watcher, &QFutureWatcher<Built>::finished, this, &SearchIndexBuilder::apply);
}

SearchIndexBuilder::~SearchIndexBuilder() { m_watcher.waitForFinished(); }

void SearchIndexBuilder::start()
{
    if (m_watcher.isRunning() || !m_pending.empty() || !m_ready.empty())
        return;
    Work work;
    for (const ClipEntry &entry : m_clips.entries()) {
        if (entry.haystack || !entry.clip) // an entry lets go of its clip only once indexed
            continue;
        work.emplace_back(entry.clip, entry.sourceDisplayName());
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
            built.emplace_back(clip, FuzzyHaystack(ClipEntry::searchFields(*clip, sourceName).span()));
        return built;
    }));
}

void SearchIndexBuilder::waitForFinished()
{
    while (m_watcher.isRunning() || m_watcher.future().resultCount() > 0 || !m_ready.empty()) {
        m_watcher.waitForFinished();
        apply();
        if (!m_ready.empty()) // a background search holds the entries
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void SearchIndexBuilder::apply()
{
    if (m_watcher.future().resultCount() == 0)
        return;
    m_ready = m_watcher.future().takeResult();
    m_watcher.setFuture(QFuture<Built>());
    adoptReady();
}

void SearchIndexBuilder::adoptReady()
{
    if (m_ready.empty())
        return;
    if (m_clips.isShared()) {
        // Changing the entries now would copy them all; a search ends within milliseconds.
        QTimer::singleShot(retryMs, this, &SearchIndexBuilder::adoptReady);
        return;
    }
    for (auto &[clip, haystack] : m_ready)
        m_clips.adoptSearchIndex(clip, std::move(haystack));
    m_ready.clear();
    runNext();
}

} // namespace corvane
