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

QString keysymName(Qt::Key key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QString(QChar(char16_t(keysym(key))));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(int(key - Qt::Key_F1) + 1);
    static const QHash<uint32_t, QString> names{{' ', QStringLiteral("space")},
                                                {'!', QStringLiteral("exclam")},
                                                {'"', QStringLiteral("quotedbl")},
                                                {'#', QStringLiteral("numbersign")},
                                                {'$', QStringLiteral("dollar")},
                                                {'%', QStringLiteral("percent")},
                                                {'&', QStringLiteral("ampersand")},
                                                {'\'', QStringLiteral("apostrophe")},
                                                {'(', QStringLiteral("parenleft")},
                                                {')', QStringLiteral("parenright")},
                                                {'*', QStringLiteral("asterisk")},
                                                {'+', QStringLiteral("plus")},
                                                {',', QStringLiteral("comma")},
                                                {'-', QStringLiteral("minus")},
                                                {'.', QStringLiteral("period")},
                                                {'/', QStringLiteral("slash")},
                                                {':', QStringLiteral("colon")},
                                                {';', QStringLiteral("semicolon")},
                                                {'<', QStringLiteral("less")},
                                                {'=', QStringLiteral("equal")},
                                                {'>', QStringLiteral("greater")},
                                                {'?', QStringLiteral("question")},
                                                {'@', QStringLiteral("at")},
                                                {'[', QStringLiteral("bracketleft")},
                                                {'\\', QStringLiteral("backslash")},
                                                {']', QStringLiteral("bracketright")},
                                                {'^', QStringLiteral("asciicircum")},
                                                {'_', QStringLiteral("underscore")},
                                                {'`', QStringLiteral("grave")},
                                                {'{', QStringLiteral("braceleft")},
                                                {'|', QStringLiteral("bar")},
                                                {'}', QStringLiteral("braceright")},
                                                {'~', QStringLiteral("asciitilde")},
                                                {0xff61, QStringLiteral("Print")},
                                                {0xff13, QStringLiteral("Pause")},
                                                {0xff1b, QStringLiteral("Escape")},
                                                {0xff09, QStringLiteral("Tab")},
                                                {0xff08, QStringLiteral("BackSpace")},
                                                {0xff0d, QStringLiteral("Return")},
                                                {0xff8d, QStringLiteral("KP_Enter")},
                                                {0xff63, QStringLiteral("Insert")},
                                                {0xffff, QStringLiteral("Delete")},
                                                {0xff50, QStringLiteral("Home")},
                                                {0xff57, QStringLiteral("End")},
                                                {0xff51, QStringLiteral("Left")},
                                                {0xff52, QStringLiteral("Up")},
                                                {0xff53, QStringLiteral("Right")},
                                                {0xff54, QStringLiteral("Down")},
                                                {0xff55, QStringLiteral("Page_Up")},
                                                {0xff56, QStringLiteral("Page_Down")},
                                                {0xff67, QStringLiteral("Menu")},
                                                {0xff15, QStringLiteral("Sys_Req")},
                                                {0xff14, QStringLiteral("Scroll_Lock")}};
    return names.value(keysym(key));
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
