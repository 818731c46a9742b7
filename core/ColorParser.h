#pragma once

#include "RGBA.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace corvane::ColorParser {

enum class Notation { hex, rgb, hsl };

/** @brief A parsed colour together with the notation it was written in. */
struct Parsed {
    RGBA color;
    Notation notation = Notation::hex;
};

/**
 * #RGB, #RGBA, #RRGGBB, #RRGGBBAA, rgb()/rgba() and hsl()/hsla() in comma or space syntax.
 * Surrounding white space is ignored; out-of-range values are rejected; no named colours.
 */
std::optional<Parsed> parseNotation(QStringView text);
/** The colour of a supported notation, or nothing. */
std::optional<RGBA> parse(QStringView text);
/** "HEX", "RGB" or "HSL". */
QString notationName(Notation notation);

} // namespace corvane::ColorParser
