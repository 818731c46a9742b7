// Runs inside its own Xvfb: the real clipboard, active-window and hot-key services against
// other X clients (xclip, xdotool and a second raw X connection).
#include "FakeDesktopEntries.h"
#include "QtClipboardService.h"
#include "X11ActiveWindow.h"
#include "X11GlobalHotKeys.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

using namespace corvane;

namespace {

/**
 * Runs an X tool to completion, serving our own selection meanwhile (xclip -o asks us for it).
 * xclip -i forks a child that keeps serving the selection.
 */
QByteArray run(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    if (program == QLatin1String("xclip") && args.contains("-i"))
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!input.isNull())
        process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        << program.toStdString();
    return process.readAllStandardOutput();
}

void xclipIn(const QByteArray &data, const QString &type = {})
{
    QStringList args{"-selection", "clipboard", "-i"};
    if (!type.isEmpty())
        args << "-t" << type;
    run("xclip", args, data);
}

QByteArray xclipOut(const QString &type = {})
{
    QStringList args{"-selection", "clipboard", "-o"};
    if (!type.isEmpty())
        args << "-t" << type;
    return run("xclip", args);
}

/** A second X client, as another program would be. */
class OtherClient
{
public:
    OtherClient() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, quint16(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply->atom;
        std::free(reply);
        return value;
    }

    xcb_window_t createWindow()
    {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        return window;
    }

    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, quint8 format, const void *data,
                     quint32 count)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count, data);
        xcb_flush(m_connection);
    }

    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

} // namespace

class ClipboardOnX11 : public ::testing::Test
{
protected:
    QtClipboardService clipboard;

    void waitForChangeAfter(qint64 count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return clipboard.changeCount() > count; }, 5000));
    }
};

TEST_F(ClipboardOnX11, SeesTextSetByAnotherProgram)
{
    const qint64 before = clipboard.changeCount();
    QSignalSpy changed(&clipboard, &ClipboardService::changed);
    xclipIn(QString::fromUtf8("héllo from xclip").toUtf8());
    waitForChangeAfter(before);
    EXPECT_GE(changed.count(), 1);

    const QStringList formats = clipboard.formats();
    EXPECT_TRUE(formats.contains("text/plain")) << formats.join(',').toStdString();
    EXPECT_FALSE(formats.contains("TARGETS"));
    const ClipboardContent content = clipboard.read(ClipboardPart::text | ClipboardPart::image);
    EXPECT_EQ(content.text, QString::fromUtf8("héllo from xclip"));
    EXPECT_TRUE(content.image.isNull());
    EXPECT_EQ(content.changeCount, clipboard.changeCount());
}

TEST_F(ClipboardOnX11, ReadsFileUrlsFromAUriList)
{
    const qint64 before = clipboard.changeCount();
    xclipIn("file:///tmp/a%20b.txt\r\nfile:///home/ada/notes.md\r\n", "text/uri-list");
    waitForChangeAfter(before);
    EXPECT_TRUE(clipboard.formats().contains("text/uri-list"));
    const QList<QUrl> urls = clipboard.read(ClipboardPart::files).fileUrls;
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].toLocalFile(), "/tmp/a b.txt");
    EXPECT_EQ(urls[1].toLocalFile(), "/home/ada/notes.md");
}

TEST_F(ClipboardOnX11, ReadsAPngImage)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const qint64 before = clipboard.changeCount();
    xclipIn(png, "image/png");
    waitForChangeAfter(before);
    const QImage read = clipboard.read(ClipboardPart::image).image;
    EXPECT_EQ(read.size(), QSize(40, 30));
    EXPECT_EQ(read.pixelColor(5, 5), QColor(Qt::blue));
}

TEST_F(ClipboardOnX11, OwnWritesAreRecognisableAndOtherProgramsReadThem)
{
    const qint64 written = clipboard.writeText("written by Corvane");
    EXPECT_EQ(written, clipboard.changeCount());
    // Let any late notification of our own ownership arrive: the count must not move.
    QTest::qWait(300);
    EXPECT_EQ(clipboard.changeCount(), written);
    EXPECT_EQ(xclipOut(), "written by Corvane");
    EXPECT_EQ(clipboard.changeCount(), written);

    const qint64 secret = clipboard.writeText("hunter2", {.secret = true});
    EXPECT_GT(secret, written);
    EXPECT_TRUE(xclipOut("TARGETS").contains("x-kde-passwordManagerHint"));
    EXPECT_EQ(xclipOut("x-kde-passwordManagerHint"), "secret");

    clipboard.writeFiles({QUrl::fromLocalFile("/tmp/a b.txt")}, "/tmp/a b.txt");
    EXPECT_EQ(xclipOut("text/uri-list").trimmed(), "file:///tmp/a%20b.txt");
    EXPECT_EQ(xclipOut("x-special/gnome-copied-files"), "copy\nfile:///tmp/a%20b.txt");
    EXPECT_EQ(xclipOut(), "/tmp/a b.txt");

    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::green);
    clipboard.writeImage(image);
    EXPECT_TRUE(xclipOut("TARGETS").contains("image/tiff"));
    EXPECT_EQ(QImage::fromData(xclipOut("image/png")).size(), QSize(8, 6));
}

TEST_F(ClipboardOnX11, AChangeAfterOurWriteIsCounted)
{
    const qint64 written = clipboard.writeText("ours");
    xclipIn("theirs");
    waitForChangeAfter(written);
    EXPECT_EQ(clipboard.read(ClipboardPart::text).text, QString("theirs"));
}

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
    const xcb_window_t clients[] = {dock, app};
    other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, clients, 2);

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

TEST(GlobalHotKeysOnX11, GrabbedKeyFiresAlsoWithNumLockOn)
{
    X11GlobalHotKeys keys;
    ASSERT_TRUE(keys.isAvailable());
    QSignalSpy activated(&keys, &GlobalHotKeys::activated);
    EXPECT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::registered);
    EXPECT_EQ(keys.registerHotKey("next", QKeySequence("Meta+Alt+V")), HotKeyStatus::registered);

    run("xdotool", {"key", "super+shift+v"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(activated.takeFirst().at(0).toString(), "toggle");

    run("xdotool", {"key", "Num_Lock"});
    run("xdotool", {"key", "super+alt+v"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
    EXPECT_EQ(activated.takeFirst().at(0).toString(), "next");
    run("xdotool", {"key", "Num_Lock"});

    keys.unregisterHotKey("toggle");
    run("xdotool", {"key", "super+shift+v"});
    QTest::qWait(200);
    EXPECT_EQ(activated.count(), 0);
}

TEST(GlobalHotKeysOnX11, AKeyAnotherProgramHoldsIsReported)
{
    OtherClient other;
    X11GlobalHotKeys keys;
    // The other program grabs Super+B first (keycode of "b" looked up the same way).
    xcb_get_keyboard_mapping_reply_t *mapping = nullptr;
    const xcb_setup_t *setup = xcb_get_setup(other.connection());
    mapping = xcb_get_keyboard_mapping_reply(
        other.connection(),
        xcb_get_keyboard_mapping(other.connection(), setup->min_keycode,
                                 quint8(setup->max_keycode - setup->min_keycode + 1)),
        nullptr);
    ASSERT_TRUE(mapping);
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(mapping);
    xcb_keycode_t keycode = 0;
    for (int code = 0; code <= setup->max_keycode - setup->min_keycode && !keycode; ++code) {
        if (syms[code * mapping->keysyms_per_keycode] == 'b')
            keycode = xcb_keycode_t(setup->min_keycode + code);
    }
    std::free(mapping);
    ASSERT_NE(keycode, 0);
    xcb_grab_key(other.connection(), 1, other.root(), XCB_MOD_MASK_4, keycode, XCB_GRAB_MODE_ASYNC,
                 XCB_GRAB_MODE_ASYNC);
    xcb_get_input_focus_reply_t *sync = // a round trip, so the grab is in place
        xcb_get_input_focus_reply(other.connection(), xcb_get_input_focus(other.connection()), nullptr);
    std::free(sync);

    EXPECT_EQ(keys.registerHotKey("held", QKeySequence("Meta+B")), HotKeyStatus::heldByOtherClient);
    EXPECT_EQ(keys.status("held"), HotKeyStatus::heldByOtherClient);
    EXPECT_EQ(keys.registerHotKey("free", QKeySequence("Meta+Shift+B")), HotKeyStatus::registered);
    EXPECT_EQ(keys.registerHotKey("chord", QKeySequence("Ctrl+K, Ctrl+V")), HotKeyStatus::invalid);
    EXPECT_EQ(keys.status("never registered"), HotKeyStatus::unavailable);
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
