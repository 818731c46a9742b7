#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <zlib.h>

// Writes small zip archives by hand, so tests can build entries no well-behaved tool would write.
namespace corvane::test {

struct ZipItem {
    QByteArray name;
    QByteArray data;
    quint32 mode = 0100644;
    bool deflate = false;
};

inline void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
inline void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

inline QByteArray rawDeflate(const QByteArray &data)
{
    z_stream s{};
    deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&s, uLong(data.size()))), '\0');
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    s.avail_in = uInt(data.size());
    s.next_out = reinterpret_cast<Bytef *>(out.data());
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.resize(qsizetype(s.total_out));
    deflateEnd(&s);
    return out;
}

inline QByteArray makeZip(const QList<ZipItem> &items)
{
    QByteArray out;
    QByteArray directory;
    for (const ZipItem &item : items) {
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(item.data.constData()), uInt(item.data.size())));
        const QByteArray packed = item.deflate ? rawDeflate(item.data) : item.data;
        const quint16 method = item.deflate ? 8 : 0;
        const quint32 offset = quint32(out.size());
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, 0);
        put16(out, method);
        put16(out, 0);
        put16(out, 0);
        put32(out, crc);
        put32(out, quint32(packed.size()));
        put32(out, quint32(item.data.size()));
        put16(out, quint16(item.name.size()));
        put16(out, 0);
        out += item.name + packed;

        put32(directory, 0x02014b50);
        put16(directory, (3 << 8) | 20);
        put16(directory, 20);
        put16(directory, 0);
        put16(directory, method);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, crc);
        put32(directory, quint32(packed.size()));
        put32(directory, quint32(item.data.size()));
        put16(directory, quint16(item.name.size()));
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, item.mode << 16);
        put32(directory, offset);
        directory += item.name;
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(items.size()));
    put16(out, quint16(items.size()));
    put32(out, quint32(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

} // namespace corvane::test
