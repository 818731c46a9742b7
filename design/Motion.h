#pragma once

#include "ProcessSingleton.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace corvane {

/**
 * @brief The desktop's reduce-motion and reduce-transparency settings, one instance per process:
 * read at the moment of an action and observed by bindings.
 */
class Motion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency WRITE setReduceTransparency
                   NOTIFY reduceTransparencyChanged)

public:
    static Motion &instance();
    static Motion *create(QQmlEngine *, QJSEngine *) { return processSingleton<Motion>(); }

    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool on);
    bool reduceTransparency() const { return m_reduceTransparency; }
    void setReduceTransparency(bool on);

signals:
    void reduceMotionChanged();
    void reduceTransparencyChanged();

private:
    explicit Motion(QObject *parent = nullptr);

    bool m_reduceMotion = false;
    bool m_reduceTransparency = false;
};

} // namespace corvane
