#include "Motion.h"

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
