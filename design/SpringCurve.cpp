#include "SpringCurve.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {
namespace {

constexpr double settleTolerance = 1e-3;
// Qt 6.4 keeps room for 10 segments of a BezierSpline curve and writes past it for more. With
// exact slopes and pieces packed towards the fast start, 10 keep the design's springs within
// 0.001 of the true motion.
constexpr int curveSegments = 10;
constexpr double segmentPacking = 1.5;
constexpr double criticalBand = 1e-6;

} // namespace

SpringCurve::SpringCurve(double response, double dampingFraction)
    : m_response(std::max(response, 1e-3))
    , m_damping(std::max(dampingFraction, 1e-3))
    , m_omega(2 * std::numbers::pi / m_response)
    , m_regime(m_damping < 1 - criticalBand        ? Regime::under
                   : m_damping <= 1 + criticalBand ? Regime::critical
                                                   : Regime::over)
    , m_damped(m_regime == Regime::under ? m_omega * std::sqrt(1 - m_damping * m_damping) : 0)
    , m_fastRoot(0)
    , m_slowRoot(0)
{
    if (m_regime == Regime::over) {
        const double spread = m_omega * std::sqrt(m_damping * m_damping - 1);
        m_slowRoot = -m_damping * m_omega + spread;
        m_fastRoot = -m_damping * m_omega - spread;
    }
}

double SpringCurve::value(double t) const
{
    if (t <= 0)
        return 0;
    const double w = m_omega;
    switch (m_regime) {
    case Regime::under:
        return 1 - std::exp(-m_damping * w * t) * (std::cos(m_damped * t) + m_damping * w / m_damped * std::sin(m_damped * t));
    case Regime::critical:
        return 1 - std::exp(-w * t) * (1 + w * t);
    case Regime::over:
        break;
    }
    const double r1 = m_slowRoot;
    const double r2 = m_fastRoot;
    return 1 - (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
}

double SpringCurve::velocity(double t) const
{
    if (t <= 0)
        return 0;
    const double w = m_omega;
    switch (m_regime) {
    case Regime::under:
        return w * w / m_damped * std::exp(-m_damping * w * t) * std::sin(m_damped * t);
    case Regime::critical:
        return w * w * t * std::exp(-w * t);
    case Regime::over:
        break;
    }
    const double r1 = m_slowRoot;
    const double r2 = m_fastRoot;
    return r1 * r2 * (std::exp(r2 * t) - std::exp(r1 * t)) / (r2 - r1);
}

double SpringCurve::settleDuration() const
{
    if (m_regime == Regime::under) {
        // The oscillation never leaves the envelope exp(-z w t) / sqrt(1 - z^2).
        const double z = m_damping;
        return std::log(1 / (settleTolerance * std::sqrt(1 - z * z))) / (z * m_omega);
    }
    // Without overshoot the approach is monotonic: step until close enough.
    const double step = m_response / 1000;
    double t = 0;
    while (1 - value(t) > settleTolerance)
        t += step;
    return t;
}

QEasingCurve SpringCurve::easingCurve() const
{
    // Cubic Hermite pieces with the exact slopes, written as Bezier segments.
    const double total = settleDuration();
    QEasingCurve curve(QEasingCurve::BezierSpline);
    auto slope = [&](double u) { return u >= 1 ? 0.0 : velocity(u * total) * total; };
    auto position = [&](double u) { return u >= 1 ? 1.0 : value(u * total); };
    for (int i = 0; i < curveSegments; ++i) {
        const double u0 = std::pow(double(i) / curveSegments, segmentPacking);
        const double u1 = std::pow(double(i + 1) / curveSegments, segmentPacking);
        const double h = u1 - u0;
        const double y0 = position(u0);
        const double y1 = position(u1);
        curve.addCubicBezierSegment(QPointF(u0 + h / 3, y0 + h / 3 * slope(u0)), QPointF(u1 - h / 3, y1 - h / 3 * slope(u1)),
                                    QPointF(u1, y1));
    }
    return curve;
}

} // namespace corvane
