#include "ClipGroup.h"

namespace corvane::ClipGroups {
namespace {

struct GroupInfo {
    const char *raw;
    const char *display;
    const char *symbol;
    const char *color;
};

constexpr std::array<GroupInfo, 10> table{{
    {"link", "Link", "link", "#0A84FF"},
    {"code", "Code", "code", "#6A4CFF"},
    {"color", "Color", "palette", "#FF3D8B"},
    {"email", "Email", "envelope", "#5AC8FA"},
    {"phone", "Phone", "phone", "#34C759"},
    {"secret", "Secret", "key", "#E5484D"},
    {"image", "Image", "photo", "#FF9F0A"},
    {"file", "File", "doc", "#A2845E"},
    {"number", "Number", "number", "#FFCC00"},
    {"text", "Text", "text", "#6B6480"},
}};

const GroupInfo &info(ClipGroup group) { return table[static_cast<size_t>(group)]; }

} // namespace

QString rawValue(ClipGroup group) { return QString::fromLatin1(info(group).raw); }
QString displayName(ClipGroup group) { return QString::fromLatin1(info(group).display); }
QString symbol(ClipGroup group) { return QString::fromLatin1(info(group).symbol); }
QString colorHex(ClipGroup group) { return QString::fromLatin1(info(group).color); }

std::optional<ClipGroup> fromRawValue(const QString &raw)
{
    for (ClipGroup group : allCases) {
        if (raw == QLatin1String(info(group).raw))
            return group;
    }
    return std::nullopt;
}

bool isCodeLike(ClipGroup group)
{
    switch (group) {
    case ClipGroup::code:
    case ClipGroup::color:
    case ClipGroup::phone:
    case ClipGroup::secret:
    case ClipGroup::file:
    case ClipGroup::number:
        return true;
    case ClipGroup::link:
    case ClipGroup::email:
    case ClipGroup::image:
    case ClipGroup::text:
        break;
    }
    return false;
}

} // namespace corvane::ClipGroups
