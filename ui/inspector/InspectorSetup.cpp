#include "InspectorSetup.h"

#include "ClipImageProvider.h"
#include "ClipboardStore.h"
#include "QrCodeModel.h"

#include <QQmlEngine>

namespace corvane {

void installInspector(QQmlEngine &engine, ClipboardStore *store)
{
    if (!engine.imageProvider(QStringLiteral("qr")))
        engine.addImageProvider(QStringLiteral("qr"), new QrImageProvider);
    if (store && !engine.imageProvider(QStringLiteral("clipimage")))
        engine.addImageProvider(QStringLiteral("clipimage"), new ClipImageProvider([store] { return store->sharedDatabase(); }));
}

} // namespace corvane
