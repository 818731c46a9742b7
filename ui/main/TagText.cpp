#include "TagText.h"

#include "TagLabel.h"

#include <algorithm>

namespace corvane {

QString TagText::accessibilityLabel(const QVariantList &rawValues)
{
    QList<ColorTag> tags;
    for (const QVariant &raw : rawValues) {
        if (const auto tag = ColorTags::fromRawValue(raw.toInt()))
            tags << *tag;
    }
    return tagsAccessibilityLabel(tags);
}

QVariantList TagText::pickerChips(const QVariantList &clipTags)
{
    QVariantList chips;
    for (ColorTag tag : ColorTags::allCases) {
        const QString name = ColorTags::name(tag);
        const bool on = std::any_of(clipTags.begin(), clipTags.end(),
                                    [tag](const QVariant &raw) { return raw.toInt() == ColorTags::rawValue(tag); });
        chips << QVariantMap{
            {QStringLiteral("tag"), ColorTags::rawValue(tag)},
            {QStringLiteral("on"), on},
            {QStringLiteral("help"), (on ? QStringLiteral("Remove ") : QStringLiteral("Add ")) + name + QStringLiteral(" tag")},
            {QStringLiteral("accessibleName"), name + QStringLiteral(" tag")}};
    }
    return chips;
}

} // namespace corvane
