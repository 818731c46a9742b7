#pragma once

#include "ProcessSingleton.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace corvane {

/**
 * @brief The process's in-process notifications, posted by name from C++ or QML and delivered to
 * every listener at once.
 */
class AppEvents : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QString focusSearchName READ focusSearchName CONSTANT)
    Q_PROPERTY(QString showWelcomeTourName READ showWelcomeTourName CONSTANT)
    Q_PROPERTY(QString releaseSearchFocusName READ releaseSearchFocusName CONSTANT)

public:
    static AppEvents &instance();
    static AppEvents *create(QQmlEngine *, QJSEngine *) { return processSingleton<AppEvents>(); }

    static QString focusSearchName() { return QStringLiteral("Corvane.focusSearch"); }
    static QString showWelcomeTourName() { return QStringLiteral("CVShowWelcomeTour"); }
    static QString releaseSearchFocusName() { return QStringLiteral("CVReleaseSearchFocus"); }

    /** Emits `posted(name)`, then the named signal for the three known names. */
    Q_INVOKABLE void post(const QString &name);

signals:
    void posted(const QString &name);
    void focusSearch();
    void showWelcomeTour();
    void releaseSearchFocus();

private:
    explicit AppEvents(QObject *parent = nullptr);
};

} // namespace corvane
