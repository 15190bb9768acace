// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ShellTables.h"

#include <QCoreApplication>

#include <array>

namespace MainToolbar {

QString tip(int button) {
    switch (button) {
    case ReminderButton:
        return QCoreApplication::translate("MainToolbar", "Reminder");
    case HelpButton:
        return QCoreApplication::translate("MainToolbar", "Help");
    default:
        return {};
    }
}

} // namespace MainToolbar

namespace TrayMenu {

QString caption(int index) {
    static const std::array<const char*, ItemCount - ToolSlots> Captions{
        QT_TRANSLATE_NOOP("TrayMenu", "Show Reminder"),
        QT_TRANSLATE_NOOP("TrayMenu", "Unload Plumora"), QT_TRANSLATE_NOOP("TrayMenu", "Help"),
        QT_TRANSLATE_NOOP("TrayMenu", "About"), QT_TRANSLATE_NOOP("TrayMenu", "Web")};
    return index >= ToolSlots && index < ItemCount
               ? QCoreApplication::translate("TrayMenu", Captions[std::size_t(index - ToolSlots)])
               : QString();
}

} // namespace TrayMenu
