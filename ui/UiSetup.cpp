#include "UiSetup.h"

#include "ClipboardStore.h"
#include "DesignSetup.h"
#include "InspectorSetup.h"
#include "LinkPreviewService.h"

#include <QQmlEngine>
#include <QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(Corvane_EnginePlugin)
Q_IMPORT_QML_PLUGIN(Corvane_UiPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_MainPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_MenubarPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_InspectorPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_LinkPreviewPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_SettingsPlugin)

namespace corvane {

void installUi(QQmlEngine &engine, ClipboardStore *store)
{
    installDesign(engine);
    if (store && !engine.imageProvider(QStringLiteral("thumb")))
        store->installImageProviders(&engine);
    installInspector(engine, store);
    if (LinkPreviewService *links = LinkPreviewService::shared(); store && links) {
        links->installImageProvider(&engine);
        links->follow(*store);
    }
}

} // namespace corvane
