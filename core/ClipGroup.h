#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace corvane {

/** @brief The ten content groups a clip is sorted into, in display order. */
enum class ClipGroup : std::uint8_t { link, code, color, email, phone, secret, image, file, number, text };

namespace ClipGroups {

inline constexpr std::array<ClipGroup, 10> allCases{ClipGroup::link,   ClipGroup::code,   ClipGroup::color, ClipGroup::email,
                                                    ClipGroup::phone,  ClipGroup::secret, ClipGroup::image, ClipGroup::file,
                                                    ClipGroup::number, ClipGroup::text};

/** The case name, as stored in the database ("code"). */
QString rawValue(ClipGroup group);
/** "Link", "Code", ... */
QString displayName(ClipGroup group);
/** Icon name of the group's symbol ("link", "code", "palette", ...). */
QString symbol(ClipGroup group);
/** The group's colour as "#RRGGBB". */
QString colorHex(ClipGroup group);
/** The group of a raw value, case-sensitive; nothing for an unknown value. */
std::optional<ClipGroup> fromRawValue(const QString &raw);
/** Code-like groups (code, color, phone, secret, file, number), whose text is set monospaced. */
bool isCodeLike(ClipGroup group);

} // namespace ClipGroups
} // namespace corvane
