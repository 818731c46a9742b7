// A window built from QML under Xvfb, shown, hidden and shown again.
#include "QmlWindow.h"

#include <QApplication>
#include <QFile>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

QColor centre(QQuickWindow *window)
{
    const QImage shot = window->grabWindow();
    return shot.isNull() ? QColor() : shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

} // namespace

TEST(QmlWindow, AWindowThatGivesBackItsGraphicsWhenHiddenShowsAgainAsItWas)
{
    int argc = 1;
    char program[] = "corvane";
    char *argv[] = {program, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Window.qml"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("import QtQuick\n"
               "Window {\n"
               "    width: 120; height: 90\n"
               "    property int typed: 0\n"
               "    Rectangle { anchors.fill: parent; color: \"#d03030\" }\n"
               "}\n");
    file.close();

    QQmlEngine engine;
    QmlWindow window(engine, QUrl::fromLocalFile(path));
    window.setReleaseGraphicsWhenHidden(true);
    int hidden = 0;
    QObject::connect(&window, &QmlWindow::hidden, [&] { ++hidden; });

    window.showAndActivate();
    QQuickWindow *first = window.window();
    ASSERT_NE(first, nullptr) << window.errorString().toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first));
    EXPECT_EQ(centre(first), QColor(0xd0, 0x30, 0x30));
    first->setProperty("typed", 3);

    window.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isShown(); }));
    EXPECT_EQ(hidden, 1);

    window.showAndActivate();
    EXPECT_EQ(window.window(), first);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first));
    EXPECT_EQ(centre(first), QColor(0xd0, 0x30, 0x30));
    EXPECT_EQ(first->property("typed").toInt(), 3);
}
