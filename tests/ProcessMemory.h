#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace corvane::test {

/** The resident memory of a process (this one by default) in KiB, 0 when unreadable. */
inline long rssKiB(qint64 pid = 0)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

} // namespace corvane::test
