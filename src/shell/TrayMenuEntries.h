// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DBusMenuNode.h"

#include <QList>
#include <QString>

// The tray menu's entries from top to bottom, separators included: what Plumora's own menu
// window shows and what the tray exports over D-Bus, so both offer the same choices.
namespace TrayMenuEntries {

struct Entry {
    int index = -1;  // the menu index (ToolRegistry::trayIndexAt, TrayMenu::Index); -1: a line
    QString caption; // "&x" marks an accelerator, "&&" a literal ampersand
    bool enabled = true;
    bool isSeparator() const { return index < 0; }
};

// A registered tool as the menu shows it.
struct Tool {
    int index = -1;
    QString caption;
    bool startsGroup = false;
};

// The tools in their groups, then the reminder, the help entries, and leaving Plumora last,
// with a line between groups.
QList<Entry> build(const QList<Tool>& tools);

// The exported menu: the root (id 0) with one item per entry. An entry's id is its index + 1,
// a line's is LineIds + its position.
inline constexpr int LineIds = 10000;
DBusMenuNode exported(const QList<Entry>& entries);
// The menu index of an exported item; -1 for the root, a line or an unknown id.
int indexOfId(int id);
// A caption's accelerator in dbusmenu's form ("&Notes" -> "_Notes", "a_b" -> "a__b").
QString exportedLabel(const QString& caption);

} // namespace TrayMenuEntries
