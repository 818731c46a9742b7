#include "DesktopSettingsMapping.h"

#include "DesktopEntryParser.h"

#include <cmath>

namespace corvane::DesktopSettingsMapping {

namespace {

std::optional<bool> toBool(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<double> toNumber(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

} // namespace

Result map(const QHash<QString, QVariant> &values)
{
    Result result;
    if (toBool(values.value(gnomeAnimations)) == false)
        result.reduceMotion = true;
    if (const auto factor = toNumber(values.value(kdeAnimationFactor)); factor && *factor <= 0.0)
        result.reduceMotion = true;
    if (toBool(values.value(gnomeHighContrast)) == true)
        result.reduceTransparency = true;
    return result;
}

std::optional<QVariant> kdeAnimationFactorFromKdeglobals(const QByteArray &kdeglobals)
{
    const auto file = DesktopEntryParser::parseKeyFile(kdeglobals);
    const auto group = file.constFind(QStringLiteral("KDE"));
    if (group == file.cend())
        return std::nullopt;
    const auto value = group->constFind(QStringLiteral("AnimationDurationFactor"));
    if (value == group->cend())
        return std::nullopt;
    return QVariant(*value);
}

} // namespace corvane::DesktopSettingsMapping
