#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <xcb/xcb.h>

namespace corvane::X11KeyMapping {

/** The X keysym of a Qt key (letters lower-cased, as X binds them), 0 when there is none. */
quint32 keysymForQtKey(int key);

/** Modifier masks as the current keymap assigns them. */
struct ModifierMasks {
    quint16 alt = XCB_MOD_MASK_1;
    quint16 super = XCB_MOD_MASK_4;
    quint16 numLock = XCB_MOD_MASK_2;
    quint16 capsLock = XCB_MOD_MASK_LOCK;
};

/** Reads the modifier mapping; keeps the usual masks for modifiers the keymap does not name. */
ModifierMasks readModifierMasks(xcb_connection_t *connection);
/** The first keycode producing @p keysym, 0 when none does. */
xcb_keycode_t keycodeForKeysym(xcb_connection_t *connection, quint32 keysym);
/** The X modifier mask of Qt modifiers (Meta is Super); nothing for keypad or group switches. */
quint16 maskForQtModifiers(Qt::KeyboardModifiers modifiers, const ModifierMasks &masks);

} // namespace corvane::X11KeyMapping
