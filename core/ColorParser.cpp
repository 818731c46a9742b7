#include "ColorParser.h"

#include <QList>

#include <cmath>

namespace corvane::ColorParser {
namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

std::optional<RGBA> parseHex(QStringView digits)
{
    const qsizetype n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return std::nullopt;
    int values[8];
    for (qsizetype i = 0; i < n; ++i) {
        values[i] = hexValue(digits[i]);
        if (values[i] < 0)
            return std::nullopt;
    }
    double channels[4] = {0, 0, 0, 1};
    const bool shortForm = n <= 4;
    const qsizetype count = shortForm ? n : n / 2;
    for (qsizetype i = 0; i < count; ++i) {
        const int byte = shortForm ? values[i] * 17 : values[2 * i] * 16 + values[2 * i + 1];
        channels[i] = byte / 255.0;
    }
    return RGBA{channels[0], channels[1], channels[2], channels[3]};
}

/** @brief A plain decimal number, optionally followed by "%" (or a unit the caller allows). */
struct Number {
    double value = 0;
    bool percent = false;
};

// Plain decimals only: QString::toDouble would also take "inf", "nan" and hex forms.
std::optional<Number> parseNumber(QStringView text, QStringView unit = {})
{
    Number number;
    if (!unit.isEmpty() && text.endsWith(unit, Qt::CaseInsensitive))
        text.chop(unit.size());
    else if (text.endsWith(u'%')) {
        number.percent = true;
        text.chop(1);
    }
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    bool ok = false;
    number.value = text.toString().toDouble(&ok);
    if (!ok || !std::isfinite(number.value))
        return std::nullopt;
    return number;
}

/** Splits "a, b, c" or "a b c / d" into its components; the alpha comes last when present. */
std::optional<QList<QStringView>> components(QStringView body)
{
    QList<QStringView> parts;
    if (body.contains(u',')) {
        if (body.contains(u'/'))
            return std::nullopt;
        for (QStringView part : body.split(u','))
            parts.append(part.trimmed());
    } else {
        const qsizetype slash = body.indexOf(u'/');
        QStringView colour = slash < 0 ? body : body.left(slash);
        for (QStringView part : colour.split(u' ', Qt::SkipEmptyParts))
            parts.append(part.trimmed());
        if (slash >= 0) {
            if (parts.size() != 3)
                return std::nullopt;
            parts.append(body.mid(slash + 1).trimmed());
        }
    }
    if (parts.size() != 3 && parts.size() != 4)
        return std::nullopt;
    for (QStringView part : parts) {
        if (part.isEmpty())
            return std::nullopt;
    }
    return parts;
}

std::optional<double> alphaComponent(QStringView text)
{
    const auto number = parseNumber(text);
    if (!number)
        return std::nullopt;
    const double alpha = number->percent ? number->value / 100.0 : number->value;
    if (alpha < 0 || alpha > 1)
        return std::nullopt;
    return alpha;
}

std::optional<RGBA> parseRgb(const QList<QStringView> &parts)
{
    double channels[3];
    for (int i = 0; i < 3; ++i) {
        const auto number = parseNumber(parts[i]);
        if (!number)
            return std::nullopt;
        const double limit = number->percent ? 100.0 : 255.0;
        if (number->value < 0 || number->value > limit)
            return std::nullopt;
        channels[i] = number->value / limit;
    }
    RGBA color{channels[0], channels[1], channels[2], 1};
    if (parts.size() == 4) {
        const auto alpha = alphaComponent(parts[3]);
        if (!alpha)
            return std::nullopt;
        color.alpha = *alpha;
    }
    return color;
}

double hueToChannel(double p, double q, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (t < 1.0 / 6)
        return p + (q - p) * 6 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

std::optional<RGBA> parseHsl(const QList<QStringView> &parts)
{
    const auto hue = parseNumber(parts[0], u"deg");
    if (!hue || hue->percent)
        return std::nullopt;
    double sl[2];
    for (int i = 0; i < 2; ++i) {
        const auto number = parseNumber(parts[1 + i]);
        if (!number || number->value < 0 || number->value > 100)
            return std::nullopt;
        sl[i] = number->value / 100.0;
    }
    // A hue is an angle, so any value names a direction on the colour wheel.
    double h = std::fmod(hue->value, 360.0);
    if (h < 0)
        h += 360.0;
    h /= 360.0;
    const double s = sl[0];
    const double l = sl[1];
    RGBA color{l, l, l, 1};
    if (s > 0) {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const double p = 2 * l - q;
        color.red = hueToChannel(p, q, h + 1.0 / 3);
        color.green = hueToChannel(p, q, h);
        color.blue = hueToChannel(p, q, h - 1.0 / 3);
    }
    if (parts.size() == 4) {
        const auto alpha = alphaComponent(parts[3]);
        if (!alpha)
            return std::nullopt;
        color.alpha = *alpha;
    }
    return color;
}

/** The body between "name(" and ")" when the text is a call of one of the given names. */
std::optional<QStringView> functionBody(QStringView text, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *name : names) {
        const QStringView prefix(name);
        if (text.size() > prefix.size() + 1 && text.startsWith(prefix, Qt::CaseInsensitive) && text[prefix.size()] == u'('
            && text.endsWith(u')'))
            return text.mid(prefix.size() + 1, text.size() - prefix.size() - 2).trimmed();
    }
    return std::nullopt;
}

} // namespace

std::optional<Parsed> parseNotation(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 4 || text.size() > 80)
        return std::nullopt;
    if (text.front() == u'#') {
        if (auto color = parseHex(text.mid(1)))
            return Parsed{*color, Notation::hex};
        return std::nullopt;
    }
    if (auto body = functionBody(text, {u"rgba", u"rgb"})) {
        if (auto parts = components(*body)) {
            if (auto color = parseRgb(*parts))
                return Parsed{*color, Notation::rgb};
        }
        return std::nullopt;
    }
    if (auto body = functionBody(text, {u"hsla", u"hsl"})) {
        if (auto parts = components(*body)) {
            if (auto color = parseHsl(*parts))
                return Parsed{*color, Notation::hsl};
        }
    }
    return std::nullopt;
}

std::optional<RGBA> parse(QStringView text)
{
    if (auto parsed = parseNotation(text))
        return parsed->color;
    return std::nullopt;
}

QString notationName(Notation notation)
{
    switch (notation) {
    case Notation::hex:
        return QStringLiteral("HEX");
    case Notation::rgb:
        return QStringLiteral("RGB");
    case Notation::hsl:
        return QStringLiteral("HSL");
    }
    return {};
}

} // namespace corvane::ColorParser
