#include "LinkPreviewImageProvider.h"
#include "LinkPreviewService.h"

#include <QQmlEngine>

namespace corvane {

namespace {
LinkPreviewService *sharedService = nullptr;
}

LinkPreviewService *LinkPreviewService::shared() { return sharedService; }

void LinkPreviewService::setShared(LinkPreviewService *service) { sharedService = service; }

LinkPreviewService *LinkPreviewService::create(QQmlEngine *, QJSEngine *)
{
    LinkPreviewService *service = shared();
    if (service)
        QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
    return service;
}

void LinkPreviewService::installImageProvider(QQmlEngine *engine)
{
    if (!engine->imageProvider(QStringLiteral("linkpreview")))
        engine->addImageProvider(QStringLiteral("linkpreview"), new LinkPreviewImageProvider(this));
}

} // namespace corvane
