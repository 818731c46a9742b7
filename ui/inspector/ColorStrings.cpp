#include "ColorStrings.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

// The HEX row clamps; the other rows do the same so the three never disagree, and a NaN or an
// infinity never reaches lround (undefined for values an integer cannot hold).
double channel(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0; }

long rounded(double value) { return std::isfinite(value) ? std::lround(value) : 0; }

} // namespace

QString rgbString(const RGBA &color)
{
    return QStringLiteral("rgb(%1, %2, %3)")
        .arg(rounded(channel(color.red) * 255))
        .arg(rounded(channel(color.green) * 255))
        .arg(rounded(channel(color.blue) * 255));
}

QString hslString(const RGBA &color)
{
    const double r = channel(color.red), g = channel(color.green), b = channel(color.blue);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    const double d = max - min;
    if (!(d > 0))
        return QStringLiteral("hsl(0, 0%, %1%)").arg(rounded(l * 100));
    double hue;
    if (r == max)
        hue = std::fmod((g - b) / d, 6.0);
    else if (g == max)
        hue = (b - r) / d + 2;
    else
        hue = (r - g) / d + 4;
    double h = hue * 60;
    if (h < 0)
        h += 360;
    const double s = d / (1 - std::abs(2 * l - 1));
    return QStringLiteral("hsl(%1, %2%, %3%)").arg(rounded(h)).arg(rounded(s * 100)).arg(rounded(l * 100));
}

} // namespace corvane
