#include "ExcludedApp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace corvane::ExcludedApps {

QString toJson(const QList<ExcludedApp> &apps)
{
    QJsonArray array;
    for (const ExcludedApp &app : apps)
        array.append(QJsonObject{{QStringLiteral("bundleID"), app.bundleID}, {QStringLiteral("name"), app.name}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

namespace {

/** Salvage from a damaged text: every {...} holding a readable "bundleID". */
QList<ExcludedApp> salvage(const QString &json)
{
    static const QRegularExpression object(QStringLiteral(R"(\{[^{}]*\})"));
    static const QRegularExpression bundleID(QStringLiteral(R"re("bundleID"\s*:\s*"((?:[^"\\]|\\.)*)")re"));
    static const QRegularExpression name(QStringLiteral(R"re("name"\s*:\s*"((?:[^"\\]|\\.)*)")re"));
    QList<ExcludedApp> apps;
    for (auto it = object.globalMatch(json); it.hasNext();) {
        const QString chunk = it.next().captured(0);
        const auto idMatch = bundleID.match(chunk);
        if (!idMatch.hasMatch() || idMatch.captured(1).isEmpty())
            continue;
        apps.append({idMatch.captured(1), name.match(chunk).captured(1)});
    }
    return apps;
}

} // namespace

Decoded fromJson(const QString &json)
{
    if (json.trimmed().isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return {salvage(json), false};
    Decoded decoded;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        const QString id = object.value(QStringLiteral("bundleID")).toString();
        if (id.isEmpty()) {
            decoded.valid = false;
            continue;
        }
        decoded.apps.append({id, object.value(QStringLiteral("name")).toString()});
    }
    return decoded;
}

} // namespace corvane::ExcludedApps
