#pragma once

#include "Clip.h"
#include "ClipGroup.h"
#include "SqliteHandle.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSize>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

struct sqlite3;

namespace corvane {

/**
 * @brief The SQLite clip history: one connection for the process, safe to call from any thread.
 *
 * Every call holds the connection's lock from preparing its statements until SQLite's error
 * message has been read. Errors are thrown as ClipDatabase::Error.
 */
class ClipDatabase
{
public:
    /** @brief The one database error type. */
    class Error : public std::exception
    {
    public:
        /**
         * `readOnly`: the file or its folder cannot be written (open it with Access::readOnly);
         * `damaged`: the file opened but failed the schema or integrity check, still untouched;
         * `stopped`: a whole-history read ended early by stopLoads().
         */
        enum class Kind { open, prepare, step, readOnly, damaged, stopped };
        Error(Kind kind, QString message);
        Kind kind() const { return m_kind; }
        /** SQLite's message, or "Unknown SQLite error". */
        const QString &message() const { return m_message; }
        const char *what() const noexcept override { return m_what.constData(); }

    private:
        Kind m_kind;
        QString m_message;
        QByteArray m_what;
    };

    /** @brief A clip to insert, as the capture pipeline prepares it. */
    struct NewClip {
        ClipGroup group = ClipGroup::text;
        std::optional<QString> text;
        std::optional<QString> detail;
        /** Full PNG bytes of an image clip. */
        QByteArray image;
        QByteArray thumbnail;
        QSize imageSize;
        std::int64_t byteSize = 0;
        std::optional<QString> sourceName;
        std::optional<QString> sourceBundleID;
        std::optional<QString> sourceURL;
        double createdAt = 0;
        /** Content hash over kind and content; unique in the table. */
        QString hash;
        /** 64-bit difference hash of an image. */
        std::optional<std::uint64_t> dhash;
    };

    /** @brief What `insert` did. */
    struct InsertResult {
        enum class Outcome {
            inserted, ///< a new row
            bumped,   ///< same hash: the row's date and source were updated
            replaced  ///< a near-duplicate image: the row's image was replaced, id, pin, tags and note kept
        };
        std::int64_t id = 0;
        Outcome outcome = Outcome::inserted;
    };

    /** @brief A cached link preview; absent columns are absent fields. */
    struct LinkPreviewRecord {
        std::optional<QString> title;
        std::optional<QString> siteName;
        std::optional<QByteArray> image;
        std::optional<QByteArray> icon;
        bool operator==(const LinkPreviewRecord &) const = default;
    };

    /** @brief A cached source icon. */
    struct SourceIconRecord {
        QByteArray png;
        double fetchedAt = 0;
    };

    /** 2: `preview` stored for texts longer than the loaded prefix. */
    static constexpr int schemaVersion = 2;
    /** Images of the same pixel size within this dHash distance are the same picture. */
    static constexpr int nearDuplicateDistance = 2;

    /** ~/.local/share/Corvane/history.sqlite (the application data folder). */
    static QString defaultPath();

    /** `firstLook`: read-only, and the whole file is not checked (a quick look while it is). */
    enum class Access { readWrite, readOnly, firstLook };

    /**
     * Opens or creates the database at `path`, creating its folder (0700) and file (0600) first,
     * then checks its schema and runs `quick_check` before writing anything. A schema newer than
     * this build knows, a truncated file or one that is no database is an open error.
     * `now` gives seconds since 1970. Read-only access never creates or changes a file.
     */
    explicit ClipDatabase(const QString &path, std::function<double()> now = {}, Access access = Access::readWrite);
    /** Checkpoints the log into the main file, empties it, and closes the connection. */
    ~ClipDatabase();
    ClipDatabase(const ClipDatabase &) = delete;
    ClipDatabase &operator=(const ClipDatabase &) = delete;

    const QString &path() const { return m_path; }
    /** The ClipTextSource key under which clips of this history read their texts on demand. */
    std::uint32_t textSource() const { return m_textSource; }
    bool isReadOnly() const { return m_readOnly; }

    /** @brief The history as opening left it, and what the user should be told. */
    struct Opened {
        std::shared_ptr<ClipDatabase> database; ///< null when nothing could be opened
        QString warning;                        ///< empty when all went well
        /** Where a damaged file was kept. */
        std::optional<QString> keptPath;
    };
    /**
     * Opens the history for the app (slow on a large file: call it off the GUI thread). A damaged
     * file is renamed beside itself, byte for byte, and the rows still readable are copied into
     * a fresh history; an unwritable one opens read-only; other failures leave the file alone.
     */
    static Opened openOrRecover(const QString &path, std::function<double()> now = {});

    /** Runs one SQL text (schema changes, the clear-history statement). */
    void exec(const QString &sql);

    /**
     * Deletes the unpinned, untagged clips beyond `limitBytes`, newest first by running total of
     * byte size plus thumbnail length. Returns the deleted ids. A limit of 0 or less is refused.
     */
    QList<std::int64_t> prune(std::int64_t limitBytes);

    /** Inserts a clip, or bumps the row with the same hash, or replaces a near-duplicate image. */
    InsertResult insert(const NewClip &clip);

    /**
     * @brief Work a load does with each clip while its text is at hand, such as indexing it;
     * the visitor may then let the clip read its text on demand (Clip::readTextFrom).
     */
    class TextVisitor
    {
    public:
        virtual ~TextVisitor() = default;
        /** The number of clips the load gives, before any visit. */
        virtual void begin(qsizetype count) = 0;
        /** Once per clip, with its place in the list the load returns; on the loading threads. */
        virtual void visit(qsizetype place, Clip &clip) = 0;
    };

    /** Every clip, newest first, without image blobs and with texts cut to a prefix. */
    QList<Clip> loadClips(TextVisitor *visitor = nullptr);
    /**
     * Whole-history reads under way and to come end early, throwing an error of kind `stopped`:
     * the history is closing, and quitting need not wait seconds for a read nobody will see.
     */
    void stopLoads() { m_loadsStopped.store(true, std::memory_order_relaxed); }
    bool loadsStopped() const { return m_loadsStopped.load(std::memory_order_relaxed); }
    /** The `count` newest clips and every pinned one, newest first, as `loadClips` gives them. */
    QList<Clip> loadNewestClips(int count, TextVisitor *visitor = nullptr);
    /** One clip as `loadClips` gives it, or nothing. */
    std::optional<Clip> loadClip(std::int64_t id, TextVisitor *visitor = nullptr);
    /**
     * The same through the text reader's own connection, so any thread may ask while the
     * database writes or loads; nothing when the clip is gone or the read fails.
     */
    std::optional<Clip> readClip(std::int64_t id) const;
    /** A clip's stored thumbnail the same way; nothing when it has none. */
    std::optional<QByteArray> thumbnail(std::int64_t id) const;

    /**
     * @brief The values of a row that can change after it was written (texts and kinds cannot;
     * a new source always comes with a new date).
     */
    struct RowState {
        std::int64_t id = 0;
        double createdAt = 0;
        bool pinned = false;
        std::optional<double> pinnedAt;
        std::int64_t tags = 0;
        std::int64_t byteSize = 0;
        QSize imageSize;
        std::int64_t thumbnailLength = 0;
        std::optional<QString> note, summary, smartTitle, detail;
    };
    /** Every row's changeable values, in table order: a cheap way to find stale loaded clips. */
    QList<RowState> rowStates();
    /**
     * The ids of the clips this object inserted, changed or deleted since the last call, or
     * nothing when that is not known: at the first call, after exec(), or when another
     * connection has written meanwhile. The journal starts over at each call.
     */
    std::optional<QSet<std::int64_t>> takeChangedIDs();

    /** The stored full PNG bytes, or nothing when the row or its image is missing. */
    std::optional<QByteArray> imageData(std::int64_t id);
    /** The whole text of a clip, or nothing. */
    std::optional<QString> fullText(std::int64_t id);

    /** Byte sizes of all clips plus their thumbnail lengths. */
    std::int64_t storageUsed();
    std::int64_t clipCount();
    /** Number of clips per group, in ClipGroups::allCases order, groups without clips left out. */
    QList<std::pair<ClipGroup, std::int64_t>> countsByGroup();

    /** Pins (with the pin date) or unpins a clip. */
    void setPinned(std::int64_t id, bool pinned, double pinnedAt);
    void setTags(std::int64_t id, std::int64_t mask);
    /** Saves several masks in one transaction: all or none. */
    void setTags(const QList<std::pair<std::int64_t, std::int64_t>> &masks);
    void setNote(std::int64_t id, const std::optional<QString> &note);
    void setSummary(std::int64_t id, const std::optional<QString> &summary);
    void setSmartTitle(std::int64_t id, const std::optional<QString> &smartTitle);

    void deleteClip(std::int64_t id);
    /** Deletes several clips in one transaction. */
    void deleteClips(const QList<std::int64_t> &ids);

    std::optional<LinkPreviewRecord> linkPreview(const QString &key);
    /** Inserts or replaces the preview of `key`, stamped with the current time. */
    void saveLinkPreview(const LinkPreviewRecord &record, const QString &key);
    /** Deletes the previews whose key `keep` refuses; returns the deleted keys. */
    QStringList deleteLinkPreviews(const std::function<bool(const QString &key)> &keep);

    /** Deletes the cached previews of links no clip holds any more; returns their keys. */
    QStringList deleteOrphanLinkPreviews();
    /** Moves the write-ahead log into the file and empties it, so deleted content leaves the log too. */
    void checkpoint();

    std::optional<SourceIconRecord> sourceIcon(const QString &key);
    void saveSourceIcon(const QString &key, const QByteArray &png);

private:
    class TextReader;

    void openAndMigrate();
    /** Registers this history with ClipTextSource, reading through its own connection to `uri`. */
    void startTextReader(const QString &uri);
    void stopTextReader();
    void checkIntact(std::int64_t version);
    void migrateToStoredPreviews();
    /** Stores the preview of each long text that has none (only the whole text gives it). */
    void fillPreviews();
    /** Copies the readable rows of the damaged file at `path` into this history; returns how many. */
    int salvageFrom(const QString &path);
    std::optional<std::int64_t> nearDuplicate(const NewClip &clip);
    std::int64_t prunableBytes();
    /** Runs `write(i)` for each of `ids` in one transaction, keeping the prunable total right. */
    void editClips(const QList<std::int64_t> &ids, const std::function<void(qsizetype)> &write);
    /** Forgets the caches below when another connection has written since the last look. */
    void noticeOtherWriters();
    /** Records in the change journal each row of `clips` this connection writes. */
    void startChangeJournal();

    QString m_path;
    std::function<double()> m_now;
    SqliteHandle m_db;
    bool m_readOnly = false;
    bool m_checkWholeFile = true;
    std::mutex m_mutex;
    // A second, read-only connection for reading the whole list: a million rows take seconds,
    // and the main connection stays free meanwhile for the GUI's small reads and for writes.
    QString m_readerUri;
    SqliteHandle m_reader;
    std::mutex m_readerMutex;
    std::atomic<bool> m_loadsStopped = false;
    // Rows of clips this connection has written, ever: a list read elsewhere hands over the
    // prunable total it summed only when no write came between.
    std::uint64_t m_clipWrites = 0;
    // Bytes of the unpinned, untagged clips, kept up to date by inserts, edits and prunes;
    // forgotten after exec(), a near-duplicate replacement, a failed edit, or another
    // connection's write.
    std::optional<std::int64_t> m_prunableBytes;
    std::int64_t m_dataVersion = -1;
    // The change journal: rows written since the last take, and whether it is complete.
    QSet<std::int64_t> m_changedIDs;
    std::int64_t m_journalVersion = -1;
    bool m_journalComplete = false;
    // Reads texts on demand through a connection of its own, so a row's text never waits for
    // a long load or write on this one.
    std::shared_ptr<TextReader> m_textReader;
    std::uint32_t m_textSource = 0;
};

} // namespace corvane
