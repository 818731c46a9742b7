#include "AppEvents.h"

namespace corvane {

AppEvents::AppEvents(QObject *parent)
    : QObject(parent)
{
}

AppEvents &AppEvents::instance()
{
    static AppEvents events;
    return events;
}

void AppEvents::post(const QString &name)
{
    emit posted(name);
    if (name == focusSearchName())
        emit focusSearch();
    else if (name == showWelcomeTourName())
        emit showWelcomeTour();
    else if (name == releaseSearchFocusName())
        emit releaseSearchFocus();
}

} // namespace corvane
