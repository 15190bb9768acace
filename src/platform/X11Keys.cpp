// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/X11Keys.h"

#include <QHash>

namespace X11Keys {

uint32_t keysym(Qt::Key key) {
    // Printable Latin-1 keys are their own keysyms; letters in lower case.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return uint32_t(key - Qt::Key_A + 'a');
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return uint32_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return uint32_t(0xffbe + (key - Qt::Key_F1));
    static const QHash<int, uint32_t> special{
        {Qt::Key_Print, 0xff61},  {Qt::Key_Pause, 0xff13},     {Qt::Key_Escape, 0xff1b},
        {Qt::Key_Tab, 0xff09},    {Qt::Key_Backspace, 0xff08}, {Qt::Key_Return, 0xff0d},
        {Qt::Key_Enter, 0xff8d},  {Qt::Key_Insert, 0xff63},    {Qt::Key_Delete, 0xffff},
        {Qt::Key_Home, 0xff50},   {Qt::Key_End, 0xff57},       {Qt::Key_Left, 0xff51},
        {Qt::Key_Up, 0xff52},     {Qt::Key_Right, 0xff53},     {Qt::Key_Down, 0xff54},
        {Qt::Key_PageUp, 0xff55}, {Qt::Key_PageDown, 0xff56},  {Qt::Key_Menu, 0xff67},
        {Qt::Key_SysReq, 0xff15}, {Qt::Key_ScrollLock, 0xff14}};
    return special.value(key, 0);
}

uint16_t modifierMask(Qt::KeyboardModifiers modifiers) {
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= ControlMask;
    if (modifiers & Qt::AltModifier)
        mask |= Mod1Mask;
    if (modifiers & Qt::MetaModifier)
        mask |= Mod4Mask;
    return mask;
}

QList<uint16_t> withLockStates(uint16_t modifiers, uint16_t numLockMask, uint16_t scrollLockMask) {
    QList<uint16_t> states;
    for (const uint16_t caps : {uint16_t(0), LockMask})
        for (const uint16_t num : {uint16_t(0), numLockMask})
            for (const uint16_t scroll : {uint16_t(0), scrollLockMask}) {
                const uint16_t state = modifiers | caps | num | scroll;
                if (!states.contains(state))
                    states << state;
            }
    return states;
}

uint16_t withoutLocks(uint16_t state, uint16_t numLockMask, uint16_t scrollLockMask) {
    return state & ~(LockMask | numLockMask | scrollLockMask) & 0xff;
}

} // namespace X11Keys
