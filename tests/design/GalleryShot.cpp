#include "DesignSetup.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// Draws the gallery of every control and keeps the picture for a person to look at.
TEST(DesignGallery, RendersEveryControlToAnArtifact)
{
    int argc = 1;
    char name[] = "design_gallery";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    QQuickView view;
    corvane::installDesign(*view.engine());
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(QUrl::fromLocalFile(QStringLiteral(CORVANE_GALLERY_QML)));
    ASSERT_EQ(view.status(), QQuickView::Ready) << qPrintable(view.errors().isEmpty() ? QString() : view.errors().first().toString());
    view.resize(view.rootObject()->implicitWidth(), view.rootObject()->implicitHeight());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    // Let entrances finish and asynchronous images arrive before taking the picture.
    QTest::qWait(1500);
    const QImage shot = view.grabWindow();
    ASSERT_FALSE(shot.isNull());

    // The backdrop is cream, not the blank white or black of a failed grab.
    const QColor corner = shot.pixelColor(shot.width() - 2, shot.height() / 2);
    EXPECT_GT(corner.red(), 200);
    EXPECT_GT(corner.red(), corner.blue());

    QDir().mkpath(QStringLiteral(CORVANE_ARTIFACTS_DIR));
    EXPECT_TRUE(shot.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/design-gallery.png")));
}
