#pragma once

#include "../platform/X11TestSupport.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace corvane::test {

/** An item by object name among the visual descendants (delegates have no QObject parent). */
inline QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

/** The first button among the visual descendants showing `text`. */
inline QQuickItem *findButton(QQuickItem *root, const QString &text)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->inherits("QQuickAbstractButton") && child->property("text").toString() == text)
            return child;
        if (QQuickItem *found = findButton(child, text))
            return found;
    }
    return nullptr;
}

/** A left click in the middle of `target`. */
inline void click(QQuickWindow *window, QQuickItem *target)
{
    ASSERT_TRUE(target);
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
}

/** Rolls the real mouse wheel (xdotool) over the window until `target` is in view, as a person would. */
inline void scrollTo(QQuickWindow *window, QQuickItem *target)
{
    ASSERT_TRUE(target);
    const QPoint centre = window->mapToGlobal(QPoint(window->width() / 2, window->height() / 2));
    // Without --sync: it would wait for a move that never comes when the pointer is already there.
    x11test::run("xdotool", {"mousemove", QString::number(centre.x()), QString::number(centre.y())});
    QTest::qWait(100);
    qreal last = -1e9;
    for (int step = 0; step < 40; ++step) {
        const QPointF top = target->mapToScene(QPointF(0, 0));
        // In view, or the form is at its end.
        if ((top.y() >= 0 && top.y() + target->height() <= window->height()) || top.y() == last)
            break;
        last = top.y();
        x11test::run("xdotool", {"click", top.y() < 0 ? "4" : "5"});
        QTest::qWait(150);
    }
    QTest::qWait(400);
}

} // namespace corvane::test
