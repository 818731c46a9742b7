#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <QVariantMap>

namespace corvane {

/** @brief A copy that was not saved, with the reason the privacy rules gave. */
struct SkippedCopy {
    QUuid id;
    QDateTime date;
    /** "Unknown app" when the app had no name. */
    QString appName;
    QString reason;

    QVariantMap toVariantMap() const
    {
        return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces)},
                {QStringLiteral("date"), date},
                {QStringLiteral("appName"), appName},
                {QStringLiteral("reason"), reason}};
    }

    bool operator==(const SkippedCopy &) const = default;
};

} // namespace corvane
