#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace corvane {

/**
 * @brief The on-device language model for summaries and smart titles.
 *
 * This platform provides none, so the service always reports itself unavailable and no
 * summary or title is ever made.
 */
class IntelligenceService : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(Availability unavailableReason READ unavailableReason CONSTANT)
    Q_PROPERTY(bool isAvailable READ isAvailable CONSTANT)

public:
    enum class Availability { available, deviceNotEligible, notEnabled, modelNotReady, other };
    Q_ENUM(Availability)

    static IntelligenceService *shared();
    static IntelligenceService *create(QQmlEngine *, QJSEngine *);

    Availability unavailableReason() const { return Availability::deviceNotEligible; }
    bool isAvailable() const { return unavailableReason() == Availability::available; }

private:
    IntelligenceService() = default;
};

} // namespace corvane
