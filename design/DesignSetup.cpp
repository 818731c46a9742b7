#include "DesignSetup.h"

#include "IconImageProvider.h"
#include "SunsetImageProvider.h"

#include <QQmlEngine>
#include <QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(Corvane_DesignPlugin)

namespace corvane {

void installDesign(QQmlEngine &engine)
{
    if (!engine.imageProvider(QStringLiteral("icon")))
        engine.addImageProvider(QStringLiteral("icon"), new IconImageProvider);
    if (!engine.imageProvider(QStringLiteral("sunset")))
        engine.addImageProvider(QStringLiteral("sunset"), new SunsetImageProvider);
}

} // namespace corvane
