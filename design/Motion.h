#pragma once

#include "ProcessSingleton.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <QPointer>

class QQmlEngine;
class QJSEngine;

namespace corvane {

/**
 * @brief The desktop's reduce-motion and reduce-transparency settings, one instance per process:
 * read at the moment of an action and observed by bindings. The app points it at the desktop's
 * settings with follow(); until then (and in tests) it is set directly.
 */
class Motion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY reduceMotionChanged)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency WRITE setReduceTransparency NOTIFY reduceTransparencyChanged)

public:
    static Motion &instance();
    static Motion *create(QQmlEngine *, QJSEngine *) { return processSingleton<Motion>(); }

    /**
     * Takes both values from `settings` now and whenever they change; nullptr stops following.
     * `settings` is any object with notifying bool properties reduceMotion and reduceTransparency.
     */
    void follow(QObject *settings);

    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool on);
    bool reduceTransparency() const { return m_reduceTransparency; }
    void setReduceTransparency(bool on);

signals:
    void reduceMotionChanged();
    void reduceTransparencyChanged();

private:
    explicit Motion(QObject *parent = nullptr);

    Q_SLOT void copyFromSource();

    QPointer<QObject> m_source;
    bool m_reduceMotion = false;
    bool m_reduceTransparency = false;
};

} // namespace corvane
