// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ShellTables.h"

#include <array>

namespace MainToolbar {

QString tip(int button) {
    switch (button) {
    case ReminderButton:
        return QStringLiteral("Reminder");
    case HelpButton:
        return QStringLiteral("Help");
    default:
        return {};
    }
}

} // namespace MainToolbar

namespace TrayMenu {

QString caption(int index) {
    static const std::array<const char*, ItemCount - ToolSlots> Captions{
        "Show Reminder", "Unload Plumora", "Help", "About", "Web"};
    return index >= ToolSlots && index < ItemCount
               ? QString::fromLatin1(Captions[std::size_t(index - ToolSlots)])
               : QString();
}

} // namespace TrayMenu
