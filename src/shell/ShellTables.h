// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The numbers of the main window's toolbar buttons and of the tray menu's entries, for the
// registry, the main window and the tray menu. The tools fill their slots in the order the
// application registers them (ToolRegistry); what each one shows comes from its
// descriptor, and everything else reaches a tool by its id. Only the shell's own entries
// have names here.
namespace MainToolbar {

// Buttons are numbered by position, 1 to 14, separators included: a separator, the tools
// with a separator before each further group, a separator, the reminder, a separator and
// Help. Tools beyond the shell's seven slots number on from ButtonCount + 1.
inline constexpr int ButtonCount = 14;
enum Button {
    FirstToolButton = 2,
    ReminderButton = 12,
    HelpButton = 14,
};

// The tool-tip of one of the shell's own buttons (Reminder, Help); "" for any other.
QString tip(int button);

} // namespace MainToolbar

namespace TrayMenu {

// Indexes 0..6 are the tools' slots, then the shell's own entries; tools beyond the
// seven slots number on from ItemCount.
inline constexpr int ItemCount = 12;
enum Index {
    ShowReminder = 7,
    Unload = 8,
    Help = 9,
    About = 10,
    Web = 11,
};
inline constexpr int ToolSlots = ShowReminder;

// The caption of one of the shell's own entries (7..11); "" for any other index.
QString caption(int index);

} // namespace TrayMenu
