#include "DetectedDetail.h"

namespace corvane {

QString DetectedDetail::title() const
{
    switch (kind) {
    case Kind::date:
        return QStringLiteral("Add to Calendar");
    case Kind::address:
        return QStringLiteral("Open in Maps");
    case Kind::phone:
        return QStringLiteral("Call");
    case Kind::link:
        return QStringLiteral("Open Link");
    case Kind::flight:
        return QStringLiteral("Track Flight");
    }
    return {};
}

QString DetectedDetail::symbol() const
{
    switch (kind) {
    case Kind::date:
        return QStringLiteral("calendar.badge.plus");
    case Kind::address:
        return QStringLiteral("map");
    case Kind::phone:
        return QStringLiteral("phone");
    case Kind::link:
        return QStringLiteral("safari");
    case Kind::flight:
        return QStringLiteral("airplane");
    }
    return {};
}

QString DetectContext::defaultRegion()
{
    const QLocale locale = QLocale::system();
    if (locale.territory() == QLocale::AnyTerritory)
        return QStringLiteral("US");
    const QString code = QLocale::territoryToCode(locale.territory());
    return code.size() == 2 ? code : QStringLiteral("US");
}

int detectorPriority(DetectedDetail::Kind kind)
{
    switch (kind) {
    case DetectedDetail::Kind::link:
        return 0;
    case DetectedDetail::Kind::date:
        return 1;
    case DetectedDetail::Kind::flight:
        return 2;
    case DetectedDetail::Kind::phone:
        return 3;
    case DetectedDetail::Kind::address:
        return 4;
    }
    return 5;
}

} // namespace corvane
