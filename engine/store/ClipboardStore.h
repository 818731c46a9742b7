#pragma once

#include "CaptureSink.h"
#include "ClipCollection.h"
#include "ClipDatabase.h"
#include "ClipFilter.h"
#include "DerivedLists.h"
#include "ClipRef.h"
#include "ClipboardSource.h"
#include "FullImageCache.h"
#include "Notice.h"
#include "PasteQueue.h"
#include "Selection.h"
#include "SkippedCopy.h"
#include "SourceApp.h"
#include "SourceIconCache.h"
#include "TimedState.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QTimeZone>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QJSEngine;
class QQmlEngine;

namespace corvane {

class ActiveWindow;
class AppSettings;
class ClipDatabase;
class ClipboardCapture;
class ClipboardService;
class ClipListModel;
class Clock;
class DerivedListCache;
class DesktopEntries;
class SearchIndexBuilder;
class BackgroundSearch;
class TimerHandle;

/**
 * @brief The one model of the running app: the loaded history, the selection, the paste queue,
 * pause, notices, icons, and every operation on clips. Main thread only.
 *
 * QML takes clip ids; C++ callers use the same id-based calls. Derived lists read as if computed
 * afresh, but are cached per (history revision, filter, search text).
 */
class ClipboardStore : public QObject, public CaptureSink
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_MOC_INCLUDE("AppSettings.h")
    Q_MOC_INCLUDE("ClipListModel.h")

    Q_PROPERTY(QString filterKey READ filterKey WRITE setFilterKey NOTIFY filterChanged)
    Q_PROPERTY(QString filterTitle READ filterTitle NOTIFY filterChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(QVariant selectedID READ selectedIDValue NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList selectedIDs READ selectedIDValues NOTIFY selectionChanged)
    Q_PROPERTY(int selectionCount READ selectionCount NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList revealedSecrets READ revealedSecretValues NOTIFY revealedSecretsChanged)
    Q_PROPERTY(bool showInspector READ showInspector WRITE setShowInspector NOTIFY showInspectorChanged)
    Q_PROPERTY(QVariant quickLookClipID READ quickLookClipValue WRITE setQuickLookClipValue NOTIFY quickLookClipChanged)
    Q_PROPERTY(bool showTagPicker READ showTagPicker WRITE setShowTagPicker NOTIFY showTagPickerChanged)
    Q_PROPERTY(QVariantMap notice READ noticeValue NOTIFY noticeChanged)
    Q_PROPERTY(QString historyProblem READ historyProblem NOTIFY historyProblemChanged)
    Q_PROPERTY(QVariant lastAddedID READ lastAddedIDValue NOTIFY lastAddedIDChanged)
    Q_PROPERTY(int iconRevision READ iconRevision NOTIFY iconRevisionChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY isPausedChanged)
    Q_PROPERTY(QDateTime pauseEnd READ pauseEnd NOTIFY isPausedChanged)
    Q_PROPERTY(QVariantList recentSkips READ recentSkipValues NOTIFY recentSkipsChanged)
    Q_PROPERTY(qint64 storageUsed READ storageUsed NOTIFY storageUsedChanged)
    Q_PROPERTY(bool hasDatabase READ hasDatabase NOTIFY hasDatabaseChanged)
    Q_PROPERTY(corvane::AppSettings *settings READ settings CONSTANT)
    Q_PROPERTY(int clipCount READ clipCount NOTIFY clipsChanged)
    Q_PROPERTY(corvane::ClipListModel *clipModel READ clipModel CONSTANT)
    Q_PROPERTY(QStringList availableGroups READ availableGroupValues NOTIFY clipsChanged)
    Q_PROPERTY(QVariantList usedTags READ usedTagValues NOTIFY clipsChanged)
    Q_PROPERTY(QVariantList daysWithClips READ dayValues NOTIFY clipsChanged)
    Q_PROPERTY(QVariantList sources READ sourceValues NOTIFY clipsChanged)
    Q_PROPERTY(QVariantList sidebarSources READ sidebarSourceValues NOTIFY sidebarSourcesChanged)
    Q_PROPERTY(QVariantList pasteQueueIDs READ pasteQueueIDValues NOTIFY pasteQueueChanged)
    Q_PROPERTY(int pasteQueueIndex READ pasteQueueIndex NOTIFY pasteQueueChanged)
    Q_PROPERTY(QStringList pasteQueueTitles READ pasteQueueTitles NOTIFY pasteQueueChanged)

public:
    static constexpr int pinLimit = 20;
    static constexpr int recentSkipLimit = 20;
    static constexpr int revealMilliseconds = RevealedSecrets::revealMilliseconds;
    /** Clips shown before the rest of the history has been read. */
    static constexpr int firstLoadCount = 500;
    /** How long quitting waits for copies still being read or saved. */
    static constexpr int quitDrainMilliseconds = 6000;

    /** @brief What the store runs on; tests hand in fakes and a temporary database path. */
    struct Services {
        AppSettings *settings = nullptr;
        ClipboardService *clipboard = nullptr;
        Clock *clock = nullptr;
        DesktopEntries *desktopEntries = nullptr;
        /** The frontmost app for captures; without it the store records nothing from the clipboard. */
        ActiveWindow *activeWindow = nullptr;
        /** Opened by the store; when opening fails the store runs without a database. */
        QString databasePath;
        /**
         * Checks (and when damaged, salvages) the history on a thread of its own; the history
         * and the capture arrive once that is done. Off: the constructor opens it itself.
         */
        bool openInBackground = false;
        /**
         * With `openInBackground`: once the newest clips are shown, the whole-file check of a
         * history file of at least this many bytes waits for continueOpening(), so it doesn't
         * compete with the window's first frame. A small file's check takes less than a frame.
         */
        std::optional<qint64> checkWhenAskedFrom;
        QTimeZone timeZone = QTimeZone::systemTimeZone();
        /** Website icon fetcher; without one, sites show no icon. */
        SourceIconCache::SiteIconFetcher siteIcons;
        /**
         * Start-up shows the newest clips (and the pinned ones) at once and reads the rest on a
         * worker thread. Off: the whole history is read before the constructor returns.
         */
        bool loadInBackground = false;
        /** Where captures read the clipboard; through `clipboard` on the main thread when unset. */
        std::function<std::unique_ptr<ClipboardSource>(ClipboardService &clipboard)> clipboardSource;
    };

    /** The process's store, installed by the application with setShared(); null before. */
    static ClipboardStore *shared();
    static void setShared(ClipboardStore *store);
    static ClipboardStore *create(QQmlEngine *, QJSEngine *);
    /** Adds "image://thumb/<clip id>" and "image://source/<source key>" to a QML engine. */
    void installImageProviders(QQmlEngine *engine);

    explicit ClipboardStore(const Services &services, QObject *parent = nullptr);
    ~ClipboardStore() override;

    // --- Callbacks of the long-lived objects around the store ---------------------------------
    /** Recording was paused or resumed (the tray icon). */
    std::function<void(bool isPaused)> onPauseChanged;
    /** The paste queue changed (the floating queue panel). */
    std::function<void()> onCorvaneChanged;
    /** A capture was recorded (the tray icon's flash). */
    std::function<void()> onCaptureFeedback;
    /** A clip worth a summary or a title: newly pinned or newly captured. No-op without a service. */
    std::function<void(const Clip &clip)> onSummaryWanted;

    // --- The capture pipeline's entry points (main thread) ------------------------------------
    /** False while paused, without a database, or for an image while image recording is off. */
    bool acceptsCapture(bool isImage) const override;
    /** Adds a skipped copy to recentSkips (newest first, 20 at most); an empty name is "Unknown app". */
    void recordSkip(const QString &appName, const QString &reason) override;
    /**
     * After the capture queue stored clips (oldest first): reload, mark the newest, load icons,
     * flash, summarise. With `prunedIDs` (what the capture's prunes deleted) only the recorded
     * clips are read again; without them the whole history is.
     */
    void clipsRecorded(const QList<std::int64_t> &recordedIDs,
                       const std::optional<QList<std::int64_t>> &prunedIDs = std::nullopt) override;
    /** Shows a capture's warning as a notice. */
    void captureWarning(const QString &message) override;
    /** The clipboard's change count right after the store's own last write, 0 before any. */
    qint64 ownChangeCount() const override { return m_ownChangeCount; }
    /**
     * The database for other threads (capture, image loading); shared so it outlives a late
     * task. Safe to call from any thread, as it may open or close meanwhile.
     */
    std::shared_ptr<ClipDatabase> sharedDatabase() const override
    {
        std::lock_guard lock(m_databaseMutex);
        return m_database;
    }
    /** The clipboard monitor and capture queue, running since construction; null without an active window. */
    ClipboardCapture *capture() const { return m_capture.get(); }

    // --- State ---------------------------------------------------------------------------------
    ClipDatabase *database() const { return m_database.get(); }
    bool hasDatabase() const { return m_database != nullptr; }
    AppSettings *settings() const { return m_settings; }
    /** Every clip, newest first; built when first asked for and kept (a million references). */
    const ClipList &clips() const { return m_clips.all(); }
    /** The loaded history: reading its entries copies nothing. */
    const ClipCollection &collection() const { return m_clips; }
    int clipCount() const { return m_clips.size(); }
    /** How many clips are pinned. */
    int pinnedCount() const { return m_clips.pinnedCount(); }
    ClipRef clip(std::int64_t id) const;
    /** The clips of one group, newest first: a quick pass over the loaded entries. */
    ClipList clipsOf(ClipGroup group) const;

    const ClipFilter &filter() const { return m_filter; }
    void setFilter(const ClipFilter &filter);
    QString filterKey() const;
    void setFilterKey(const QString &key);
    QString filterTitle() const;
    const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);

    std::optional<std::int64_t> selectedID() const { return m_selection.anchor(); }
    const QSet<std::int64_t> &selectedIDs() const { return m_selection.ids(); }
    int selectionCount() const { return m_selection.count(); }
    /** The id is selected and the selection holds two or more ids. */
    Q_INVOKABLE bool isInMultipleSelection(qint64 id) const;
    const QSet<std::int64_t> &revealedSecrets() const { return m_revealed.ids(); }
    Q_INVOKABLE bool isRevealed(qint64 id) const { return m_revealed.contains(id); }
    bool showInspector() const { return m_showInspector; }
    void setShowInspector(bool show);
    std::optional<Clip> quickLookClip() const;
    void setQuickLookClip(std::optional<std::int64_t> id);
    bool showTagPicker() const { return m_showTagPicker; }
    void setShowTagPicker(bool show);
    const std::optional<Notice> &notice() const { return m_notices.current(); }
    /**
     * What went wrong with the history: a failed read (until a load succeeds), else what opening
     * it reported (damaged and rebuilt, read-only, not opened); empty when all is well. Unlike a
     * notice it stays, so a window opened later still says so.
     */
    const QString &historyProblem() const { return m_historyProblem.isEmpty() ? m_openingWarning : m_historyProblem; }
    std::optional<std::int64_t> lastAddedID() const { return m_lastAddedID; }
    int iconRevision() const { return m_icons->revision(); }
    bool isPaused() const { return m_pause.isPaused(); }
    QDateTime pauseEnd() const { return m_pause.end(); }
    const QList<SkippedCopy> &recentSkips() const { return m_recentSkips; }
    qint64 storageUsed() const { return m_clips.storageUsed(); }
    const PasteQueue &pasteQueue() const { return m_queue; }
    int pasteQueueIndex() const { return m_queue.currentIndex(); }
    QStringList pasteQueueTitles() const;
    ClipListModel *clipModel() const { return m_clipModel; }

    // --- Derived lists -------------------------------------------------------------------------
    /** The visible clips, each read when not held: views read visibleIDs and the rows they show. */
    ClipList visibleClips(const ClipFilter &filter, const QString &searchText) const;
    /** The visible list of the current filter and search. */
    ClipList visibleClips() const { return visibleClips(m_filter, m_searchText); }
    /** The visible list as clip ids, shared rather than copied. */
    std::shared_ptr<const std::vector<std::int64_t>> visibleIDs(const ClipFilter &filter, const QString &searchText) const;
    std::vector<ClipSection> sections(const ClipFilter &filter, const QString &searchText) const;
    std::vector<ClipSection> sections() const { return sections(m_filter, m_searchText); }
    /** The sections of a visible list as titles and a section per row (no copies of the clips). */
    SectionLayout sectionLayout(const ClipFilter &filter, const QString &searchText) const;
    /**
     * Whether visibleClips() answers at once: no search, a small history, or a search already
     * worked out. Otherwise startVisibleSearch() works it out on a worker thread, cancelling the
     * search under way, and visibleSearchFinished() says when it is at hand.
     */
    bool visibleIsReady(const ClipFilter &filter, const QString &searchText) const;
    void startVisibleSearch(const ClipFilter &filter, const QString &searchText);
    /** Histories of this many clips or more are searched off the main thread. */
    void setBackgroundSearchFrom(int clipCount) { m_backgroundSearchFrom = clipCount; }
    BackgroundSearch *backgroundSearch() const { return m_search; }
    ClipList selectedClips() const;
    /** The selected clips' ids in list order. */
    QList<std::int64_t> selectedIDsInOrder() const;
    QList<ClipGroup> availableGroups() const;
    QList<ColorTag> usedTags() const;
    /** The counts of every filter but day and source with an empty search, in one pass. */
    DerivedLists::FilterCounts filterCounts() const { return DerivedLists::filterCounts(m_clips); }
    /** Start-of-day dates of every clip, ascending. */
    QList<QDateTime> daysWithClips() const;
    QList<SourceApp> sources() const;
    QList<SourceApp> sidebarSources() const;
    std::uint64_t revision() const { return m_clips.revision(); }
    /** What the step to revision() changed. */
    const ClipChange &lastClipChange() const { return m_clips.lastChange(); }
    /** Thumbnails by clip id, as of a revision. */
    using Thumbnails = std::pair<std::uint64_t, QHash<std::int64_t, QByteArray>>;
    /**
     * While the whole history read in the background is being told, its thumbnails as copied by
     * the worker that read it (as of the adopted revision); else null.
     */
    const Thumbnails *loadedThumbnails() const { return m_loadedThumbnails ? &*m_loadedThumbnails : nullptr; }
    const QTimeZone &timeZone() const { return m_zone; }
    QDateTime now() const;
    /** The clock the store runs on, for views that schedule by it. */
    Clock &clock() const { return *m_clock; }

    // --- Operations ----------------------------------------------------------------------------
    Q_INVOKABLE void select(qint64 id, bool command = false, bool shift = false);
    Q_INVOKABLE void moveSelection(int offset);
    Q_INVOKABLE void clearSelection();
    /** False, with a warning notice, when nothing was written (the clipboard is left as it was). */
    Q_INVOKABLE bool copy(qint64 id, bool plainTextOnly = false);
    void copyClips(const QList<std::int64_t> &ids);
    Q_INVOKABLE void copyClips(const QVariantList &ids);
    Q_INVOKABLE void togglePin(qint64 id);
    Q_INVOKABLE void toggleTag(int tag, qint64 id);
    Q_INVOKABLE void deleteClip(qint64 id);
    void deleteClips(const QList<std::int64_t> &ids);
    Q_INVOKABLE void deleteClips(const QVariantList &ids);
    void addToStack(const QList<std::int64_t> &ids);
    Q_INVOKABLE void addToStack(const QVariantList &ids);
    /** The next queue item onto the clipboard; past the last one the queue empties. */
    Q_INVOKABLE void next();
    Q_INVOKABLE void clearQueue();
    Q_INVOKABLE void reveal(qint64 id);
    Q_INVOKABLE void hideAllSecrets();
    Q_INVOKABLE void saveNote(const QString &text, qint64 id);
    /** The full-size image of an image clip, or a null image. */
    QImage fullImage(std::int64_t id);
    /** The whole text of a clip (the loaded one holds a prefix), or nothing. */
    std::optional<QString> fullText(std::int64_t id);
    Q_INVOKABLE QString fullTextOf(qint64 id) { return fullText(id).value_or(QString()); }
    /** The cached source icon; a miss starts loading it and `iconRevision` moves when it arrives. */
    QImage sourceIcon(const std::optional<QString> &key);
    SourceIconCache *iconCache() const { return m_icons; }
    /** True while the history beyond the newest clips is still being read. */
    bool isLoading() const { return m_fullLoad != nullptr; }
    /** Indexes newly loaded clips for search on a worker thread (started after each full load). */
    SearchIndexBuilder *searchIndexBuilder() const { return m_indexBuilder; }
    Q_INVOKABLE void keepSource(const QString &key);
    Q_INVOKABLE void hideSource(const QString &key);
    /** The key leaves the kept list (every copy), and the hidden one should it be there too. */
    Q_INVOKABLE void unkeepSource(const QString &key);
    /** Every copy of the key leaves the hidden list. */
    Q_INVOKABLE void unhideSource(const QString &key);
    /** Pauses recording; with a duration above 0 seconds it resumes by itself at the end. */
    void pause(std::optional<double> seconds = std::nullopt);
    /** QML form of pause: 0 or less pauses until resume(). */
    Q_INVOKABLE void pauseFor(double seconds) { pause(seconds); }
    Q_INVOKABLE void resume();
    Q_INVOKABLE void reload();
    void showNotice(const QString &message, Notice::Kind kind);
    Q_INVOKABLE void dismissNotice();
    /**
     * At quit: stops watching the clipboard, lets the copies under way reach the history for at
     * most `drainMilliseconds`, then closes the history (checkpointed, its log emptied). Returns
     * how many copies could not be saved; those are logged.
     */
    int shutdown(int drainMilliseconds = quitDrainMilliseconds);
    /** Lets an opening held by `Services::checkWhenAsked` go on to check and load the history. */
    void continueOpening();

signals:
    void filterChanged();
    void searchTextChanged();
    void selectionChanged();
    void revealedSecretsChanged();
    void showInspectorChanged();
    void quickLookClipChanged();
    void showTagPickerChanged();
    void noticeChanged();
    void historyProblemChanged();
    void lastAddedIDChanged();
    void iconRevisionChanged();
    void isPausedChanged();
    void recentSkipsChanged();
    void storageUsedChanged();
    void hasDatabaseChanged();
    /** The loaded history changed (rows, values or order). */
    void clipsChanged();
    void sidebarSourcesChanged();
    void pasteQueueChanged();
    /** A search started by startVisibleSearch() is at hand. */
    void visibleSearchFinished();

private:
    // QML views of the state.
    QVariant selectedIDValue() const;
    QVariantList selectedIDValues() const;
    QVariantList revealedSecretValues() const;
    QVariant quickLookClipValue() const;
    void setQuickLookClipValue(const QVariant &id);
    QVariantMap noticeValue() const { return notice() ? notice()->toVariantMap() : QVariantMap(); }
    QVariant lastAddedIDValue() const;
    QVariantList recentSkipValues() const;
    QStringList availableGroupValues() const;
    QVariantList usedTagValues() const;
    QVariantList dayValues() const;
    QVariantList sourceValues() const;
    QVariantList sidebarSourceValues() const;
    QVariantList pasteQueueIDValues() const;

    void openDatabase(const QString &path, bool inBackground);
    void adoptDatabase(const ClipDatabase::Opened &opened);
    void startCapture();
    void setSelection(std::optional<std::int64_t> anchor, QSet<std::int64_t> ids);
    /** The visible list of the current filter and search, as the selection moves in it. */
    Selection::Order visibleOrder() const;
    void replaceClips(QList<Clip> loaded, std::vector<FuzzyHaystack> indexes = {});
    /** Reads every clip, indexing each as it is read (any thread). */
    static std::pair<QList<Clip>, std::vector<FuzzyHaystack>> loadIndexed(ClipDatabase &database);
    /** @brief Clips to read again and clips gone, found by staleClips(). */
    struct StaleClips {
        QList<std::int64_t> changed;
        QList<std::int64_t> gone;
    };
    /** What changed in the database since the last look; nothing when a full read is quicker. Throws. */
    std::optional<StaleClips> staleClips();
    /** Reads `changed` again and takes out `removed`, telling no one; nothing when a read failed. */
    std::optional<bool> patchClips(const QList<std::int64_t> &changed, const QList<std::int64_t> &removed);
    /** What follows a change of the whole collection, given the storage used before it. */
    void clipsReplaced(qint64 oldStorage);
    /** Shows the newest clips now and reads the whole history on a worker thread. */
    void loadInBackground();
    /** Reads the history the way the services asked for: all now, or the newest first. */
    void loadHistory();
    void afterReload();
    /** Reload for edits the store made itself: re-reads `changed` and drops `removed`. */
    void reloadClips(const QList<std::int64_t> &changed, const QList<std::int64_t> &removed = {});
    /** Puts a clip on the clipboard; an error text when nothing could be written. */
    std::optional<QString> writeClip(const Clip &clip, bool plainTextOnly);
    void writeQueueItem();
    void queueChanged();
    /** Prunes to the storage limit; returns the deleted ids. */
    QList<std::int64_t> prune();
    void evictImages(const QList<std::int64_t> &ids);
    void setLastAddedID(std::optional<std::int64_t> id);
    void setHistoryProblem(const QString &problem);
    /** A read of the history failed: logged, kept as the history problem, told once as a warning. */
    void loadFailed(const QString &message);
    SearchContext searchContext() const;
    std::unique_ptr<TimerHandle> schedule(int ms, std::function<void()> callback);

    AppSettings *m_settings;
    ClipboardService *m_clipboard;
    Clock *m_clock;
    DesktopEntries *m_desktopEntries;
    QTimeZone m_zone;
    std::shared_ptr<ClipDatabase> m_database; ///< replaced only under m_databaseMutex
    mutable std::mutex m_databaseMutex;
    ActiveWindow *m_activeWindow = nullptr;
    std::function<std::unique_ptr<ClipboardSource>(ClipboardService &)> m_clipboardSource;
    bool m_loadInBackground = false;
    std::thread m_opening;
    // The opening thread waits here between the first look and the check.
    std::mutex m_openingMutex;
    std::condition_variable m_openingGate;
    std::optional<qint64> m_checkWhenAskedFrom;
    bool m_openingHeld = false;
    qint64 m_clipboardSeen = 0;
    bool m_shutDown = false;

    ClipCollection m_clips;
    std::unique_ptr<DerivedListCache> m_derived;
    std::optional<Thumbnails> m_loadedThumbnails;
    SearchIndexBuilder *m_indexBuilder = nullptr;
    BackgroundSearch *m_search = nullptr;
    int m_backgroundSearchFrom = 20'000;
    ClipFilter m_filter;
    QString m_searchText;
    Selection m_selection;
    RevealedSecrets m_revealed;
    bool m_showInspector = false;
    std::optional<std::int64_t> m_quickLookID;
    bool m_showTagPicker = false;
    NoticeBoard m_notices;
    QString m_historyProblem; ///< a failed read
    QString m_openingWarning;
    std::optional<std::int64_t> m_lastAddedID;
    PauseState m_pause;
    QList<SkippedCopy> m_recentSkips;
    PasteQueue m_queue;
    qint64 m_ownChangeCount = 0;
    FullImageCache m_images;
    SourceIconCache *m_icons = nullptr;
    ClipListModel *m_clipModel = nullptr;
    /** The whole history read and turned into a collection on a worker; null while none runs. */
    QFutureWatcher<std::shared_ptr<ClipCollection>> *m_fullLoad = nullptr;
    std::unique_ptr<ClipboardCapture> m_capture; ///< last: stops before what it uses goes
};

} // namespace corvane
