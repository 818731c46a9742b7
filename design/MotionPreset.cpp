#include "MotionPreset.h"

#include "SpringCurve.h"

#include <QPointF>

#include <cmath>

namespace corvane {

MotionPreset MotionPreset::spring(double response, double dampingFraction)
{
    const SpringCurve curve(response, dampingFraction);
    MotionPreset preset;
    preset.duration = int(std::lround(curve.settleDuration() * 1000));
    preset.easing = curve.easingCurve();
    return preset;
}

MotionPreset MotionPreset::easeInOut(double seconds)
{
    // The classic ease-in-out timing curve (control points 0.42, 0 and 0.58, 1).
    MotionPreset preset;
    preset.duration = int(std::lround(seconds * 1000));
    preset.easing = QEasingCurve(QEasingCurve::BezierSpline);
    preset.easing.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return preset;
}

} // namespace corvane
