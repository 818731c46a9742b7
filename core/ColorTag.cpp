#include "ColorTag.h"

namespace corvane::ColorTags {
namespace {

struct TagInfo {
    const char *name;
    const char *color;
};

constexpr std::array<TagInfo, 7> table{{
    {"Red", "#FF5F57"},
    {"Orange", "#FF9F0A"},
    {"Yellow", "#FFCC00"},
    {"Green", "#34C759"},
    {"Blue", "#0A84FF"},
    {"Purple", "#BF5AF2"},
    {"Gray", "#8E8E93"},
}};

} // namespace

QString name(ColorTag tag) { return QString::fromLatin1(table[size_t(rawValue(tag))].name); }
QString colorHex(ColorTag tag) { return QString::fromLatin1(table[size_t(rawValue(tag))].color); }

std::optional<ColorTag> fromRawValue(int raw)
{
    if (raw < 0 || raw >= int(allCases.size()))
        return std::nullopt;
    return static_cast<ColorTag>(raw);
}

QList<ColorTag> fromMask(std::int64_t mask)
{
    QList<ColorTag> tags;
    for (ColorTag tag : allCases) {
        if (mask & bit(tag))
            tags.append(tag);
    }
    return tags;
}

std::int64_t toMask(const QList<ColorTag> &tags, std::int64_t preserved)
{
    std::int64_t mask = preserved & ~knownBits;
    for (ColorTag tag : tags)
        mask |= bit(tag);
    return mask;
}

} // namespace corvane::ColorTags
