#include "GroupStyle.h"

#include "ClipGroup.h"
#include "ColorHex.h"

namespace corvane {

QStringList GroupStyle::allCases() const
{
    QStringList raws;
    for (ClipGroup group : ClipGroups::allCases)
        raws << ClipGroups::rawValue(group);
    return raws;
}

QString GroupStyle::displayName(const QString &group) const
{
    const auto g = ClipGroups::fromRawValue(group);
    return g ? ClipGroups::displayName(*g) : QString();
}

QString GroupStyle::symbol(const QString &group) const
{
    const auto g = ClipGroups::fromRawValue(group);
    return g ? ClipGroups::symbol(*g) : QString();
}

QColor GroupStyle::color(const QString &group) const
{
    return colorFromHex(ClipGroups::colorHex(ClipGroups::fromRawValue(group).value_or(ClipGroup::text)));
}

} // namespace corvane
