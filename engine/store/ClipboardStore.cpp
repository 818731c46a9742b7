#include "ClipboardStore.h"
#include "Logging.h"

#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipFilterKey.h"
#include "ClipListModel.h"
#include "ClipText.h"
#include "ClipboardCapture.h"
#include "ClipboardService.h"
#include "Clock.h"
#include "DerivedListCache.h"
#include "DesktopEntries.h"
#include "BackgroundSearch.h"
#include "SearchIndexBuilder.h"
#include "ThumbnailImageProvider.h"
#include "ImageTools.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>
#include <QtConcurrent>
#include <QUrl>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef __linux__
#include <sys/resource.h>
#endif

namespace corvane {

ClipboardStore::ClipboardStore(const Services &services, QObject *parent)
    : QObject(parent)
    , m_settings(services.settings)
    , m_clipboard(services.clipboard)
    , m_clock(services.clock)
    , m_desktopEntries(services.desktopEntries)
    , m_zone(services.timeZone)
    , m_derived(std::make_unique<DerivedListCache>(m_clips))
    , m_revealed(*m_clock,
                 [this] {
                     m_derived->secretsChanged();
                     emit revealedSecretsChanged();
                 })
    , m_notices(*m_clock, [this] { emit noticeChanged(); })
    , m_pause(*m_clock, [this](bool paused) {
        emit isPausedChanged();
        if (onPauseChanged)
            onPauseChanged(paused);
    })
{
    Q_ASSERT(m_settings && m_clipboard && m_clock);
    DesktopEntries *entries = m_desktopEntries;
    auto appIcons = [entries](const QString &bundleID) {
        return entries ? appIcon(*entries, bundleID, SourceIconCache::iconPixelSize).value_or(QImage()) : QImage();
    };
    m_icons = new SourceIconCache(*m_clock, appIcons, services.siteIcons, this);
    m_icons->setWebAllowed(m_settings->internetPreviewsEnabled());
    m_icons->setSchemeLookup([this](const QString &host) {
        for (const ClipEntry &entry : m_clips.entries()) {
            if (entry.sourceHost() != host)
                continue;
            if (const ClipRef clip = m_clips.clip(entry.id); clip && clip->sourceURL())
                return QUrl(*clip->sourceURL()).scheme();
        }
        return QString();
    });
    connect(m_icons, &SourceIconCache::iconArrived, this, &ClipboardStore::iconRevisionChanged);
    connect(m_settings, &AppSettings::internetPreviewsEnabledChanged, this,
            [this] { m_icons->setWebAllowed(m_settings->internetPreviewsEnabled()); });
    connect(m_settings, &AppSettings::keptSourcesChanged, this, &ClipboardStore::sidebarSourcesChanged);
    connect(m_settings, &AppSettings::hiddenSourcesChanged, this, &ClipboardStore::sidebarSourcesChanged);

    m_indexBuilder = new SearchIndexBuilder(m_clips, this);
    m_search = new BackgroundSearch(
        [this](const BackgroundSearch::Request &request, const ClipSnapshot &clips, std::vector<int> indices) {
            m_derived->insert(request.filter, request.searchText, request.context, clips.revision, request.generation,
                              std::move(indices));
            emit visibleSearchFinished();
        },
        this);
    m_clipModel = new ClipListModel(this);
    m_clipModel->setSectioned(true);
    m_clipModel->setStore(this);

    // What could not be read in the settings is for the user to hear about, not only the log.
    if (!m_settings->problems().isEmpty())
        showNotice(m_settings->problems().first(), Notice::Kind::warning);
    m_activeWindow = services.activeWindow;
    m_clipboardSource = services.clipboardSource;
    m_loadInBackground = services.loadInBackground;
    m_checkWhenAskedFrom = services.checkWhenAskedFrom;
    m_openingHeld = m_checkWhenAskedFrom.has_value();
    // Watching begins now, though reading the copies waits for the history: one made while it
    // opens is still recorded.
    m_clipboardSeen = m_clipboard ? m_clipboard->changeCount() : 0;
    const bool inBackground = services.openInBackground && !services.databasePath.isEmpty();
    if (!services.databasePath.isEmpty())
        openDatabase(services.databasePath, inBackground);
    if (!inBackground) {
        loadHistory();
        startCapture();
    }
}

ClipboardStore::~ClipboardStore()
{
    {
        std::lock_guard lock(m_openingMutex);
        m_shutDown = true;
    }
    m_openingGate.notify_all();
    if (m_opening.joinable())
        m_opening.join();
    if (shared() == this)
        setShared(nullptr);
}

namespace {

/** The newest and pinned clips of an existing history, read without checking the whole file. */
std::optional<QList<Clip>> firstLook(const QString &path, const std::function<double()> &now)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    try {
        ClipDatabase database(path, now, ClipDatabase::Access::firstLook);
        return database.loadNewestClips(ClipboardStore::firstLoadCount);
    } catch (const ClipDatabase::Error &) {
        return std::nullopt; // the full open tells what is wrong
    }
}

} // namespace

void ClipboardStore::openDatabase(const QString &path, bool inBackground)
{
    auto clock = m_clock;
    auto now = [clock] { return clock->now().toMSecsSinceEpoch() / 1000.0; };
    if (!inBackground) {
        adoptDatabase(ClipDatabase::openOrRecover(path, now));
        return;
    }
    // The integrity check reads the whole file, and a salvage copies it: never on the GUI thread.
    m_opening = std::thread([this, path, now] {
        // Checking a large file takes a second or more: meanwhile the newest clips are shown from a
        // read that changes nothing. Edits wait for the checked history.
        if (std::optional<QList<Clip>> newest = firstLook(path, now)) {
            QMetaObject::invokeMethod(
                this,
                [this, newest = std::move(*newest)]() mutable {
                    if (!m_database && m_clips.size() == 0)
                        replaceClips(std::move(newest));
                },
                Qt::QueuedConnection);
        }
        if (m_checkWhenAskedFrom && QFileInfo(path).size() >= *m_checkWhenAskedFrom) {
            std::unique_lock lock(m_openingMutex);
            m_openingGate.wait(lock, [this] { return !m_openingHeld || m_shutDown; });
            if (m_shutDown)
                return;
        }
        ClipDatabase::Opened opened = ClipDatabase::openOrRecover(path, now);
        QMetaObject::invokeMethod(
            this,
            [this, opened = std::move(opened)] {
                // Quitting came first: the history stays closed.
                if (m_shutDown)
                    return;
                adoptDatabase(opened);
                loadHistory();
                startCapture();
            },
            Qt::QueuedConnection);
    });
}

void ClipboardStore::adoptDatabase(const ClipDatabase::Opened &opened)
{
    {
        std::lock_guard lock(m_databaseMutex);
        m_database = opened.database;
    }
    // A large history's clips are read when asked for rather than all held.
    std::shared_ptr<OnDemandClips> onDemand;
    if (m_database) {
        onDemand = std::make_shared<OnDemandClips>([database = std::weak_ptr<ClipDatabase>(m_database)](std::int64_t id) {
            const std::shared_ptr<ClipDatabase> open = database.lock();
            return open ? open->readClip(id) : std::nullopt;
        });
    }
    m_clips.setOnDemand(std::move(onDemand));
    m_icons->setDatabase(m_database.get());
    if (m_database)
        emit hasDatabaseChanged();
    if (!opened.warning.isEmpty()) {
        // A file that could not be opened stays as it is for the user to inspect or move away.
        qCWarning(logDb).noquote() << "Corvane:" << opened.warning;
        // Kept beyond the notice's seconds: the window is usually opened long after start-up.
        m_openingWarning = opened.warning;
        emit historyProblemChanged();
        showNotice(opened.warning, Notice::Kind::warning);
    }
}

void ClipboardStore::startCapture()
{
    if (!m_activeWindow || m_capture)
        return;
    std::unique_ptr<ClipboardSource> source = m_clipboardSource ? m_clipboardSource(*m_clipboard) : nullptr;
    m_capture
        = std::make_unique<ClipboardCapture>(*this, *m_settings, *m_clipboard, *m_activeWindow, *m_clock, std::move(source));
    m_capture->start(m_clipboardSeen);
}

void ClipboardStore::continueOpening()
{
    {
        std::lock_guard lock(m_openingMutex);
        m_openingHeld = false;
    }
    m_openingGate.notify_all();
}

int ClipboardStore::shutdown(int drainMilliseconds)
{
    {
        std::lock_guard lock(m_openingMutex);
        m_shutDown = true;
    }
    m_openingGate.notify_all();
    const int unfinished = m_capture ? m_capture->drain(drainMilliseconds) : 0;
    // A copy still being saved keeps the history open until its worker lets go.
    if (unfinished == 0)
        m_capture.reset();
    m_icons->setDatabase(nullptr);
    // A whole-history read under way would hold quitting up for seconds.
    if (m_database)
        m_database->stopLoads();
    const bool had = m_database != nullptr;
    std::shared_ptr<ClipDatabase> closing;
    {
        std::lock_guard lock(m_databaseMutex);
        closing = std::exchange(m_database, nullptr);
    }
    closing.reset(); // closes the history unless a late task still holds it
    if (had)
        emit hasDatabaseChanged();
    return unfinished;
}

QDateTime ClipboardStore::now() const { return m_clock->now(); }

SearchContext ClipboardStore::searchContext() const
{
    SearchContext context{m_clock->now(), m_zone, m_revealed.ids(), {}};
    for (const std::int64_t id : context.revealedSecrets) {
        if (ClipRef clip = m_clips.clip(id))
            context.revealedClips.insert(id, std::move(clip));
    }
    return context;
}

ClipRef ClipboardStore::clip(std::int64_t id) const { return m_clips.clip(id); }

ClipList ClipboardStore::clipsOf(ClipGroup group) const
{
    ClipList clips;
    const std::vector<ClipEntry> &entries = m_clips.entries();
    for (int i = 0; i < int(entries.size()); ++i) {
        if (entries[std::size_t(i)].group == group) {
            if (ClipRef clip = m_clips.clipAt(i))
                clips.append(std::move(clip));
        }
    }
    return clips;
}

namespace {

/** Whether a loaded clip still shows its row. */
bool matches(const ClipDatabase::RowState &row, const ClipEntry &entry)
{
    if (const ClipRef &clip = entry.clip) {
        return row.createdAt == clip->createdAt && row.pinned == clip->isPinned && row.pinnedAt == clip->pinnedAt
            && row.tags == clip->tagMask && row.byteSize == clip->byteSize && row.imageSize == clip->imageSize
            && row.thumbnailLength == clip->thumbnailPng.size() && row.note == clip->note && row.summary == clip->summary
            && row.smartTitle == clip->smartTitle && row.detail == clip->detail;
    }
    return row.createdAt == entry.createdAt && row.pinned == entry.isPinned
        && entry.tagMask == std::uint8_t(row.tags & ColorTags::knownBits)
        && entry.stamp
        == changeableStamp(row.pinnedAt, row.tags, row.byteSize, row.imageSize, row.thumbnailLength, row.note, row.summary,
                           row.smartTitle, row.detail);
}

/** Where loaded clips read their texts once indexed: searching needs only the index. */
std::uint32_t loadedTextSource(const ClipDatabase &database) { return database.textSource(); }

/** Beyond this many stale clips one full read is quicker than reading them one by one. */
constexpr qsizetype maxSingleReads = 2000;

/**
 * Hands the pages a whole-history read left free back to the system. The read's buffers were
 * spread over the loading threads' heaps, which the allocator otherwise keeps for good.
 */
void returnFreedMemory()
{
#ifdef __GLIBC__
    // Walking a large heap takes a while: not on the GUI thread.
    QThreadPool::globalInstance()->start([] { malloc_trim(0); });
#endif
}

/**
 * Where the whole history is read in the background: one thread, gone soon after. It and the
 * loading threads it starts yield the cores to the GUI and render threads, so reading a million
 * clips on a busy machine doesn't hold up input or frames.
 */
QThreadPool *historyReadPool()
{
    static QPointer<QThreadPool> pool;
    if (!pool) {
        // Owned by the application, which waits for a read under way when it ends (as for the
        // global pool): a read may outlast the store.
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setObjectName(QStringLiteral("Corvane history"));
        pool->setMaxThreadCount(1);
        pool->setExpiryTimeout(2000);
    }
    return pool;
}

void yieldToInteractiveThreads()
{
#ifdef __linux__
    // Linux keeps a niceness per thread, and threads started from this one inherit it.
    setpriority(PRIO_PROCESS, 0, 10);
#endif
}

} // namespace

void ClipboardStore::loadHistory()
{
    if (m_loadInBackground && m_database)
        loadInBackground();
    else
        reload();
}

void ClipboardStore::loadInBackground()
{
    try {
        replaceClips(m_database->loadNewestClips(firstLoadCount));
        // From here the journal names what changes while the worker reads, so the reload after
        // it reads only those clips instead of comparing every row on the GUI thread.
        m_database->takeChangedIDs();
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: loading the history failed:" << error.message();
    }
    const std::uint64_t fromRevision = m_clips.revision();
    // Filled by the worker along with the collection, so the first look at a million clips costs
    // the views nothing on the GUI thread.
    auto seed = std::make_shared<std::pair<DerivedListSeed, QHash<std::int64_t, QByteArray>>>();
    m_fullLoad = new QFutureWatcher<std::shared_ptr<ClipCollection>>(this);
    connect(m_fullLoad, &QFutureWatcherBase::finished, this, [this, fromRevision, seed] {
        std::shared_ptr<ClipCollection> updated = m_fullLoad->result();
        m_fullLoad->deleteLater();
        m_fullLoad = nullptr;
        if (m_shutDown)
            return;
        if (updated) {
            setHistoryProblem({});
            const qint64 oldStorage = m_clips.storageUsed();
            if (m_clips.adopt(std::move(*updated), fromRevision)) {
                m_derived->seed(std::move(seed->first));
                m_loadedThumbnails = Thumbnails{m_clips.revision(), std::move(seed->second)};
                // What was written while the worker read goes in before anyone looks: a clip of
                // the last seconds missing for a moment would leave the selection and the queue.
                try {
                    if (const std::optional<StaleClips> stale = staleClips())
                        patchClips(stale->changed, stale->gone);
                } catch (const ClipDatabase::Error &error) {
                    qCWarning(logDb).noquote() << "Corvane: loading clips failed:" << error.message();
                }
                clipsReplaced(oldStorage);
                m_loadedThumbnails.reset();
            }
        }
        reload();
        returnFreedMemory();
    });
    // A million clips take seconds to turn into entries and indexes: all of it off the GUI thread,
    // on a copy that shares the loaded entries until it changes them.
    auto base = std::make_shared<ClipCollection>(m_clips);
    m_fullLoad->setFuture(
        QtConcurrent::run(historyReadPool(), [database = m_database, base = std::move(base), zone = m_zone,
                                              now = m_clock->now(), seed]() -> std::shared_ptr<ClipCollection> {
            yieldToInteractiveThreads();
            try {
                auto [clips, indexes] = loadIndexed(*database);
                base->replace(std::move(clips), zone, std::move(indexes));
                if (database->loadsStopped())
                    return nullptr;
                *seed = {DerivedListSeed::compute(*base, {now, zone, {}}), ThumbnailImageProvider::thumbnailsOf(*base)};
                return base;
            } catch (const ClipDatabase::Error &error) {
                if (error.kind() != ClipDatabase::Error::Kind::stopped)
                    qCWarning(logDb).noquote() << "Corvane: loading the history failed:" << error.message();
                return nullptr;
            }
        }));
}

void ClipboardStore::reload()
{
    // The read under way brings every row, and a reload follows it.
    if (m_fullLoad)
        return;
    if (!m_database) {
        replaceClips({});
        return;
    }
    std::optional<StaleClips> stale;
    try {
        if (m_clips.size() > 0)
            stale = staleClips();
        else
            m_database->takeChangedIDs(); // the full read below brings everything the journal names
    } catch (const ClipDatabase::Error &error) {
        loadFailed(error.message());
        return;
    }
    if (stale) {
        reloadClips(stale->changed, stale->gone);
        return;
    }
    try {
        auto [clips, indexes] = loadIndexed(*m_database);
        replaceClips(std::move(clips), std::move(indexes));
        returnFreedMemory();
    } catch (const ClipDatabase::Error &error) {
        loadFailed(error.message());
    }
}

std::optional<ClipboardStore::StaleClips> ClipboardStore::staleClips()
{
    // Only the stale clips are read again: those the database's journal names, or when it cannot
    // tell (another process wrote), those whose changeable values differ. Nothing when there are
    // too many: one full read is quicker then.
    const std::optional<QSet<std::int64_t>> journal = m_database->takeChangedIDs();
    if (journal && journal->size() <= maxSingleReads)
        return StaleClips{QList<std::int64_t>(journal->begin(), journal->end()), {}};
    const QList<ClipDatabase::RowState> rows = m_database->rowStates();
    StaleClips stale;
    std::int64_t maxID = 0;
    for (const ClipDatabase::RowState &row : rows)
        maxID = std::max(maxID, row.id);
    IdIndex present;
    present.reset(maxID, std::size_t(rows.size()));
    for (const ClipDatabase::RowState &row : rows) {
        present.insert(row.id, 0);
        const ClipEntry *entry = m_clips.entry(row.id);
        if (!entry || !matches(row, *entry))
            stale.changed.append(row.id);
    }
    if (stale.changed.size() > maxSingleReads)
        return std::nullopt;
    for (const ClipEntry &entry : m_clips.entries()) {
        if (!present.contains(entry.id))
            stale.gone.append(entry.id);
    }
    return stale;
}

void ClipboardStore::loadFailed(const QString &message)
{
    qCWarning(logDb).noquote() << "Corvane: loading the history failed:" << message;
    const bool isNew = m_historyProblem.isEmpty();
    setHistoryProblem(QStringLiteral("Couldn’t read the history: ") + message);
    if (isNew)
        showNotice(m_historyProblem, Notice::Kind::warning);
}

void ClipboardStore::setHistoryProblem(const QString &problem)
{
    if (problem == m_historyProblem)
        return;
    m_historyProblem = problem;
    emit historyProblemChanged();
}

std::pair<QList<Clip>, std::vector<FuzzyHaystack>> ClipboardStore::loadIndexed(ClipDatabase &database)
{
    LoadIndexer indexer(loadedTextSource(database));
    QList<Clip> clips = database.loadClips(&indexer);
    return {std::move(clips), indexer.takeIndexes()};
}

void ClipboardStore::replaceClips(QList<Clip> loaded, std::vector<FuzzyHaystack> indexes)
{
    const qint64 oldStorage = m_clips.storageUsed();
    if (m_database)
        setHistoryProblem({});
    if (m_clips.replace(std::move(loaded), m_zone, std::move(indexes)))
        clipsReplaced(oldStorage);
}

void ClipboardStore::clipsReplaced(qint64 oldStorage)
{
    m_indexBuilder->start();
    afterReload();
    if (oldStorage != m_clips.storageUsed())
        emit storageUsedChanged();
}

void ClipboardStore::reloadClips(const QList<std::int64_t> &changed, const QList<std::int64_t> &removed)
{
    if (!m_database)
        return;
    const qint64 oldStorage = m_clips.storageUsed();
    const std::optional<bool> patched = patchClips(changed, removed);
    if (!patched) {
        reload();
        return;
    }
    setHistoryProblem({});
    if (!*patched)
        return;
    afterReload();
    if (oldStorage != m_clips.storageUsed())
        emit storageUsedChanged();
}

std::optional<bool> ClipboardStore::patchClips(const QList<std::int64_t> &changed, const QList<std::int64_t> &removed)
{
    QList<Clip> loaded;
    std::vector<FuzzyHaystack> indexes;
    QSet<std::int64_t> gone(removed.begin(), removed.end());
    try {
        for (std::int64_t id : changed) {
            LoadIndexer indexer(loadedTextSource(*m_database));
            if (auto clip = m_database->loadClip(id, &indexer)) {
                loaded.append(std::move(*clip));
                indexes.push_back(std::move(indexer.takeIndexes().front()));
            } else {
                gone.insert(id);
            }
        }
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: loading clips failed:" << error.message();
        return std::nullopt;
    }
    return m_clips.patch(std::move(loaded), gone, std::move(indexes));
}

void ClipboardStore::afterReload()
{
    // Whatever vanished leaves the selection, the revealed secrets, the filter and the queue.
    const auto exists = [this](std::int64_t id) { return m_clips.contains(id); };
    if (m_selection.retain(exists))
        emit selectionChanged();
    m_revealed.retain(exists);
    if (m_quickLookID && !m_clips.contains(*m_quickLookID))
        setQuickLookClip(std::nullopt);

    if (m_filter.kind == ClipFilter::Kind::day || m_filter.kind == ClipFilter::Kind::app) {
        const bool present = m_filter.kind == ClipFilter::Kind::day
            ? m_clips.tallies().days.contains(std::int64_t(m_filter.day))
            : std::any_of(m_clips.entries().begin(), m_clips.entries().end(),
                          [this](const ClipEntry &entry) { return entry.sourceKey() == m_filter.bundleID; });
        if (!present)
            setFilter(ClipFilter::all());
    }

    QList<std::int64_t> vanishedImages;
    for (std::int64_t id : m_images.ids()) {
        if (!m_clips.contains(id))
            vanishedImages.append(id);
    }
    evictImages(vanishedImages);

    const PasteQueue::Retained retained = m_queue.retain(exists);
    if (retained.currentReplaced)
        writeQueueItem();
    emit clipsChanged();
    emit sidebarSourcesChanged();
    if (retained.changed)
        queueChanged();
}

void ClipboardStore::evictImages(const QList<std::int64_t> &ids)
{
    for (std::int64_t id : ids)
        m_images.evict(id);
}

// --- Filter and search ---------------------------------------------------------------------------

void ClipboardStore::setFilter(const ClipFilter &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit filterChanged();
}

QString ClipboardStore::filterKey() const { return ClipFilterKey::toKey(m_filter); }

void ClipboardStore::setFilterKey(const QString &key)
{
    if (auto filter = ClipFilterKey::fromKey(key))
        setFilter(*filter);
    else
        qCWarning(logStore).noquote() << "Corvane: unknown filter" << key;
}

QString ClipboardStore::filterTitle() const
{
    DesktopEntries *entries = m_desktopEntries;
    return title(m_filter, now().toMSecsSinceEpoch() / 1000.0, m_zone,
                 [entries](const QString &bundleID) -> std::optional<QString> {
                     if (!entries)
                         return std::nullopt;
                     if (auto entry = entries->entry(bundleID))
                         return entry->name;
                     return std::nullopt;
                 });
}

void ClipboardStore::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    emit searchTextChanged();
}

// --- Simple state --------------------------------------------------------------------------------

void ClipboardStore::setShowInspector(bool show)
{
    if (show == m_showInspector)
        return;
    m_showInspector = show;
    emit showInspectorChanged();
}

std::optional<Clip> ClipboardStore::quickLookClip() const
{
    if (!m_quickLookID)
        return std::nullopt;
    if (ClipRef found = clip(*m_quickLookID))
        return *found;
    return std::nullopt;
}

void ClipboardStore::setQuickLookClip(std::optional<std::int64_t> id)
{
    if (id == m_quickLookID)
        return;
    m_quickLookID = id;
    emit quickLookClipChanged();
}

void ClipboardStore::setShowTagPicker(bool show)
{
    if (show == m_showTagPicker)
        return;
    m_showTagPicker = show;
    emit showTagPickerChanged();
}

void ClipboardStore::setLastAddedID(std::optional<std::int64_t> id)
{
    if (id == m_lastAddedID)
        return;
    m_lastAddedID = id;
    emit lastAddedIDChanged();
}

std::unique_ptr<TimerHandle> ClipboardStore::schedule(int ms, std::function<void()> callback)
{
    return m_clock->schedule(ms, std::move(callback));
}

} // namespace corvane
