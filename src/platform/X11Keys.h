// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <QList>
#include <QString>

#include <cstdint>

// The rules of a key grab on X11, without a connection: a Qt key as an X keysym, Qt's
// modifiers as X's modifier mask, and every state of the lock keys a grab must cover.
namespace X11Keys {

// The X modifier bits (core protocol).
constexpr uint16_t ShiftMask = 1 << 0;
constexpr uint16_t LockMask = 1 << 1; // Caps Lock
constexpr uint16_t ControlMask = 1 << 2;
constexpr uint16_t Mod1Mask = 1 << 3; // Alt
constexpr uint16_t Mod4Mask = 1 << 6; // Super

// The keysym of a key, 0 for a key X has no keysym for (or a modifier alone).
uint32_t keysym(Qt::Key key);
// The keysym's name of a key ("Print", "a", "F9", "comma"), empty where keysym() is 0.
QString keysymName(Qt::Key key);
// The mask of Shift, Ctrl, Alt and Meta.
uint16_t modifierMask(Qt::KeyboardModifiers modifiers);
// Every combination of Caps Lock, Num Lock and Scroll Lock (given as the masks their keys
// are on, 0 when a key is on none), each added to `modifiers`, without repeats.
QList<uint16_t> withLockStates(uint16_t modifiers, uint16_t numLockMask, uint16_t scrollLockMask);
// A key event's state without the lock keys, to compare with a grab's modifiers.
uint16_t withoutLocks(uint16_t state, uint16_t numLockMask, uint16_t scrollLockMask);

} // namespace X11Keys
