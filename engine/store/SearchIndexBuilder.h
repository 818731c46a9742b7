#pragma once

#include "ClipDatabase.h"
#include "ClipRef.h"
#include "FuzzyHaystack.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace corvane {

class ClipCollection;

/**
 * @brief Indexes each clip a load reads while its text is at hand, on the loading threads, so no
 * text is read again to index it. A secret's text stays out of the index (ClipEntry::searchFields).
 *
 * The first load of a process indexes its first clips only once it has seen `sampleSize` of them,
 * and lets their most frequent runs take the smallest ids (FuzzyHaystack::rankDictionary).
 */
class LoadIndexer final : public ClipDatabase::TextVisitor
{
public:
    /** With a `textSource` other than 0, each clip lets go of its text once indexed and reads it from there. */
    explicit LoadIndexer(std::uint32_t textSource = 0)
        : m_textSource(textSource)
    {
    }
    void begin(qsizetype count) override;
    void visit(qsizetype place, Clip &clip) override;
    /** The indexes, in the order of the clips the load returned. */
    std::vector<FuzzyHaystack> takeIndexes();

    static constexpr std::size_t sampleSize = 1000;

private:
    /** Ranks the runs of the sampled clips, then indexes them; with m_sampleMutex held. */
    void indexSample();

    std::vector<FuzzyHaystack> m_indexes;
    std::uint32_t m_textSource;
    std::atomic<bool> m_sampling = false;
    std::mutex m_sampleMutex;
    std::vector<std::pair<qsizetype, QStringList>> m_sample;
};

/**
 * @brief Builds the search index of freshly loaded clips on a worker thread, so the first
 * keystroke after start-up does not index 100,000 clips on the main thread.
 *
 * The worker reads only the loaded clips, which never change; results are handed to the entries
 * on the main thread, and only to entries still holding the same clip and no index yet, and
 * only while no background search reads the entries.
 */
class SearchIndexBuilder : public QObject
{
    Q_OBJECT

public:
    explicit SearchIndexBuilder(ClipCollection &clips, QObject *parent = nullptr);
    ~SearchIndexBuilder() override;

    /** Starts indexing the entries without an index (unless a run is still going). */
    void start();
    /** Clips indexed per worker run; each run's results are handed over before the next starts. */
    static constexpr std::size_t chunkSize = 8192;
    bool isRunning() const { return m_watcher.isRunning(); }
    void waitForFinished();

signals:
    void finished();

private:
    using Work = std::vector<std::pair<ClipRef, QString>>;
    using Built = std::vector<std::pair<ClipRef, FuzzyHaystack>>;
    void runNext();
    void apply();
    /** Hands the built indexes to the entries, once no background search reads them. */
    void adoptReady();

    std::vector<Work> m_pending;
    Built m_ready;
    ClipCollection &m_clips;
    QFutureWatcher<Built> m_watcher;
};

} // namespace corvane
