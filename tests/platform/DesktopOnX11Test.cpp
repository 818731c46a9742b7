// The active-window, hot-key and icon services against a real X server and other X clients.
#include "FakeDesktopEntries.h"
#include "X11ActiveWindow.h"
#include "X11GlobalHotKeys.h"
#include "X11RunningApps.h"
#include "X11TestSupport.h"
#include "XdgDesktopEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace corvane;
using namespace corvane::x11test;

TEST(ActiveWindowOnX11, NamesTheActiveWindowsAppAndListsNormalWindows)
{
    OtherClient other;
    const xcb_window_t app = other.createWindow();
    const xcb_window_t dock = other.createWindow();
    other.setProperty(app, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "keepassxc\0KeePassXC\0", 20);
    const quint32 pid = 4242;
    other.setProperty(app, other.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, &pid, 1);
    other.setProperty(dock, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "panel\0Panel\0", 12);
    const xcb_atom_t dockType = other.atom("_NET_WM_WINDOW_TYPE_DOCK");
    other.setProperty(dock, other.atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, &dockType, 1);
    other.setProperty(other.root(), other.atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, &app, 1);
    const xcb_window_t gone = 0x7fff0001; // listed but already destroyed
    const xcb_window_t clients[] = {dock, gone, app};
    other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, clients, 3);

    FakeDesktopEntries entries;
    entries.add({"org.keepassxc.KeePassXC", "KeePassXC", "keepassxc", "keepassxc %f", "keepassxc", {}, false});
    X11ActiveWindow active(entries);
    ASSERT_TRUE(active.isAvailable());
    EXPECT_EQ(active.frontmostApp(), (AppIdentity{"org.keepassxc.KeePassXC", "KeePassXC", 4242}));
    const QList<AppIdentity> running = active.runningApps();
    ASSERT_EQ(running.size(), 1);
    EXPECT_EQ(running.first().id, "org.keepassxc.KeePassXC");
    EXPECT_FALSE(active.isSecureInputActive());
}

TEST(RunningAppsOnX11, ListsEveryWindowsAppWithItsKindAndAnnouncesNewWindows)
{
    OtherClient other;
    const xcb_window_t editor = other.createWindow();
    const xcb_window_t dock = other.createWindow();
    const xcb_window_t tray = other.createWindow();
    const xcb_window_t own = other.createWindow();
    other.setProperty(editor, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "gedit\0Gedit\0", 12);
    other.setProperty(dock, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "panel\0Panel\0", 12);
    const xcb_atom_t dockType = other.atom("_NET_WM_WINDOW_TYPE_DOCK");
    other.setProperty(dock, other.atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, &dockType, 1);
    other.setProperty(tray, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "helper\0Helper\0", 14);
    const xcb_atom_t skip = other.atom("_NET_WM_STATE_SKIP_TASKBAR");
    other.setProperty(tray, other.atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, &skip, 1);
    // A window of this very process is not another app.
    other.setProperty(own, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "me\0Me\0", 6);
    const quint32 self = quint32(QCoreApplication::applicationPid());
    other.setProperty(own, other.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, &self, 1);
    const xcb_window_t clients[] = {editor, dock, tray, own};
    other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, clients, 4);

    FakeDesktopEntries entries;
    entries.add({"org.gnome.gedit", "Text Editor", "gedit", "gedit %U", "Gedit", {}, false});
    X11RunningApps running(entries);
    ASSERT_TRUE(running.isAvailable());
    EXPECT_EQ(
        running.runningApps(),
        (QList<RunningApp>{{"org.gnome.gedit", "Text Editor", true}, {"panel", "Panel", false}, {"helper", "Helper", false}}));

    QSignalSpy changed(&running, &RunningAppsProvider::windowListChanged);
    const xcb_window_t second = other.createWindow();
    other.setProperty(second, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, "gedit\0Gedit\0", 12);
    const xcb_window_t more[] = {editor, dock, tray, own, second};
    other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, more, 5);
    ASSERT_TRUE(changed.wait(kPatience));
    EXPECT_EQ(running.runningApps().size(), 4);
}

namespace {

/** Turns NumLock on for its lifetime, and off again even when the test stops half way. */
class NumLockOn
{
public:
    NumLockOn() { run("xdotool", {"key", "Num_Lock"}); }
    ~NumLockOn() { run("xdotool", {"key", "Num_Lock"}); }
};

} // namespace

TEST(GlobalHotKeysOnX11, GrabbedKeyFiresAlsoWithNumLockOn)
{
    X11GlobalHotKeys keys;
    ASSERT_TRUE(keys.isAvailable());
    QSignalSpy activated(&keys, &GlobalHotKeys::activated);
    EXPECT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::registered);
    EXPECT_EQ(keys.registerHotKey("next", QKeySequence("Meta+Alt+V")), HotKeyStatus::registered);
    EXPECT_EQ(keys.registerHotKey("probe", QKeySequence("Meta+Shift+B")), HotKeyStatus::registered);

    run("xdotool", {"key", "super+shift+v"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, kPatience));
    EXPECT_EQ(activated.takeFirst().at(0).toString(), "toggle");

    {
        NumLockOn numLock;
        run("xdotool", {"key", "super+alt+v"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, kPatience));
        EXPECT_EQ(activated.takeFirst().at(0).toString(), "next");
    }

    // The probe, typed last, tells when every key before it has been handled.
    keys.unregisterHotKey("toggle");
    run("xdotool", {"key", "super+shift+v", "super+shift+b"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() >= 1; }, kPatience));
    EXPECT_EQ(activated.takeFirst().at(0).toString(), "probe") << "an unregistered key still fired";
    EXPECT_EQ(activated.count(), 0);
}

TEST(GlobalHotKeysOnX11, HoldingTheKeyDownActsOnce)
{
    OtherClient other;
    const xcb_keycode_t v = other.keycodeFor('v');
    X11GlobalHotKeys keys;
    XEventWatcher events;
    QSignalSpy activated(&keys, &GlobalHotKeys::activated);
    ASSERT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::registered);
    run("xdotool", {"keydown", "super+shift+v"});
    // The server repeats a held key after a delay (660 ms on Xvfb): wait for two repeats.
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.presses.value(v) >= 3; }, kPatience));
    run("xdotool", {"keyup", "v", "keyup", "shift", "keyup", "super"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.down.value(v); }, kPatience));
    QCoreApplication::processEvents(); // what the presses queued
    EXPECT_EQ(activated.count(), 1);

    run("xdotool", {"key", "super+shift+v"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.count() == 2; }, kPatience));
}

TEST(GlobalHotKeysOnX11, KeysStayGrabbedWhileTheKeymapChangesElsewhere)
{
    X11GlobalHotKeys keys;
    QSignalSpy activated(&keys, &GlobalHotKeys::activated);
    ASSERT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::registered);
    // Many keys make grabbing them all again take a while.
    for (int letter = 0; letter < 24; ++letter) {
        const QKeySequence other(
            QKeyCombination(Qt::MetaModifier | Qt::ControlModifier | Qt::AltModifier, Qt::Key(Qt::Key_A + letter)));
        ASSERT_EQ(keys.registerHotKey(QString("other %1").arg(letter), other), HotKeyStatus::registered);
    }
    // xdotool maps a key the keymap lacks onto a spare keycode for a moment and back, so the keymap
    // changes around each press: none of the presses may fall between two grabs.
    constexpr int presses = 12;
    for (int i = 0; i < presses; ++i) {
        QProcess xdotool;
        QEventLoop loop; // turns at once on every event, so the grabs move while xdotool types
        QObject::connect(&xdotool, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&xdotool, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        xdotool.start("xdotool", {"key", "braille_dots_12345678", "super+shift+v", "braille_dots_12345678"});
        loop.exec();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.count() == presses; }, kPatience))
        << activated.count() << " of " << presses;
    EXPECT_EQ(keys.status("toggle"), HotKeyStatus::registered);
}

TEST(GlobalHotKeysOnX11, AKeyAnotherProgramHoldsIsReported)
{
    OtherClient other;
    X11GlobalHotKeys keys;
    // The other program grabs Super+B first.
    const xcb_keycode_t keycode = other.keycodeFor('b');
    ASSERT_NE(keycode, 0);
    xcb_grab_key(other.connection(), 1, other.root(), XCB_MOD_MASK_4, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    other.sync();

    EXPECT_EQ(keys.registerHotKey("held", QKeySequence("Meta+B")), HotKeyStatus::heldByOtherClient);
    EXPECT_EQ(keys.status("held"), HotKeyStatus::heldByOtherClient);
    EXPECT_EQ(keys.registerHotKey("free", QKeySequence("Meta+Shift+B")), HotKeyStatus::registered);
    EXPECT_EQ(keys.registerHotKey("chord", QKeySequence("Ctrl+K, Ctrl+V")), HotKeyStatus::invalid);
    EXPECT_EQ(keys.status("never registered"), HotKeyStatus::unavailable);
}

TEST(GlobalHotKeysOnX11, KeysAreGrabbedAgainWhenTheKeymapMovesThem)
{
    OtherClient other;
    X11GlobalHotKeys keys;
    QSignalSpy activated(&keys, &GlobalHotKeys::activated);
    ASSERT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::registered);

    // "v" moves to a spare keycode, as a layout switch would move it.
    const xcb_keycode_t oldKey = other.keycodeFor('v');
    const xcb_keycode_t spare = other.keycodeFor(0);
    ASSERT_NE(oldKey, 0);
    ASSERT_NE(spare, 0);
    XEventWatcher events;
    other.remap(spare, 'v', 'V');
    other.remap(oldKey, 0, 0);
    // Both changes reach this program, then the grabs move at its next turn.
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.mappingNotifies >= 2; }, kPatience));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    run("xdotool", {"key", "super+shift+v"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(keys.status("toggle"), HotKeyStatus::registered);

    other.remap(oldKey, 'v', 'V');
    other.remap(spare, 0, 0);
}

TEST(DesktopEntriesOnX11, ThemeIconsAreDrawnAtTheAskedSize)
{
    QTemporaryDir data;
    const QString theme = data.filePath("icons/hicolor");
    QDir().mkpath(theme + "/48x48/apps");
    QFile index(theme + "/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n[48x48/apps]\nSize=48\nType=Fixed\n");
    index.close();
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    image.save(theme + "/48x48/apps/corvane-test-app.png");
    QDir().mkpath(data.filePath("applications"));
    QFile entry(data.filePath("applications/corvane-test-app.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Test\nIcon=corvane-test-app\nExec=true\n");
    entry.close();

    const QStringList searchPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({data.filePath("icons")});
    QIcon::setThemeName("hicolor");
    XdgDesktopEntries entries({data.path()});
    const QImage icon = entries.icon("corvane-test-app", 32);
    QIcon::setThemeSearchPaths(searchPaths);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixelColor(16, 16), QColor(Qt::magenta));
}
