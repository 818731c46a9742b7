#include "IntelligenceService.h"

#include <QQmlEngine>

namespace corvane {

IntelligenceService *IntelligenceService::shared()
{
    static IntelligenceService *instance = new IntelligenceService;
    return instance;
}

IntelligenceService *IntelligenceService::create(QQmlEngine *, QJSEngine *)
{
    IntelligenceService *service = shared();
    QQmlEngine::setObjectOwnership(service, QQmlEngine::CppOwnership);
    return service;
}

} // namespace corvane
