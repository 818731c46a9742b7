#pragma once

#include <QColor>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief Addresses of tinted icons for QML: `Icons.url("pin.fill", Theme.sunsetAccent)`. */
class Icons : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    /** "image://icon/<name>?color=%23AARRGGBB", the name's SVG tinted with `color`. */
    Q_INVOKABLE static QUrl url(const QString &name, const QColor &color);
    Q_INVOKABLE static bool has(const QString &name);
};

} // namespace corvane
