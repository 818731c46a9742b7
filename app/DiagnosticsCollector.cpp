#include "DiagnosticsCollector.h"

#include "AppInfo.h"
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "GlobalHotKeys.h"
#include "StatusItemController.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QSequentialIterable>

namespace corvane {
namespace {

// Lists in the settings name apps and websites the user works with: only their sizes go out.
QString describe(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    if (value.typeId() == QMetaType::QString)
        return QStringLiteral("(text)");
    if (value.canView<QSequentialIterable>())
        return QStringLiteral("%1 entries").arg(value.value<QSequentialIterable>().size());
    return value.toString();
}

DiagnosticsInfo::Lines settingLines(const AppSettings &settings)
{
    DiagnosticsInfo::Lines lines;
    const QMetaObject *meta = settings.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isWritable() && QByteArrayView(property.name()) != "problems")
            continue;
        lines.append({QString::fromLatin1(property.name()), describe(property.read(&settings))});
    }
    return lines;
}

} // namespace

DiagnosticsInfo collectDiagnostics(const DiagnosticsSources &sources)
{
    DiagnosticsInfo info;
    info.version = appVersion();
    info.build = appBuild();
    info.generatedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    info.system = DiagnosticsReport::systemLines();
    info.session = DiagnosticsReport::sessionLines();

    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    info.services.append(
        {QStringLiteral("Tray"), sources.statusItem ? sources.statusItem->trayStateText() : QStringLiteral("not installed")});
    for (const auto &[id, legend] : sources.hotKeyLegends) {
        const QString state = sources.hotKeys ? hotKeyStatusText(sources.hotKeys->status(id)) : QStringLiteral("not registered");
        info.services.append({QStringLiteral("Hot key %1").arg(legend), state});
    }
    info.services.append({QStringLiteral("Clipboard"),
                          x11 ? QStringLiteral("X11 CLIPBOARD selection")
                              : QStringLiteral("without X11: copies are seen only while Corvane has focus")});
    info.services.append({QStringLiteral("Active window"),
                          x11 ? QStringLiteral("X11 (_NET_ACTIVE_WINDOW)") : QStringLiteral("unavailable without X11")});

    info.databasePath = sources.databasePath;
    ClipboardStore *store = sources.store;
    if (!store || !store->database()) {
        info.databaseError = QStringLiteral("the database could not be opened; see the log lines beginning \"Corvane:\"");
    } else {
        ClipDatabase &database = *store->database();
        try {
            info.schemaVersion = ClipDatabase::schemaVersion;
            info.clipCount = database.clipCount();
            for (const auto &[group, count] : database.countsByGroup())
                info.clipsPerGroup.append({ClipGroups::displayName(group), QString::number(count)});
            info.storageUsed = database.storageUsed();
        } catch (const ClipDatabase::Error &error) {
            info.databaseError = error.message();
        }
    }
    if (sources.settings) {
        info.storageLimit = sources.settings->storageLimit();
        info.settings = settingLines(*sources.settings);
        info.exclusionCount = int(sources.settings->userExclusions().size());
    }
    if (store)
        info.recentSkipCount = int(store->recentSkips().size());
    return info;
}

} // namespace corvane
