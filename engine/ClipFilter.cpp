#include "ClipFilter.h"

#include "ClipText.h"

#include <QDateTime>
#include <QHashFunctions>

namespace corvane {

ClipFilter ClipFilter::pinned()
{
    ClipFilter filter;
    filter.kind = Kind::pinned;
    return filter;
}

ClipFilter ClipFilter::ofGroup(ClipGroup group)
{
    ClipFilter filter;
    filter.kind = Kind::group;
    filter.group = group;
    return filter;
}

ClipFilter ClipFilter::app(const QString &bundleID)
{
    ClipFilter filter;
    filter.kind = Kind::app;
    filter.bundleID = bundleID;
    return filter;
}

ClipFilter ClipFilter::ofTag(ColorTag tag)
{
    ClipFilter filter;
    filter.kind = Kind::tag;
    filter.tag = tag;
    return filter;
}

ClipFilter ClipFilter::ofDay(double startOfDay)
{
    ClipFilter filter;
    filter.kind = Kind::day;
    filter.day = startOfDay;
    return filter;
}

bool ClipFilter::operator==(const ClipFilter &other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case Kind::all:
    case Kind::pinned:
        return true;
    case Kind::group:
        return group == other.group;
    case Kind::app:
        return bundleID == other.bundleID;
    case Kind::tag:
        return tag == other.tag;
    case Kind::day:
        return day == other.day;
    }
    return false;
}

size_t qHash(const ClipFilter &filter, size_t seed)
{
    seed = qHashMulti(seed, int(filter.kind));
    switch (filter.kind) {
    case ClipFilter::Kind::all:
    case ClipFilter::Kind::pinned:
        return seed;
    case ClipFilter::Kind::group:
        return ::qHash(int(filter.group), seed);
    case ClipFilter::Kind::app:
        return ::qHash(filter.bundleID, seed);
    case ClipFilter::Kind::tag:
        return ::qHash(int(filter.tag), seed);
    case ClipFilter::Kind::day:
        return ::qHash(filter.day, seed);
    }
    return seed;
}

QString title(const ClipFilter &filter, double now, const QTimeZone &zone, const AppNameLookup &appNameLookup)
{
    switch (filter.kind) {
    case ClipFilter::Kind::all:
        return QStringLiteral("All History");
    case ClipFilter::Kind::pinned:
        return QStringLiteral("Pinned");
    case ClipFilter::Kind::group:
        return ClipGroups::displayName(filter.group);
    case ClipFilter::Kind::tag:
        return ColorTags::name(filter.tag) + QStringLiteral(" tag");
    case ClipFilter::Kind::day: {
        const auto toDate = [&](double seconds) { return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000.0), zone); };
        return ClipText::dayTitle(toDate(filter.day), toDate(now), zone);
    }
    case ClipFilter::Kind::app: {
        if (filter.bundleID.startsWith(u"web:"))
            return filter.bundleID.mid(4);
        std::optional<QString> name = appNameLookup ? appNameLookup(filter.bundleID) : std::nullopt;
        if (!name || name->isEmpty())
            return filter.bundleID;
        if (name->endsWith(u".app"))
            name->chop(4);
        return *name;
    }
    }
    return {};
}

} // namespace corvane
