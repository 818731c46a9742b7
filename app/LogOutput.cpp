#include "LogOutput.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace corvane::LogOutput {

QString escaped(const QString &message)
{
    QString line;
    line.reserve(message.size());
    for (const QChar c : message) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            line += QStringLiteral("\\\\");
        else if (u < 0x20 || u == 0x7f)
            line += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else if ((u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
            line += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

namespace {

void write(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const QByteArray line = escaped(message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void install() { qInstallMessageHandler(write); }

} // namespace corvane::LogOutput
