#include "AccessibilityAudit.h"
#include "DesignSetup.h"
#include "Motion.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Draws the gallery of every control and keeps the picture for a person to look at.
QImage drawGallery(const QString &artifact)
{
    QQuickView view;
    corvane::installDesign(*view.engine());
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setSource(QUrl::fromLocalFile(QStringLiteral(CORVANE_GALLERY_QML)));
    if (view.status() != QQuickView::Ready) {
        ADD_FAILURE() << qPrintable(view.errors().value(0).toString());
        return {};
    }
    view.resize(int(view.rootObject()->implicitWidth()), int(view.rootObject()->implicitHeight()));
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));

    // One row shows its hover state.
    if (auto *row = view.rootObject()->findChild<QQuickItem *>(QStringLiteral("hoveredRow"))) {
        const QPointF centre = row->mapToScene(QPointF(row->width() * 0.6, row->height() / 2));
        QTest::mouseMove(&view, centre.toPoint());
    }
    // Let entrances finish and asynchronous images arrive before taking the picture.
    QTest::qWait(1500);

    // Each control names itself: a screen reader finds every text and control of the gallery.
    using namespace corvane::test;
    const QStringList problems = auditAccessibility(&view);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString() << '\n' << dumpAccessibleTree(&view).toStdString();
    EXPECT_EQ(findAccessible(&view, QAccessible::StaticText, "Groups").size(), 1) << "a caption in natural case";
    const auto field = findAccessible(&view, QAccessible::EditableText, "Search");
    EXPECT_TRUE(field.size() == 1 && field.first().value == "invoice") << "a field without placeholder";
    EXPECT_EQ(findAccessible(&view, QAccessible::Button, "Unpin (Ctrl+P)").size(), 2);
    EXPECT_EQ(findAccessible(&view, QAccessible::Button, "Code").size(), 2) << "a tab in each tab bar";
    const QImage shot = view.grabWindow();
    QDir().mkpath(QStringLiteral(CORVANE_ARTIFACTS_DIR));
    EXPECT_TRUE(shot.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + artifact));
    return shot;
}

} // namespace

TEST(DesignGallery, RendersEveryControlToAnArtifact)
{
    int argc = 1;
    char name[] = "design_gallery";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    const QImage shot = drawGallery(QStringLiteral("design-gallery.png"));
    ASSERT_FALSE(shot.isNull());
    // The backdrop is cream, not the blank white or black of a failed grab.
    const QColor edge = shot.pixelColor(shot.width() - 2, shot.height() / 2);
    EXPECT_GT(edge.red(), 200);
    EXPECT_GT(edge.red(), edge.blue());

    // The same with the desktop asking for less motion and no transparency: opaque surfaces.
    corvane::Motion::instance().setReduceMotion(true);
    corvane::Motion::instance().setReduceTransparency(true);
    const QImage reduced = drawGallery(QStringLiteral("design-gallery-reduced.png"));
    ASSERT_FALSE(reduced.isNull());
    EXPECT_NE(reduced, shot);
}
