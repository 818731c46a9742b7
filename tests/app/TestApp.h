#pragma once

#include "ThrowAwayHome.h"

#include <QApplication>

namespace corvane::test {

// One application object for the whole test program (GoogleTest owns main()).
inline QApplication &testApp()
{
    static int argc = 1;
    static char name[] = "corvane-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace corvane::test
