#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>

#include <functional>

namespace corvane::test {

/** The one application object of a test program (images and HTML need a GUI application). */
inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "capture_tests";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

/** Runs the main thread's events until `done` holds or the time is up; returns `done()`. */
inline bool processEventsUntil(const std::function<bool()> &done, int timeoutMs = 10'000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace corvane::test
