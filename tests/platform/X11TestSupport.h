#pragma once

// Helpers of the tests that run inside their own Xvfb: X tools and a second X client.
#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace corvane::x11test {

/** Generous, as a loaded machine needs; a passing wait returns as soon as its condition holds. */
constexpr int kPatience = 20000;

/**
 * Runs an X tool to completion, serving our own selection meanwhile (xclip -o asks us for it).
 * xclip -i forks a child that keeps serving the selection.
 */
inline QByteArray run(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    if (program == QLatin1String("xclip") && args.contains("-i"))
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!input.isNull())
        process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kPatience)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

inline void xclipIn(const QByteArray &data, const QString &type = {})
{
    QStringList args{"-selection", "clipboard", "-i"};
    if (!type.isEmpty())
        args << "-t" << type;
    run("xclip", args, data);
}

inline QByteArray xclipOut(const QString &type = {})
{
    QStringList args{"-selection", "clipboard", "-o"};
    if (!type.isEmpty())
        args << "-t" << type;
    return run("xclip", args);
}

/**
 * Counts the key events and keymap notifications reaching this program's X connection, so a
 * test waits for what the server really delivered instead of sleeping.
 */
class XEventWatcher : public QAbstractNativeEventFilter
{
public:
    XEventWatcher() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~XEventWatcher() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        const quint8 type = event->response_type & 0x7f;
        if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
            const auto keycode = reinterpret_cast<const xcb_key_press_event_t *>(event)->detail;
            (type == XCB_KEY_PRESS ? presses : releases)[keycode] += 1;
            down[keycode] = type == XCB_KEY_PRESS;
        } else if (type == XCB_MAPPING_NOTIFY) {
            ++mappingNotifies;
        }
        return false;
    }

    QHash<xcb_keycode_t, int> presses;
    QHash<xcb_keycode_t, int> releases;
    QHash<xcb_keycode_t, bool> down;
    int mappingNotifies = 0;
};

/** A second X client, as another program would be. */
class OtherClient
{
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    xcb_atom_t atom(const char *name)
    {
        auto *reply
            = xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, quint16(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply->atom;
        std::free(reply);
        return value;
    }

    xcb_window_t createWindow()
    {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        return window;
    }

    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, quint8 format, const void *data, quint32 count)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count, data);
        // In effect before another client looks: a flush alone races its reads on a loaded server.
        sync();
    }

    /** The first keycode whose unshifted keysym is @p keysym (0 for a keycode with none). */
    xcb_keycode_t keycodeFor(xcb_keysym_t keysym)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        auto *mapping = xcb_get_keyboard_mapping_reply(
            m_connection,
            xcb_get_keyboard_mapping(m_connection, setup->min_keycode, quint8(setup->max_keycode - setup->min_keycode + 1)),
            nullptr);
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(mapping);
        xcb_keycode_t found = 0;
        for (int code = 0; code <= setup->max_keycode - setup->min_keycode && !found; ++code) {
            bool match = syms[code * mapping->keysyms_per_keycode] == keysym;
            if (keysym == 0) {
                for (int column = 0; column < mapping->keysyms_per_keycode; ++column)
                    match = match && syms[code * mapping->keysyms_per_keycode + column] == 0;
            }
            if (match)
                found = xcb_keycode_t(setup->min_keycode + code);
        }
        std::free(mapping);
        return found;
    }

    /** Gives @p keycode these keysyms (the rest of its columns cleared). */
    void remap(xcb_keycode_t keycode, xcb_keysym_t lower, xcb_keysym_t upper)
    {
        const xcb_keysym_t syms[] = {lower, upper};
        xcb_change_keyboard_mapping(m_connection, 1, keycode, 2, syms);
        sync();
    }

    /** A round trip, so every request before it has taken effect. */
    void sync() { std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    xcb_connection_t *connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

} // namespace corvane::x11test
