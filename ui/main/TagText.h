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
    /** The tag picker's chips, in the tags' own order: [{tag, name, on, help, accessibleName}]. */
    Q_INVOKABLE static QVariantList pickerChips(const QVariantList &clipTags);
};

} // namespace corvane
