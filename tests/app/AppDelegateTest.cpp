// The whole shell in this process under Xvfb: real store over a throw-away home, tray, windows,
// panel and reports. Saves screenshots of the tray menu, the popover and the paste-queue panel.
#include "AccessibilityAudit.h"
#include "AppDelegate.h"
#include "AppEvents.h"
#include "ClipboardStore.h"
#include "MainWindowController.h"
#include "PasteQueuePanelController.h"
#include "QmlWindow.h"
#include "SingleInstance.h"
#include "StatusItemController.h"
#include "TestApp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

const QString kArtifacts = QStringLiteral(CORVANE_ARTIFACTS_DIR);

template<typename Condition> bool waitFor(Condition condition, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (condition())
            return true;
        QTest::qWait(50);
    }
    return condition();
}

void copyToClipboard(const QByteArray &text)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")});
    ASSERT_TRUE(xclip.waitForStarted());
    xclip.write(text);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished());
}

void save(const QImage &image, const QString &name)
{
    QDir().mkpath(kArtifacts);
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_TRUE(image.save(QDir(kArtifacts).filePath(name))) << name.toStdString();
}

QStringList texts(const QMenu &menu)
{
    QStringList result;
    for (const QAction *action : menu.actions()) {
        if (!action->isSeparator())
            result.append(action->text());
    }
    return result;
}

QAction *action(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

/** A screen reader reads every text and control of the window. */
void expectReadable(QQuickWindow *window, const char *what)
{
    const QStringList problems = corvane::test::auditAccessibility(window);
    EXPECT_TRUE(problems.isEmpty()) << what << ":\n"
                                    << problems.join('\n').toStdString() << '\n'
                                    << corvane::test::dumpAccessibleTree(window).toStdString();
}

} // namespace

TEST(AppDelegate, RunsTheShellAroundTheRealStore)
{
    QTemporaryDir home;
    test::useThrowAwayHome(home);
    int argc = 1;
    char program[] = "corvane";
    char *argv[] = {program, nullptr};
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // Not a first run: the welcome tour would hold the window's focus.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Corvane"), QStringLiteral("Corvane"))
        .setValue(QStringLiteral("didShowWelcomeTour.v2"), true);

    SingleInstance instance(QStringLiteral("/test/corvane"), home.filePath(QStringLiteral("corvane.socket")));
    ASSERT_EQ(instance.claim(SingleInstance::Command::start), SingleInstance::Outcome::primary);
    AppDelegate delegate(instance);
    delegate.start();
    ClipboardStore &store = *delegate.store();
    // The history is checked and opened off the GUI thread.
    ASSERT_TRUE(waitFor([&] { return store.hasDatabase(); }));
    ASSERT_TRUE(waitFor([&] { return delegate.mainWindow()->isShown(); }));

    // Capture: what is copied reaches the history, and the report carries counts, not contents.
    const QByteArray canary = "canary text 7f3e1 that must stay private";
    copyToClipboard(canary);
    ASSERT_TRUE(waitFor([&] { return store.clipCount() == 1; }));
    copyToClipboard("second clip for the queue");
    ASSERT_TRUE(waitFor([&] { return store.clipCount() == 2; }));
    QQuickWindow *mainWindow = delegate.mainWindow()->window();
    ASSERT_TRUE(waitFor([&] { return mainWindow->isExposed(); }));
    QTest::qWait(300);
    save(mainWindow->grabWindow(), QStringLiteral("main-window.png"));
    expectReadable(mainWindow, "the main window");

    const QString diagnostics = delegate.diagnosticsText();
    EXPECT_TRUE(diagnostics.contains(QStringLiteral("Clips: 2"))) << diagnostics.toStdString();
    EXPECT_TRUE(diagnostics.contains(QStringLiteral("Hot key Super+Shift+V: ")));
    EXPECT_FALSE(diagnostics.contains(QStringLiteral("canary"))) << diagnostics.toStdString();
    EXPECT_FALSE(diagnostics.contains(QStringLiteral("second clip")));

    // Tray menu, pause and resume.
    StatusItemController &status = *delegate.statusItem();
    QMenu &menu = *status.menu();
    EXPECT_EQ(texts(menu), (QStringList{"Open Corvane", "Pause for 10 Minutes", "Pause", "Settings…", "Quit Corvane"}));
    action(menu, QStringLiteral("Pause for 10 Minutes"))->trigger();
    EXPECT_TRUE(store.isPaused());
    EXPECT_TRUE(store.pauseEnd().isValid());
    EXPECT_TRUE(waitFor([&] { return status.look() == TrayIcons::Look::paused; })) << "a capture's flash ends in the paused look";
    EXPECT_EQ(texts(menu).at(1), QStringLiteral("Resume"));
    EXPECT_FALSE(action(menu, QStringLiteral("Pause"))->isEnabled());
    menu.popup(QPoint(1200, 40));
    ASSERT_TRUE(waitFor([&] { return menu.isVisible(); }));
    QTest::qWait(200);
    save(menu.grab().toImage(), QStringLiteral("tray-menu.png"));
    menu.hide();
    action(menu, QStringLiteral("Resume"))->trigger();
    EXPECT_FALSE(store.isPaused());
    EXPECT_TRUE(waitFor([&] { return status.look() == TrayIcons::Look::normal; }));

    // The popover: shown at the pointer (Xvfb has no tray geometry), closed on request.
    QCursor::setPos(1200, 30);
    status.togglePopover();
    ASSERT_TRUE(waitFor([&] { return status.isShown() && status.popover().window()->isExposed(); }));
    const QRect popover = status.popover().window()->geometry();
    EXPECT_TRUE(QRect(0, 0, 1600, 1000).contains(popover)) << "popover off screen";
    QTest::qWait(400);
    save(status.popover().window()->grabWindow(), QStringLiteral("popover.png"));
    expectReadable(status.popover().window(), "the popover");
    status.performClose();
    EXPECT_FALSE(status.isShown());

    // It also closes as soon as another window takes the focus.
    status.togglePopover();
    ASSERT_TRUE(waitFor([&] { return status.popover().window()->isActive(); }));
    delegate.mainWindow()->showWindow();
    EXPECT_TRUE(waitFor([&] { return !status.isShown(); })) << "the popover stayed after losing focus";

    // Paste-queue panel: shown while the queue has items, "Next" moves the mark, "Clear" hides it.
    PasteQueuePanelController &panel = *delegate.pasteQueuePanel();
    QList<std::int64_t> ids;
    for (const auto &clip : store.clips())
        ids.prepend(clip->id);
    store.addToStack(ids);
    ASSERT_TRUE(waitFor([&] { return panel.isPanelShown(); }));
    EXPECT_EQ(panel.model()->rowCount(), 2);
    EXPECT_EQ(panel.model()->currentIndex(), 0);
    QQuickWindow *panelWindow = nullptr;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->title() == QStringLiteral("Paste Queue"))
            panelWindow = qobject_cast<QQuickWindow *>(window);
    }
    ASSERT_TRUE(panelWindow);
    EXPECT_TRUE(panelWindow->flags() & Qt::WindowDoesNotAcceptFocus);
    ASSERT_TRUE(waitFor([&] { return panelWindow->isExposed(); }));
    QTest::qWait(300);
    save(panelWindow->grabWindow(), QStringLiteral("paste-queue-panel.png"));
    expectReadable(panelWindow, "the paste queue");
    panel.next();
    EXPECT_EQ(panel.model()->currentIndex(), 1);
    panel.clear();
    EXPECT_FALSE(panel.isPanelShown());

    // The show-window key brings the window back with its search field focused.
    QSignalSpy focusSearch(&AppEvents::instance(), &AppEvents::focusSearch);
    delegate.mainWindow()->toggle(); // in front: the key hides it
    EXPECT_TRUE(waitFor([&] { return !delegate.mainWindow()->isShown(); }));
    EXPECT_EQ(focusSearch.size(), 0);
    delegate.mainWindow()->toggle();
    EXPECT_EQ(focusSearch.size(), 1);
    QQuickItem *search = findItem(mainWindow->contentItem(), QStringLiteral("searchField"));
    ASSERT_TRUE(search);
    EXPECT_TRUE(waitFor([&] { return search->hasActiveFocus(); }));

    // Closing the main window masks revealed secrets again.
    const std::int64_t anyId = ids.first();
    store.reveal(anyId);
    ASSERT_TRUE(store.isRevealed(anyId));
    delegate.mainWindow()->close();
    EXPECT_FALSE(store.isRevealed(anyId));
}
