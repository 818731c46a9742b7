// The settings window inside the whole shell under Xvfb, with other programs' windows on the
// desktop: opened with Ctrl+, and from the tray menu, an app excluded and a "vault" app allowed
// with real clicks, and what each rule does to real copies.
#include "AppDelegate.h"
#include "ClipboardStore.h"
#include "PrivacyTabModel.h"
#include "SingleInstance.h"
#include "StatusItemController.h"
#include "TestApp.h"
#include "../ui/QuickItems.h"
#include "../platform/X11TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;
using namespace corvane::x11test;

namespace {

QQuickWindow *settingsWindow()
{
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->title() == QStringLiteral("Corvane Settings") && window->isVisible())
            return qobject_cast<QQuickWindow *>(window);
    }
    return nullptr;
}

void writeEntry(const QString &dir, const QString &id, const QString &name, const QString &wmClass)
{
    QFile file(dir + u'/' + id + QStringLiteral(".desktop"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\nStartupWMClass=%2\n").arg(name, wmClass).toUtf8());
}

class SettingsEndToEnd : public ::testing::Test
{
protected:
    /** Focuses `window` as a window manager would, then copies `text` with xclip. */
    void copyFrom(xcb_window_t window, const QByteArray &text)
    {
        other.setProperty(other.root(), other.atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, &window, 1);
        xclipIn(text);
    }

    void save(QQuickWindow *window, const QString &name)
    {
        QTest::qWait(300);
        QDir().mkpath(CORVANE_ARTIFACTS_DIR);
        EXPECT_TRUE(window->grabWindow().save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name));
    }

    OtherClient other;
};

TEST_F(SettingsEndToEnd, ExcludingAnAppSkipsItsCopiesAndAllowingAVaultRecordsThem)
{
    QTemporaryDir home;
    test::useThrowAwayHome(home, {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DATA_DIRS"});
    const QString applications = home.filePath("XDG_DATA_HOME/applications");
    QDir().mkpath(applications);
    writeEntry(applications, "org.example.Notes", "Notes", "notesapp");
    writeEntry(applications, "org.example.VaultKeeper", "Vault Keeper", "vaultkeeper");

    const xcb_window_t notes = other.createWindow();
    const xcb_window_t vault = other.createWindow();
    other.setProperty(notes, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "notesapp\0Notesapp\0", 18);
    other.setProperty(vault, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "vaultkeeper\0Vaultkeeper\0", 24);
    const xcb_window_t clients[] = {notes, vault};
    other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, clients, 2);

    int argc = 1;
    char program[] = "corvane";
    char *argv[] = {program, nullptr};
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    SingleInstance instance(QStringLiteral("/test/corvane"), home.filePath(QStringLiteral("corvane.socket")));
    ASSERT_EQ(instance.claim(SingleInstance::Command::start), SingleInstance::Outcome::primary);
    AppDelegate delegate(instance);
    delegate.start();
    ClipboardStore &store = *delegate.store();

    // Ctrl+, in the main window opens the settings; the tray menu's "Settings…" brings them back.
    QWindow *main = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWindow *window : QGuiApplication::topLevelWindows())
                main = window->title() == "Corvane" && window->isExposed() ? window : main;
            return main != nullptr;
        },
        kPatience));
    main->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return settingsWindow() != nullptr; }, kPatience)) << "Ctrl+, did nothing";
    settingsWindow()->close();
    QAction *settingsAction = nullptr;
    for (QAction *action : delegate.statusItem()->menu()->actions())
        settingsAction = action->text() == QStringLiteral("Settings…") ? action : settingsAction;
    ASSERT_TRUE(settingsAction && settingsAction->isEnabled());
    settingsAction->trigger();
    ASSERT_TRUE(QTest::qWaitFor([] { return settingsWindow() && settingsWindow()->isExposed(); }, kPatience));
    QQuickWindow *window = settingsWindow();
    EXPECT_EQ(window->size(), QSize(520, 520));
    save(window, "e2e-settings-general.png");

    click(window, findItem(window->contentItem(), "privacyTab"));
    QQuickItem *privacyTab = findItem(window->contentItem(), "privacySettings");
    ASSERT_TRUE(privacyTab);
    auto *model = privacyTab->property("model").value<PrivacyTabModel *>();
    ASSERT_TRUE(QTest::qWaitFor([model] { return model->runningApps()->count() == 2; }, kPatience));
    save(window, "e2e-settings-privacy.png");

    // Exclude Notes from the Add App menu.
    QQuickItem *addApp = findItem(window->contentItem(), "addAppButton");
    scrollTo(window, addApp);
    click(window, addApp);
    QQuickItem *notesItem = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (notesItem = findItem(window->contentItem(), "addApp_org.example.Notes")); }, kPatience));
    QTest::qWait(300);
    click(window, notesItem);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->exclusions()->count() == 1; }, kPatience));

    copyFrom(notes, "typed into the excluded notes app");
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.recentSkips().size() == 1; }, kPatience));
    EXPECT_EQ(store.recentSkips().first().appName, "Notes");
    EXPECT_EQ(store.recentSkips().first().reason, "Excluded app");
    EXPECT_EQ(store.clipCount(), 0);

    // The vault is skipped by its name until it is allowed.
    copyFrom(vault, "a vault copy before allowing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.recentSkips().size() == 2; }, kPatience));
    QQuickItem *nameSkipped = findItem(window->contentItem(), "nameSkippedList");
    scrollTo(window, nameSkipped);
    click(window, findButton(nameSkipped, "Allow"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->overrides()->count() == 1; }, kPatience));
    copyFrom(vault, "a vault copy after allowing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.clipCount() == 1; }, kPatience));
    EXPECT_EQ(store.clips().first()->sourceBundleID().value_or(QString()), "org.example.VaultKeeper");
    save(window, "e2e-settings-privacy-edited.png");
    window->close();
}

} // namespace
