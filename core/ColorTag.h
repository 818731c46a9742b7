#pragma once

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace corvane {

/** @brief The seven colour tags; raw values 0-6, stored together as a bit mask (tag n = 1 << n). */
enum class ColorTag : int { red = 0, orange, yellow, green, blue, purple, gray };

namespace ColorTags {

inline constexpr std::array<ColorTag, 7> allCases{ColorTag::red,  ColorTag::orange, ColorTag::yellow, ColorTag::green,
                                                  ColorTag::blue, ColorTag::purple, ColorTag::gray};
/** Bits of the mask that carry a known tag. */
inline constexpr std::int64_t knownBits = 0x7F;

inline constexpr int rawValue(ColorTag tag) { return static_cast<int>(tag); }
inline constexpr std::int64_t bit(ColorTag tag) { return std::int64_t{1} << rawValue(tag); }

/** "Red", "Orange", ... */
QString name(ColorTag tag);
/** The tag's display colour as "#RRGGBB". */
QString colorHex(ColorTag tag);
std::optional<ColorTag> fromRawValue(int raw);
/** The tags whose bits are set, in allCases order; unknown bits are ignored. */
QList<ColorTag> fromMask(std::int64_t mask);
/** The mask of the tags, keeping the unknown bits of `preserved`. */
std::int64_t toMask(const QList<ColorTag> &tags, std::int64_t preserved = 0);

} // namespace ColorTags
} // namespace corvane
