// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// When the tray menu closes itself: once the user has gone to another window. Checked by
// the menu's CloseTimer every 500 ms.
namespace MenuCloseRule {

enum class Front {
    Menu,           // the menu itself is in front
    OtherOwnWindow, // another window of Plumora is
    OtherProgram,   // Plumora is not the active program (another program, or the panel)
    Nothing,        // Plumora is active but no window of it is in front
};

// Ticks the menu may take to come to the front, under load, before another window of ours
// in front means the user went there.
inline constexpr int GraceTicks = 3;

// `wasInFront`: the menu has been in front since it opened. `ticksNotInFront`: ticks so far
// (this one included) while it never was.
constexpr bool shouldClose(Front front, bool wasInFront, int ticksNotInFront) {
    if (front == Front::Menu)
        return false;
    if (!wasInFront && ticksNotInFront < GraceTicks)
        return false;
    switch (front) {
    case Front::OtherOwnWindow:
        return true;
    case Front::OtherProgram:
        // Never in front: a desktop keeping the focus on the panel; the menu stays.
        return wasInFront;
    default:
        return false;
    }
}

} // namespace MenuCloseRule
