#pragma once

#include "ClipGroup.h"
#include "ColorTag.h"

#include <QString>
#include <QTimeZone>

#include <functional>
#include <optional>

namespace corvane {

/** @brief The list filter: all, pinned, one group, one source, one tag or one day. */
struct ClipFilter {
    enum class Kind { all, pinned, group, app, tag, day };

    Kind kind = Kind::all;
    ClipGroup group = ClipGroup::text;
    /** A source key: a bundle id, or "web:" + host. */
    QString bundleID;
    ColorTag tag = ColorTag::red;
    /** Start of the day, seconds since 1970. */
    double day = 0;

    static ClipFilter all() { return {}; }
    static ClipFilter pinned();
    static ClipFilter ofGroup(ClipGroup group);
    static ClipFilter app(const QString &bundleID);
    static ClipFilter ofTag(ColorTag tag);
    static ClipFilter ofDay(double startOfDay);

    /** Compares the kind and only the payload that kind uses. */
    bool operator==(const ClipFilter &other) const;
};

size_t qHash(const ClipFilter &filter, size_t seed = 0);

/** Display name of an installed app for a bundle id, or nothing when no app has it. */
using AppNameLookup = std::function<std::optional<QString>(const QString &bundleID)>;

/** The clip list's title for a filter ("All History", "Pinned", "Red tag", "Today", ...). */
QString title(const ClipFilter &filter, double now, const QTimeZone &zone, const AppNameLookup &appNameLookup);

} // namespace corvane

template<> struct std::hash<corvane::ClipFilter> {
    size_t operator()(const corvane::ClipFilter &filter) const noexcept { return corvane::qHash(filter); }
};
