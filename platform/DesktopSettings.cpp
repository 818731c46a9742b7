#include "DesktopSettings.h"

namespace corvane {

void DesktopSettings::update(bool reduceMotion, bool reduceTransparency)
{
    const bool motionChanged = reduceMotion != m_reduceMotion;
    const bool transparencyChanged = reduceTransparency != m_reduceTransparency;
    m_reduceMotion = reduceMotion;
    m_reduceTransparency = reduceTransparency;
    if (motionChanged)
        emit reduceMotionChanged();
    if (transparencyChanged)
        emit reduceTransparencyChanged();
}

} // namespace corvane
