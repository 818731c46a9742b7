#include "RGBA.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

int channelByte(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

} // namespace

QString RGBA::hexString() const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString hex(7, QLatin1Char('#'));
    const int bytes[3] = {channelByte(red), channelByte(green), channelByte(blue)};
    for (int i = 0; i < 3; ++i) {
        hex[1 + 2 * i] = QLatin1Char(digits[bytes[i] >> 4]);
        hex[2 + 2 * i] = QLatin1Char(digits[bytes[i] & 0xF]);
    }
    return hex;
}

} // namespace corvane
