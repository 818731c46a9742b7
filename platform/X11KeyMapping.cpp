#include "X11KeyMapping.h"
#include "XcbReply.h"

#include <QHash>

#include <cstdlib>

namespace corvane::X11KeyMapping {

namespace {

constexpr quint32 numLockKeysym = 0xff7f;
constexpr quint32 superLeft = 0xffeb, superRight = 0xffec;
constexpr quint32 altLeft = 0xffe9, altRight = 0xffea;

} // namespace

quint32 keysymForQtKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return quint32(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return quint32(0xffbe + (key - Qt::Key_F1));
    if (key >= 0x20 && key <= 0x7e)
        return quint32(key);
    static const QHash<int, quint32> special{
        {Qt::Key_Escape, 0xff1b},   {Qt::Key_Tab, 0xff09},    {Qt::Key_Backspace, 0xff08}, {Qt::Key_Return, 0xff0d},
        {Qt::Key_Enter, 0xff8d},    {Qt::Key_Insert, 0xff63}, {Qt::Key_Delete, 0xffff},    {Qt::Key_Pause, 0xff13},
        {Qt::Key_Print, 0xff61},    {Qt::Key_Home, 0xff50},   {Qt::Key_End, 0xff57},       {Qt::Key_Left, 0xff51},
        {Qt::Key_Up, 0xff52},       {Qt::Key_Right, 0xff53},  {Qt::Key_Down, 0xff54},      {Qt::Key_PageUp, 0xff55},
        {Qt::Key_PageDown, 0xff56},
    };
    return special.value(key, 0);
}

ModifierMasks readModifierMasks(xcb_connection_t *connection)
{
    ModifierMasks masks;
    const XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!modifiers)
        return masks;
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const quint8 count = quint8(setup->max_keycode - setup->min_keycode + 1);
    const XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (keyboard) {
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
        const int perKeycode = keyboard->keysyms_per_keycode;
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
        const int perModifier = modifiers->keycodes_per_modifier;
        bool foundAlt = false, foundSuper = false, foundNumLock = false;
        // Modifiers 3..7 are Mod1..Mod5, whose meaning the keymap decides.
        for (int modifier = 3; modifier < 8; ++modifier) {
            const quint16 mask = quint16(1 << modifier);
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                if (code < setup->min_keycode || code > setup->max_keycode)
                    continue;
                for (int column = 0; column < perKeycode; ++column) {
                    const xcb_keysym_t sym = keysyms[(code - setup->min_keycode) * perKeycode + column];
                    if (sym == numLockKeysym && !foundNumLock)
                        masks.numLock = mask, foundNumLock = true;
                    else if ((sym == superLeft || sym == superRight) && !foundSuper)
                        masks.super = mask, foundSuper = true;
                    else if ((sym == altLeft || sym == altRight) && !foundAlt)
                        masks.alt = mask, foundAlt = true;
                }
            }
        }
    }
    return masks;
}

xcb_keycode_t keycodeForKeysym(xcb_connection_t *connection, quint32 keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const quint8 count = quint8(setup->max_keycode - setup->min_keycode + 1);
    const XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (!keyboard)
        return 0;
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    const int perKeycode = keyboard->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    // Prefer a key producing it unshifted, then any column.
    for (int column = 0; column < perKeycode && !found; ++column) {
        for (int code = 0; code < count; ++code) {
            if (keysyms[code * perKeycode + column] == keysym) {
                found = xcb_keycode_t(setup->min_keycode + code);
                break;
            }
        }
    }
    return found;
}

quint16 maskForQtModifiers(Qt::KeyboardModifiers modifiers, const ModifierMasks &masks)
{
    quint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= masks.alt;
    if (modifiers & Qt::MetaModifier)
        mask |= masks.super;
    return mask;
}

} // namespace corvane::X11KeyMapping
