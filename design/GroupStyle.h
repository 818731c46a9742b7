#pragma once

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief Display name, symbol and colour of each clip group, keyed by the group's raw value. */
class GroupStyle : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    /** Raw values of every group, in display order. */
    Q_PROPERTY(QStringList allCases READ allCases CONSTANT)

public:
    using QObject::QObject;

    QStringList allCases() const;
    /** Empty for an unknown raw value. */
    Q_INVOKABLE QString displayName(const QString &group) const;
    /** Icon name of the group's symbol; empty for an unknown raw value. */
    Q_INVOKABLE QString symbol(const QString &group) const;
    /** The group's colour; the text group's colour for an unknown raw value. */
    Q_INVOKABLE QColor color(const QString &group) const;
};

} // namespace corvane
