#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace corvane {

/**
 * @brief Reads a zip archive held in memory and unpacks it into a folder.
 *
 * Only what a release archive needs: stored and deflated entries, files, folders and their
 * executable bits. Unpacking checks every entry first and writes nothing when one is unsafe (an
 * absolute path, a ".." part, a symbolic link, an encrypted entry).
 */
class ZipArchive
{
public:
    struct Entry {
        QString name;
        quint16 method = 0;
        quint16 flags = 0;
        quint32 crc = 0;
        quint32 compressedSize = 0;
        quint32 size = 0;
        quint32 localHeaderOffset = 0;
        quint32 unixMode = 0; ///< 0 when the archive recorded none
        bool isDirectory() const { return name.endsWith(QLatin1Char('/')); }
        bool isSymlink() const { return (unixMode & 0170000) == 0120000; }
    };

    /** Reads the central directory; false with `error()` set when the data is no zip. */
    bool open(const QByteArray &data);
    const QList<Entry> &entries() const { return m_entries; }
    QString error() const { return m_error; }

    /** Why an entry may not be unpacked, or an empty string when it may. */
    static QString refusal(const Entry &entry);

    /** Unpacks every entry under `folder` (created if missing); all or nothing checks first. */
    bool extractTo(const QString &folder);

private:
    bool fail(const QString &message);
    bool read(const Entry &entry, QByteArray *out);

    QByteArray m_data;
    QList<Entry> m_entries;
    QString m_error;
};

} // namespace corvane
