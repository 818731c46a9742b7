#pragma once

#include <QString>
#include <QUuid>
#include <QVariantMap>

namespace corvane {

/** @brief A transient banner: an info disappears after 1.6 s, a warning after 3.0 s. */
struct Notice {
    enum class Kind { info, warning };

    static constexpr int infoMilliseconds = 1600;
    static constexpr int warningMilliseconds = 3000;

    QUuid id;
    QString message;
    Kind kind = Kind::info;

    static Notice make(const QString &message, Kind kind) { return {QUuid::createUuid(), message, kind}; }

    int lifetimeMilliseconds() const { return kind == Kind::info ? infoMilliseconds : warningMilliseconds; }

    /** {id, message, kind: "info" | "warning"} for QML. */
    QVariantMap toVariantMap() const
    {
        return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces)},
                {QStringLiteral("message"), message},
                {QStringLiteral("kind"), kind == Kind::info ? QStringLiteral("info") : QStringLiteral("warning")}};
    }

    bool operator==(const Notice &) const = default;
};

} // namespace corvane
