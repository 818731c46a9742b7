#include "TagLabel.h"

#include <QStringList>

namespace corvane {

QString tagsAccessibilityLabel(const QList<ColorTag> &tags)
{
    QStringList names;
    for (ColorTag tag : tags)
        names << ColorTags::name(tag);
    return names.join(QStringLiteral(", ")) + QStringLiteral(" tags");
}

} // namespace corvane
