#pragma once

#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief An app named by the user or by the privacy rules; identified by its bundle id. */
struct ExcludedApp {
    Q_GADGET
    QML_VALUE_TYPE(excludedApp)
    Q_PROPERTY(QString bundleID MEMBER bundleID)
    Q_PROPERTY(QString name MEMBER name)

public:
    QString bundleID;
    QString name;

    friend bool operator==(const ExcludedApp &, const ExcludedApp &) = default;
};

inline size_t qHash(const ExcludedApp &app, size_t seed = 0) { return qHashMulti(seed, app.bundleID, app.name); }

/** @brief The JSON array form in which lists of ExcludedApp are stored. */
namespace ExcludedApps {

QString toJson(const QList<ExcludedApp> &apps);

/** @brief A decoded list; `valid` is false when the text was not a well-formed list. */
struct Decoded {
    QList<ExcludedApp> apps;
    bool valid = true;
};

/**
 * Decodes a stored list. A damaged text still yields every entry whose "bundleID" can be read,
 * so a broken file never silently lifts exclusions.
 */
Decoded fromJson(const QString &json);

} // namespace ExcludedApps
} // namespace corvane
