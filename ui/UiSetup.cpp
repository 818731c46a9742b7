#include "UiSetup.h"

#include "ClipboardStore.h"
#include "DesignSetup.h"
#include "InspectorSetup.h"
#include "LinkCard.h"
#include "LinkPreviewService.h"
#include "RowPresenter.h"

#include <QPointer>
#include <QQmlEngine>
#include <QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(Corvane_EnginePlugin)
Q_IMPORT_QML_PLUGIN(Corvane_UiPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_MainPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_MenubarPlugin)
Q_IMPORT_QML_PLUGIN(Corvane_SidebarPlugin)
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
    if (LinkPreviewService *previews = LinkPreviewService::shared(); store && previews) {
        previews->installImageProvider(&engine);
        previews->follow(*store);
        // Rows of app clips take their name and icon from the previews as they arrive.
        ClipRowRules::instance().setAppCardSource({[previews](const Clip &clip) { return appCardInfo(clip, *previews); },
                                                   [previews, guard = QPointer<ClipboardStore>(store)](const Clip &clip) {
                                                       if (guard)
                                                           previews->loadPreview(clip, *guard);
                                                   }});
        QObject::connect(previews, &LinkPreviewService::revisionChanged, &ClipRowRules::instance(),
                         &ClipRowRules::notifyCardsChanged, Qt::UniqueConnection);
    }
}

} // namespace corvane
