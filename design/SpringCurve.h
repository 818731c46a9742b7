#pragma once

#include <QEasingCurve>

namespace corvane {

/**
 * @brief The step response of a damped spring, described like the design's springs: by its
 * response (the period of the undamped oscillation, in seconds) and its damping fraction
 * (1 = critically damped, below 1 overshoots).
 */
class SpringCurve
{
public:
    SpringCurve(double response, double dampingFraction);

    double response() const { return m_response; }
    double dampingFraction() const { return m_damping; }

    /** Position at `seconds` after release, moving from 0 towards 1. */
    double value(double seconds) const;
    /** Velocity at `seconds`, in units per second. */
    double velocity(double seconds) const;
    /** Seconds until the spring stays within a thousandth of its target. */
    double settleDuration() const;
    /** The motion over `settleDuration()` as an easing curve (progress 0..1), ending exactly at 1. */
    QEasingCurve easingCurve() const;

private:
    enum class Regime { under, critical, over };

    double m_response;
    double m_damping;
    double m_omega; // undamped angular frequency
    Regime m_regime;
    double m_damped;   // under: damped angular frequency
    double m_fastRoot; // over: the two real roots of the characteristic equation
    double m_slowRoot;
};

} // namespace corvane
