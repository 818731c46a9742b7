#include "ClipFilterKey.h"

namespace corvane::ClipFilterKey {

QString toKey(const ClipFilter &filter)
{
    switch (filter.kind) {
    case ClipFilter::Kind::all:
        return QStringLiteral("all");
    case ClipFilter::Kind::pinned:
        return QStringLiteral("pinned");
    case ClipFilter::Kind::group:
        return QStringLiteral("group:") + ClipGroups::rawValue(filter.group);
    case ClipFilter::Kind::tag:
        return QStringLiteral("tag:") + QString::number(ColorTags::rawValue(filter.tag));
    case ClipFilter::Kind::day:
        return QStringLiteral("day:") + QString::number(qint64(filter.day));
    case ClipFilter::Kind::app:
        return QStringLiteral("app:") + filter.bundleID;
    }
    return QStringLiteral("all");
}

std::optional<ClipFilter> fromKey(const QString &key)
{
    if (key == QLatin1String("all"))
        return ClipFilter::all();
    if (key == QLatin1String("pinned"))
        return ClipFilter::pinned();
    const qsizetype colon = key.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QStringView kind = QStringView(key).left(colon);
    const QString value = key.mid(colon + 1);
    if (kind == QLatin1String("app"))
        return value.isEmpty() ? std::nullopt : std::optional(ClipFilter::app(value));
    if (kind == QLatin1String("group")) {
        if (auto group = ClipGroups::fromRawValue(value))
            return ClipFilter::ofGroup(*group);
        return std::nullopt;
    }
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (kind == QLatin1String("tag")) {
        if (auto tag = ColorTags::fromRawValue(int(number)))
            return ClipFilter::ofTag(*tag);
        return std::nullopt;
    }
    if (kind == QLatin1String("day"))
        return ClipFilter::ofDay(double(number));
    return std::nullopt;
}

} // namespace corvane::ClipFilterKey
