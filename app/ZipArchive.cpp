#include "ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <zlib.h>

namespace corvane {
namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr int kEndRecordSize = 22;
constexpr int kDirectoryEntrySize = 46;
constexpr int kLocalHeaderSize = 30;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint16 kEncrypted = 0x1;
constexpr quint16 kUtf8Names = 0x800;

quint16 u16(const QByteArray &data, qsizetype at) { return qFromLittleEndian<quint16>(data.constData() + at); }
quint32 u32(const QByteArray &data, qsizetype at) { return qFromLittleEndian<quint32>(data.constData() + at); }

bool inflateRaw(const QByteArray &input, quint32 size, QByteArray *out)
{
    out->resize(size);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    stream.avail_in = uInt(input.size());
    stream.next_out = reinterpret_cast<Bytef *>(out->data());
    stream.avail_out = size;
    const int result = inflate(&stream, Z_FINISH);
    const bool ok = result == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    return ok;
}

} // namespace

bool ZipArchive::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool ZipArchive::open(const QByteArray &data)
{
    m_data = data;
    m_entries.clear();
    m_error.clear();
    if (data.size() < kEndRecordSize)
        return fail(QStringLiteral("The archive is too short to be a zip file."));

    qsizetype end = -1;
    const qsizetype lowest = qMax<qsizetype>(0, data.size() - kEndRecordSize - 0xFFFF);
    for (qsizetype at = data.size() - kEndRecordSize; at >= lowest; --at) {
        if (u32(data, at) == kEndOfDirectory) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return fail(QStringLiteral("The archive is not a zip file."));

    const quint16 count = u16(data, end + 10);
    const quint32 directorySize = u32(data, end + 12);
    qsizetype at = u32(data, end + 16);
    if (at + qsizetype(directorySize) > end)
        return fail(QStringLiteral("The archive's directory is damaged."));

    for (int i = 0; i < count; ++i) {
        if (at + kDirectoryEntrySize > end || u32(data, at) != kDirectoryEntry)
            return fail(QStringLiteral("The archive's directory is damaged."));
        Entry entry;
        entry.flags = u16(data, at + 8);
        entry.method = u16(data, at + 10);
        entry.crc = u32(data, at + 16);
        entry.compressedSize = u32(data, at + 20);
        entry.size = u32(data, at + 24);
        const quint16 nameLength = u16(data, at + 28);
        const quint16 extraLength = u16(data, at + 30);
        const quint16 commentLength = u16(data, at + 32);
        const bool madeOnUnix = (u16(data, at + 4) >> 8) == 3;
        entry.unixMode = madeOnUnix ? u32(data, at + 38) >> 16 : 0;
        entry.localHeaderOffset = u32(data, at + 42);
        if (at + kDirectoryEntrySize + nameLength > end)
            return fail(QStringLiteral("The archive's directory is damaged."));
        const QByteArray rawName = data.mid(at + kDirectoryEntrySize, nameLength);
        entry.name = (entry.flags & kUtf8Names) ? QString::fromUtf8(rawName) : QString::fromLatin1(rawName);
        m_entries.append(entry);
        at += kDirectoryEntrySize + nameLength + extraLength + commentLength;
    }
    return true;
}

QString ZipArchive::refusal(const Entry &entry)
{
    QString name = entry.name;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.isEmpty())
        return QStringLiteral("an entry has no name");
    if (name.startsWith(QLatin1Char('/')) || (name.size() > 1 && name.at(1) == QLatin1Char(':')))
        return QStringLiteral("\"%1\" is an absolute path").arg(entry.name);
    const QStringList parts = name.split(QLatin1Char('/'));
    if (parts.contains(QStringLiteral("..")))
        return QStringLiteral("\"%1\" leads outside the archive's folder").arg(entry.name);
    if (entry.isSymlink())
        return QStringLiteral("\"%1\" is a symbolic link").arg(entry.name);
    if (entry.flags & kEncrypted)
        return QStringLiteral("\"%1\" is encrypted").arg(entry.name);
    if (!entry.isDirectory() && entry.method != kStored && entry.method != kDeflated)
        return QStringLiteral("\"%1\" uses an unknown compression").arg(entry.name);
    return {};
}

bool ZipArchive::read(const Entry &entry, QByteArray *out)
{
    const qsizetype at = entry.localHeaderOffset;
    if (at + kLocalHeaderSize > m_data.size() || u32(m_data, at) != kLocalHeader)
        return fail(QStringLiteral("\"%1\" is damaged.").arg(entry.name));
    const qsizetype start = at + kLocalHeaderSize + u16(m_data, at + 26) + u16(m_data, at + 28);
    if (start + qsizetype(entry.compressedSize) > m_data.size())
        return fail(QStringLiteral("\"%1\" is cut short.").arg(entry.name));
    const QByteArray packed = m_data.mid(start, entry.compressedSize);
    if (entry.method == kStored) {
        if (entry.compressedSize != entry.size)
            return fail(QStringLiteral("\"%1\" is damaged.").arg(entry.name));
        *out = packed;
    } else if (!inflateRaw(packed, entry.size, out)) {
        return fail(QStringLiteral("\"%1\" could not be decompressed.").arg(entry.name));
    }
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(out->constData()), uInt(out->size())));
    if (crc != entry.crc)
        return fail(QStringLiteral("\"%1\" fails its checksum.").arg(entry.name));
    return true;
}

bool ZipArchive::extractTo(const QString &folder)
{
    for (const Entry &entry : std::as_const(m_entries)) {
        const QString why = refusal(entry);
        if (!why.isEmpty())
            return fail(QStringLiteral("The archive was refused: %1.").arg(why));
    }
    QDir root(folder);
    if (!root.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("Could not create %1.").arg(folder));

    for (const Entry &entry : std::as_const(m_entries)) {
        QString name = entry.name;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString path = root.filePath(name);
        if (entry.isDirectory()) {
            if (!root.mkpath(name))
                return fail(QStringLiteral("Could not create %1.").arg(path));
            continue;
        }
        QByteArray contents;
        if (!read(entry, &contents))
            return false;
        root.mkpath(QFileInfo(name).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size())
            return fail(QStringLiteral("Could not write %1.").arg(path));
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        if (entry.unixMode & 0111)
            permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        file.setPermissions(permissions);
    }
    return true;
}

} // namespace corvane
