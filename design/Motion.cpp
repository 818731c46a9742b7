#include "Motion.h"

#include "DesktopSettings.h"

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

void Motion::follow(DesktopSettings *settings)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = settings;
    if (!settings)
        return;
    auto copy = [this] {
        setReduceMotion(m_source->reduceMotion());
        setReduceTransparency(m_source->reduceTransparency());
    };
    connect(settings, &DesktopSettings::reduceMotionChanged, this, copy);
    connect(settings, &DesktopSettings::reduceTransparencyChanged, this, copy);
    copy();
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
