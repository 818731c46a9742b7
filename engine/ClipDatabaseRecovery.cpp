// Opening the history for the app: damaged files kept aside and salvaged, unwritable ones read-only.
#include "ClipDatabase.h"
#include "Logging.h"

#include "SqliteStatement.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <sqlite3.h>

namespace corvane {

using Kind = ClipDatabase::Error::Kind;

namespace {

/** "history.damaged-20261207-135012.sqlite" beside `path`, never an existing name. */
QString keptName(const QString &path)
{
    const QFileInfo info(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 0;; ++n) {
        const QString suffix = n == 0 ? QString() : QStringLiteral("-%1").arg(n);
        const QString candidate = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral(".damaged-") + stamp
            + suffix + u'.' + info.suffix();
        if (!QFileInfo::exists(candidate) && !QFileInfo::exists(candidate + QStringLiteral("-wal")))
            return candidate;
    }
}

/** Moves the file and its log aside together; the log's index is rebuilt from them when read. */
bool moveAside(const QString &path, const QString &kept)
{
    if (!QFile::rename(path, kept))
        return false;
    const QString log = path + QStringLiteral("-wal");
    if (QFileInfo::exists(log) && !QFile::rename(log, kept + QStringLiteral("-wal"))) {
        QFile::rename(kept, path);
        return false;
    }
    QFile::remove(path + QStringLiteral("-shm"));
    return true;
}

QString clipsWord(int count) { return count == 1 ? QStringLiteral("1 clip") : QStringLiteral("%1 clips").arg(count); }

} // namespace

ClipDatabase::Opened ClipDatabase::openOrRecover(const QString &path, std::function<double()> now)
{
    try {
        return {std::make_shared<ClipDatabase>(path, now), {}, {}};
    } catch (const Error &error) {
        if (error.kind() == Kind::readOnly) {
            try {
                return {std::make_shared<ClipDatabase>(path, now, Access::readOnly),
                        QStringLiteral("The history folder is read-only: your clips are shown, but new copies can’t be saved."),
                        {}};
            } catch (const Error &readError) {
                return {nullptr, QStringLiteral("Couldn’t open the history: ") + readError.message(), {}};
            }
        }
        if (error.kind() != Kind::damaged)
            return {nullptr, QStringLiteral("Couldn’t open the history: ") + error.message(), {}};
        qCWarning(logDb).noquote() << "Corvane: the history is damaged:" << error.message();
    }

    const QString kept = keptName(path);
    if (!moveAside(path, kept))
        return {nullptr, QStringLiteral("The history is damaged and could not be moved aside; nothing was changed."), {}};
    try {
        auto fresh = std::make_shared<ClipDatabase>(path, now);
        const int salvaged = fresh->salvageFrom(kept);
        return {fresh,
                QStringLiteral("The history was damaged. It was kept as “%1”, and %2 were saved into a new history.")
                    .arg(QFileInfo(kept).fileName(), clipsWord(salvaged)),
                kept};
    } catch (const Error &error) {
        return {nullptr, QStringLiteral("Couldn’t start a new history: ") + error.message(), kept};
    }
}

int ClipDatabase::salvageFrom(const QString &damagedPath)
{
    SqliteHandle source;
    const QString uri = QStringLiteral("file:")
        + QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(damagedPath).absoluteFilePath(), "/"))
        + QStringLiteral("?mode=ro");
    if (sqlite3_open_v2(uri.toUtf8().constData(), source.receive(), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK)
        return 0;
    sqlite3_db_config(source, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    QStringList columns;
    QList<std::int64_t> ids;
    try {
        QSet<QString> present;
        SqliteStatement info(source, "SELECT name FROM pragma_table_info('clips')");
        while (info.step())
            present.insert(info.text(0));
        std::lock_guard lock(m_mutex);
        SqliteStatement ours(m_db, "SELECT name FROM pragma_table_info('clips')");
        while (ours.step()) {
            if (present.contains(ours.text(0)))
                columns << ours.text(0);
        }
    } catch (const Error &) {
        return 0;
    }
    if (!columns.contains(QStringLiteral("id")))
        return 0;
    // A scan stops at the first unreadable page; from both ends it reaches the rows on either side.
    for (const char *order : {"SELECT id FROM clips ORDER BY id", "SELECT id FROM clips ORDER BY id DESC"}) {
        try {
            SqliteStatement scan(source, order);
            while (scan.step())
                ids.append(scan.int64(0));
        } catch (const Error &) {
        }
    }
    const QSet<std::int64_t> unique(ids.begin(), ids.end());

    const QByteArray list = columns.join(QStringLiteral(", ")).toUtf8();
    QStringList marks;
    for (qsizetype i = 1; i <= columns.size(); ++i)
        marks << QStringLiteral("?%1").arg(i);
    const QByteArray select = "SELECT " + list + " FROM clips WHERE id = ?1";
    const QByteArray insert = "INSERT OR IGNORE INTO clips (" + list + ") VALUES (" + marks.join(u',').toUtf8() + ")";

    int copied = 0;
    std::lock_guard lock(m_mutex);
    SqliteTransaction transaction(m_db);
    SqliteStatement write(m_db, insert.constData());
    for (std::int64_t id : unique) {
        try {
            SqliteStatement read(source, select.constData());
            read.bind(1, id);
            if (!read.step())
                continue;
            for (int i = 0; i < int(columns.size()); ++i)
                read.copyValue(i, write, i + 1);
            write.run();
            copied += sqlite3_changes(m_db) > 0;
        } catch (const Error &error) {
            qCWarning(logDb).noquote() << "Corvane: clip" << id
                                       << "could not be saved from the damaged history:" << error.message();
        }
        write.reset();
    }
    // Side tables are caches and start empty; the new history keeps the old ids in use.
    fillPreviews();
    transaction.commit();
    m_prunableBytes.reset();
    return copied;
}

} // namespace corvane
