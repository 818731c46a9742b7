#pragma once

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief Tag wording for QML. */
class TagText : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    /** "Red, Blue tags" for the raw values [0, 4]; unknown values are skipped. */
    Q_INVOKABLE static QString accessibilityLabel(const QVariantList &rawValues);
};

} // namespace corvane
