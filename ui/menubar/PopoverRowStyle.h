#pragma once

#include "ClipGroup.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief What a popover row draws at its leading edge, and how large. */
struct LeadingVisual {
    enum Kind { Thumbnail, GroupVisual };
    Kind kind = GroupVisual;
    int size = 24;
    friend bool operator==(const LeadingVisual &, const LeadingVisual &) = default;
};

/** A 44-pt thumbnail for an image with a thumbnail, a 30-pt swatch for a colour, else 24 pt. */
LeadingVisual leadingVisual(ClipGroup group, bool hasThumbnail);

/** @brief The popover row's trailing mark, for QML. */
class PopoverRowStyle : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    /** The trailing mark of a row, in order of precedence. */
    enum TrailingMark { Copied, PinButton, Shortcut, None };
    Q_ENUM(TrailingMark)

    using QObject::QObject;

    /** The copied check, else the pin button while hovered, else the row's number, if it has one. */
    Q_INVOKABLE corvane::PopoverRowStyle::TrailingMark trailingMark(bool copied, bool hovering, bool numbered) const;
};

} // namespace corvane
