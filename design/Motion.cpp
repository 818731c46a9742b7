#include "Motion.h"

#include <QMetaProperty>

namespace corvane {

Motion::Motion(QObject *parent)
    : QObject(parent)
{
}

Motion &Motion::instance()
{
    static Motion motion;
    return motion;
}

void Motion::follow(QObject *settings)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = settings;
    if (!settings)
        return;
    const QMetaObject *meta = settings->metaObject();
    const QMetaMethod copy = metaObject()->method(metaObject()->indexOfMethod("copyFromSource()"));
    for (const char *name : {"reduceMotion", "reduceTransparency"}) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(name));
        if (property.hasNotifySignal())
            connect(settings, property.notifySignal(), this, copy);
    }
    copyFromSource();
}

void Motion::copyFromSource()
{
    if (!m_source)
        return;
    setReduceMotion(m_source->property("reduceMotion").toBool());
    setReduceTransparency(m_source->property("reduceTransparency").toBool());
}

void Motion::setReduceMotion(bool on)
{
    if (m_reduceMotion == on)
        return;
    m_reduceMotion = on;
    emit reduceMotionChanged();
}

void Motion::setReduceTransparency(bool on)
{
    if (m_reduceTransparency == on)
        return;
    m_reduceTransparency = on;
    emit reduceTransparencyChanged();
}

} // namespace corvane
