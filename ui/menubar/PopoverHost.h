#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief What the popover asks of the window that hosts it and of the app around it.
 *
 * The shell implements it and hands it to the popover's view model; the popover then closes
 * itself, brings the main or settings window forward, or quits, without knowing the shell.
 */
class PopoverHost : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Implemented by the shell")
    Q_PROPERTY(bool isShown READ isShown NOTIFY isShownChanged)

public:
    using QObject::QObject;

    virtual bool isShown() const = 0;
    /** Hides the popover window. */
    virtual void performClose() = 0;
    /** Activates the app and shows and raises the main window (its search field not focused). */
    virtual void showMainWindow() = 0;
    virtual void showSettingsWindow() = 0;
    virtual void quit() = 0;

signals:
    /** Emitted after the popover was shown or closed. */
    void isShownChanged();
};

} // namespace corvane
