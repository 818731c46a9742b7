#include "ClipboardStore.h"
#include "SourceIconImageProvider.h"
#include "ThumbnailImageProvider.h"

#include <QQmlEngine>

namespace corvane {

namespace {
ClipboardStore *sharedStore = nullptr;
}

ClipboardStore *ClipboardStore::shared() { return sharedStore; }

void ClipboardStore::setShared(ClipboardStore *store) { sharedStore = store; }

ClipboardStore *ClipboardStore::create(QQmlEngine *, QJSEngine *)
{
    ClipboardStore *store = shared();
    if (store)
        QQmlEngine::setObjectOwnership(store, QQmlEngine::CppOwnership);
    return store;
}

void ClipboardStore::installImageProviders(QQmlEngine *engine)
{
    engine->addImageProvider(QStringLiteral("thumb"), new ThumbnailImageProvider(this));
    engine->addImageProvider(QStringLiteral("source"), new SourceIconImageProvider(m_icons));
}

} // namespace corvane
