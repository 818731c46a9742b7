#include "SearchIndexBuilder.h"

#include "ClipCollection.h"
#include "FuzzyRunDictionary.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace corvane {

namespace {

constexpr int retryMs = 20;

QStringList copyOf(const ClipEntry::SearchFields &fields)
{
    QStringList texts;
    for (const QStringView field : fields.span())
        texts.append(field.toString());
    return texts;
}

/** Whether the ids of the shared dictionary whose codes take one byte are still to be handed out. */
bool rankingWanted() { return FuzzyRunDictionary::shared().size() < FuzzyHaystack::oneByteIds; }

} // namespace

void LoadIndexer::begin(qsizetype count)
{
    m_indexes.resize(std::size_t(count));
    m_sampling.store(rankingWanted(), std::memory_order_relaxed);
}

void LoadIndexer::visit(qsizetype place, Clip &clip)
{
    const QString sourceName = clip.sourceDisplayName();
    const ClipEntry::SearchFields fields = ClipEntry::searchFields(clip, sourceName);
    bool sampled = false;
    if (m_sampling.load(std::memory_order_acquire)) {
        // The other loading threads wait here until the sample is ranked and indexed.
        std::lock_guard lock(m_sampleMutex);
        if (m_sampling.load(std::memory_order_relaxed)) {
            m_sample.emplace_back(place, copyOf(fields));
            if (m_sample.size() == sampleSize)
                indexSample();
            sampled = true;
        }
    }
    if (!sampled)
        m_indexes[std::size_t(place)] = FuzzyHaystack(fields.span());
    if (m_textSource != 0)
        clip.readTextFrom(m_textSource);
}

std::vector<FuzzyHaystack> LoadIndexer::takeIndexes()
{
    {
        std::lock_guard lock(m_sampleMutex);
        if (m_sampling.load(std::memory_order_relaxed))
            indexSample();
    }
    return std::move(m_indexes);
}

void LoadIndexer::indexSample()
{
    std::vector<QStringList> texts;
    texts.reserve(m_sample.size());
    for (const auto &[place, fields] : m_sample)
        texts.push_back(fields);
    FuzzyHaystack::rankDictionary(texts);
    for (const auto &[place, fields] : m_sample)
        m_indexes[std::size_t(place)] = FuzzyHaystack(fields);
    m_sample.clear();
    m_sampling.store(false, std::memory_order_release);
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
        if (rankingWanted()) {
            // The first indexes of the process (the newest clips, shown while the rest loads).
            std::vector<QStringList> sample;
            for (std::size_t i = 0; i < std::min(work.size(), LoadIndexer::sampleSize); ++i)
                sample.push_back(copyOf(ClipEntry::searchFields(*work[i].first, work[i].second)));
            FuzzyHaystack::rankDictionary(sample);
        }
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
