#include "DiagnosticsReport.h"

#include "ClipText.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSysInfo>
#include <QThread>

namespace corvane::DiagnosticsReport {
namespace {

QString firstMatch(const QString &path, const QString &pattern)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QRegularExpression expression(pattern, QRegularExpression::MultilineOption);
    return expression.match(QString::fromUtf8(file.readAll())).captured(1).trimmed();
}

QString orUnknown(const QString &value) { return value.isEmpty() ? QStringLiteral("unknown") : value; }

void section(QString &out, const QString &title, const DiagnosticsInfo::Lines &lines)
{
    out += QStringLiteral("\n[%1]\n").arg(title);
    for (const auto &[key, value] : lines)
        out += QStringLiteral("%1: %2\n").arg(key, value);
}

} // namespace

DiagnosticsInfo::Lines systemLines()
{
    const QString cpu = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("^model name\\s*:\\s*(.*)$"));
    const QString memoryKb = firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("^MemTotal:\\s*(\\d+)"));
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QStringLiteral("OS"), QSysInfo::prettyProductName()},
        {QStringLiteral("Kernel"), QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
        {QStringLiteral("CPU"),
         QStringLiteral("%1, %2 (%3 threads)")
             .arg(orUnknown(cpu), QSysInfo::currentCpuArchitecture())
             .arg(QThread::idealThreadCount())},
        {QStringLiteral("Memory"),
         memoryKb.isEmpty() ? QStringLiteral("unknown") : ClipText::byteCount(memoryKb.toLongLong() * 1024)},
    };
}

DiagnosticsInfo::Lines sessionLines()
{
    return {
        {QStringLiteral("Session type"), orUnknown(qEnvironmentVariable("XDG_SESSION_TYPE"))},
        {QStringLiteral("Desktop"), orUnknown(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))},
        {QStringLiteral("Platform plugin"), orUnknown(QGuiApplication::platformName())},
        {QStringLiteral("X11 display"), orUnknown(qEnvironmentVariable("DISPLAY"))},
        {QStringLiteral("Wayland display"), orUnknown(qEnvironmentVariable("WAYLAND_DISPLAY"))},
    };
}

QString format(const DiagnosticsInfo &info)
{
    QString out = QStringLiteral("Corvane Diagnostics\nGenerated: %1\n").arg(info.generatedAt);
    section(out, QStringLiteral("Application"),
            {{QStringLiteral("Version"), info.version}, {QStringLiteral("Build"), info.build}});
    section(out, QStringLiteral("System"), info.system);
    section(out, QStringLiteral("Session"), info.session);
    section(out, QStringLiteral("Services"), info.services);

    DiagnosticsInfo::Lines database{{QStringLiteral("Path"), info.databasePath}};
    if (!info.databaseError.isEmpty()) {
        database.append({QStringLiteral("Error"), info.databaseError});
    } else {
        database.append({QStringLiteral("Schema version (user_version)"), QString::number(info.schemaVersion)});
        database.append({QStringLiteral("Clips"), QString::number(info.clipCount)});
        for (const auto &line : info.clipsPerGroup)
            database.append({QStringLiteral("Clips (%1)").arg(line.first), line.second});
        database.append({QStringLiteral("Storage used"), ClipText::byteCount(info.storageUsed)});
        database.append({QStringLiteral("Storage limit"), ClipText::byteCount(info.storageLimit)});
    }
    section(out, QStringLiteral("Database"), database);
    section(out, QStringLiteral("Settings"), info.settings);
    section(out, QStringLiteral("Privacy"),
            {{QStringLiteral("Excluded apps"), QString::number(info.exclusionCount)},
             {QStringLiteral("Recent skips"), QString::number(info.recentSkipCount)}});
    return out;
}

} // namespace corvane::DiagnosticsReport
