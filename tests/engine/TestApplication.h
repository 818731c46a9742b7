#pragma once

#include <QGuiApplication>

namespace corvane::test {

/** The one application object of the test program, created on first use (headless). */
inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "engine_tests";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

} // namespace corvane::test
