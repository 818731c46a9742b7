#include "X11GlobalHotKeys.h"
#include "Logging.h"
#include "XcbReply.h"

#include "X11KeyMapping.h"
#include "X11Support.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {

constexpr quint8 badAccess = 10;
constexpr quint8 xkbNewKeyboardNotify = 0;
constexpr quint8 xkbMapNotify = 1;

struct HotKey {
    QKeySequence sequence;
    xcb_keycode_t keycode = 0;
    quint16 modifiers = 0;
    HotKeyStatus status = HotKeyStatus::invalid;
};

} // namespace

struct X11GlobalHotKeys::Private {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
    quint8 xkbFirstEvent = 0;
    X11KeyMapping::ModifierMasks masks;
    QHash<QString, HotKey> keys;
    QSet<xcb_keycode_t> held;
    struct Release {
        xcb_timestamp_t time = XCB_CURRENT_TIME;
        quint16 state = 0;
    };
    QHash<xcb_keycode_t, Release> released;
    bool regrabPending = false;

    static QList<quint16> lockVariants(const X11KeyMapping::ModifierMasks &masks)
    {
        return {0, masks.capsLock, masks.numLock, quint16(masks.capsLock | masks.numLock)};
    }

    /** Releases the grabs @p key holds under @p grabbedWith, except those @p kept holds now. */
    void ungrab(const HotKey &key, const X11KeyMapping::ModifierMasks &grabbedWith, const HotKey *kept = nullptr)
    {
        if (!key.keycode)
            return;
        const QList<quint16> keptVariants = kept ? lockVariants(masks) : QList<quint16>{};
        for (const quint16 extra : lockVariants(grabbedWith)) {
            const quint16 modifiers = quint16(key.modifiers | extra);
            const bool stillGrabbed = kept && kept->keycode == key.keycode
                && std::any_of(keptVariants.cbegin(), keptVariants.cend(),
                               [&](quint16 keptExtra) { return quint16(kept->modifiers | keptExtra) == modifiers; });
            if (!stillGrabbed)
                xcb_ungrab_key(connection, key.keycode, root, modifiers);
        }
        xcb_flush(connection);
    }

    /** Resolves the key on the current keymap and grabs every lock variant. */
    void grab(HotKey &key)
    {
        key.keycode = 0;
        if (key.sequence.count() != 1) {
            key.status = HotKeyStatus::invalid;
            return;
        }
        const QKeyCombination chord = key.sequence[0];
        const quint32 keysym = X11KeyMapping::keysymForQtKey(chord.key());
        key.keycode = keysym ? X11KeyMapping::keycodeForKeysym(connection, keysym) : 0;
        if (!key.keycode) {
            key.status = HotKeyStatus::invalid;
            return;
        }
        key.modifiers = X11KeyMapping::maskForQtModifiers(chord.keyboardModifiers(), masks);
        bool heldElsewhere = false;
        for (const quint16 extra : lockVariants(masks)) {
            const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 1, root, quint16(key.modifiers | extra),
                                                                  key.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (const XcbReply<xcb_generic_error_t> error{xcb_request_check(connection, cookie)})
                heldElsewhere = heldElsewhere || error->error_code == badAccess;
        }
        key.status = heldElsewhere ? HotKeyStatus::heldByOtherClient : HotKeyStatus::registered;
        if (heldElsewhere) {
            qCWarning(logX11,
                      "Corvane: the global key %s is held by another program; it will not work until "
                      "that program releases it",
                      qPrintable(key.sequence.toString(QKeySequence::PortableText)));
        }
    }

    std::optional<QString> match(xcb_keycode_t keycode, quint16 state) const
    {
        const quint16 relevant = quint16(XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | masks.alt | masks.super);
        for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
            if (it->status == HotKeyStatus::registered && it->keycode == keycode && (state & relevant) == it->modifiers)
                return it.key();
        }
        return std::nullopt;
    }
};

X11GlobalHotKeys::X11GlobalHotKeys(QObject *parent)
    : GlobalHotKeys(parent)
    , d(std::make_unique<Private>())
{
    d->connection = X11Support::connection();
    d->root = X11Support::rootWindow(d->connection);
    if (!isAvailable())
        return;
    d->masks = X11KeyMapping::readModifierMasks(d->connection);
    const XcbReply<xcb_query_extension_reply_t> xkb(
        xcb_query_extension_reply(d->connection, xcb_query_extension(d->connection, 9, "XKEYBOARD"), nullptr));
    if (xkb && xkb->present)
        d->xkbFirstEvent = xkb->first_event;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11GlobalHotKeys::~X11GlobalHotKeys()
{
    // Without the application its X connection is gone, and the grabs with it.
    auto *app = QCoreApplication::instance();
    if (!isAvailable() || !app)
        return;
    app->removeNativeEventFilter(this);
    for (const HotKey &key : std::as_const(d->keys))
        d->ungrab(key, d->masks);
}

bool X11GlobalHotKeys::isAvailable() const { return d->connection && d->root; }

HotKeyStatus X11GlobalHotKeys::registerHotKey(const QString &id, const QKeySequence &sequence)
{
    unregisterHotKey(id);
    HotKey key;
    key.sequence = sequence;
    if (isAvailable())
        d->grab(key);
    else
        key.status = HotKeyStatus::unavailable;
    d->keys.insert(id, key);
    return key.status;
}

void X11GlobalHotKeys::unregisterHotKey(const QString &id)
{
    const auto found = d->keys.constFind(id);
    if (found == d->keys.cend())
        return;
    if (isAvailable())
        d->ungrab(*found, d->masks);
    d->keys.erase(found);
}

HotKeyStatus X11GlobalHotKeys::status(const QString &id) const
{
    return d->keys.value(id, HotKey{{}, 0, 0, HotKeyStatus::unavailable}).status;
}

bool X11GlobalHotKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
        // The modifiers may be let go first, so a release need not match the combination.
        if (type == XCB_KEY_RELEASE) {
            if (d->held.remove(key->detail))
                d->released.insert(key->detail, {key->time, key->state});
            return false;
        }
        const auto id = d->match(key->detail, key->state);
        if (!id)
            return false;
        // Holding the key repeats it: as presses alone, or as release-press pairs sharing one
        // timestamp and modifiers. Act once per real press. A busy server stamps a whole burst
        // of queued presses with one time, so the time alone would swallow real presses.
        const auto release = d->released.constFind(key->detail);
        const bool repeated = d->held.contains(key->detail)
            || (release != d->released.cend() && release->time == key->time && release->state == key->state);
        d->held.insert(key->detail);
        if (repeated)
            return true;
        QMetaObject::invokeMethod(
            this, [this, id = *id] { emit activated(id); }, Qt::QueuedConnection);
        return true;
    }
    const bool keymapChanged = type == XCB_MAPPING_NOTIFY
        || (d->xkbFirstEvent && type == d->xkbFirstEvent
            && (reinterpret_cast<const quint8 *>(event)[1] == xkbNewKeyboardNotify
                || reinterpret_cast<const quint8 *>(event)[1] == xkbMapNotify));
    if (keymapChanged && !d->regrabPending) {
        // Several notifications arrive for one change; grab again once they are through. The new
        // grabs come first and only stale ones are released after, so a key that did not move
        // stays grabbed throughout (typing tools remap a spare keycode around every odd key).
        d->regrabPending = true;
        QTimer::singleShot(0, this, [this] {
            d->regrabPending = false;
            const X11KeyMapping::ModifierMasks grabbedWith = d->masks;
            d->masks = X11KeyMapping::readModifierMasks(d->connection);
            for (auto it = d->keys.begin(); it != d->keys.end(); ++it) {
                const HotKey before = *it;
                if (before.status == HotKeyStatus::unavailable)
                    continue;
                d->grab(*it);
                d->ungrab(before, grabbedWith, &*it);
                if (it->status != before.status)
                    emit statusChanged(it.key(), it->status);
            }
        });
    }
    return false;
}

} // namespace corvane
