#include "Animations.h"

#include <algorithm>
#include <cmath>

namespace corvane {

MotionPreset Animations::press()
{
    static const MotionPreset preset = MotionPreset::spring(0.25, 0.7);
    return preset;
}

MotionPreset Animations::hover()
{
    static const MotionPreset preset = MotionPreset::easeInOut(0.12);
    return preset;
}

MotionPreset Animations::selection()
{
    static const MotionPreset preset = MotionPreset::spring(0.35, 0.78);
    return preset;
}

MotionPreset Animations::reveal()
{
    static const MotionPreset preset = MotionPreset::easeInOut(0.15);
    return preset;
}

MotionPreset Animations::appear()
{
    static const MotionPreset preset = MotionPreset::spring(0.45, 0.85);
    return preset;
}

MotionPreset Animations::spring(double response, double dampingFraction) const
{
    return MotionPreset::spring(response, dampingFraction);
}

int Animations::staggerDelay(int index, double stepSeconds)
{
    return int(std::lround(std::clamp(index, 0, 10) * stepSeconds * 1000));
}

bool Animations::appearsAtOnce(int index) { return index > 12; }

} // namespace corvane
