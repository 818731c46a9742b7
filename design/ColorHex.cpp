#include "ColorHex.h"

namespace corvane {
namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QColor colorFromHex(QStringView hex)
{
    if (hex.startsWith(u'#'))
        hex = hex.mid(1);
    if (hex.size() != 6)
        return QColor(Qt::black);
    // Parsed by hand: toUInt would also accept a sign, spaces or "0x".
    QRgb rgb = 0;
    for (QChar c : hex) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return QColor(Qt::black);
        rgb = rgb * 16 + QRgb(digit);
    }
    return QColor::fromRgb(0xff000000u | rgb);
}

} // namespace corvane
