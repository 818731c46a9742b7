#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief One animation of the design: how long it runs and how it eases. */
class MotionPreset
{
    Q_GADGET
    QML_VALUE_TYPE(motionPreset)

    Q_PROPERTY(int duration MEMBER duration CONSTANT)
    Q_PROPERTY(QEasingCurve easing MEMBER easing CONSTANT)

public:
    /** A spring given by response (s) and damping fraction; it lasts until it settles. */
    static MotionPreset spring(double response, double dampingFraction);
    /** Ease in and out over `seconds`. */
    static MotionPreset easeInOut(double seconds);

    int duration = 0; // milliseconds
    QEasingCurve easing;

    friend bool operator==(const MotionPreset &a, const MotionPreset &b)
    {
        return a.duration == b.duration && a.easing == b.easing;
    }
};

} // namespace corvane
