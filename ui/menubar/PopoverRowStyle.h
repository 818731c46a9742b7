#pragma once

#include "ClipGroup.h"

#include <QString>

#include <optional>

namespace corvane {

/** @brief What a popover row draws at its leading edge, and how large. */
struct LeadingVisual {
    enum Kind { Thumbnail, GroupVisual };
    Kind kind = GroupVisual;
    int size = 24;
    friend bool operator==(const LeadingVisual &, const LeadingVisual &) = default;
};

/** @brief The font of a popover row's title. */
struct TitleStyle {
    bool monospaced = false;
    double pointSize = 12.5;
    bool medium = true;
    friend bool operator==(const TitleStyle &, const TitleStyle &) = default;
};

/** The trailing mark of a row, in order of precedence. */
enum class TrailingMark { Copied, PinButton, Shortcut, None };

/** A 44-pt thumbnail for an image with a thumbnail, a 30-pt swatch for a colour, else 24 pt. */
LeadingVisual leadingVisual(ClipGroup group, bool hasThumbnail);

/** Monospaced 12 pt for code-like groups, 12.5 pt medium for prose-like ones. */
TitleStyle titleStyle(ClipGroup group);

TrailingMark trailingMark(bool copied, bool hovering, const std::optional<int> &shortcut);

/** The key legend of a row number as the desktop writes it: "Ctrl+3". */
QString shortcutLegend(int number);

} // namespace corvane
