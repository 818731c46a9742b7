// The X11 tests need a GUI application on the xcb platform (ctest runs them inside xvfb-run).
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
