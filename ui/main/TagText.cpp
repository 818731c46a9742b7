#include "TagText.h"

#include "TagLabel.h"

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

} // namespace corvane
