// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramTools.h"
#include "notes/NoteDueReader.h"
#include "scheduler/ScheduleDueReader.h"
#include "shell/Tick.h"
#include "shell/ui/ToolRegistry.h"

#include <QHash>

// The test's pages of the program's tools, by tool id.
using TestPages = QHash<QString, ToolDescriptor::PageFactory>;

// The program's own shown tools for a test of the shell or the tick without the whole
// application (which registers them itself), without their objects but with the test's
// pages, if any.
inline void registerProgramTools(ToolRegistry& tools, TestPages pages = {}) {
    for (ToolDescriptor& tool : programTools()) {
        tool.page = pages.value(tool.id);
        if (tool.isShown())
            tools.add(std::move(tool));
    }
}

// The toolbar button and the tray index of one of the program's own tools, by its id, as
// the registry numbers them when the program registers its list.
inline const ToolRegistry& programRegistry() {
    static const ToolRegistry registry = [] {
        ToolRegistry tools;
        registerProgramTools(tools);
        return tools;
    }();
    return registry;
}
inline int toolButton(const char* id) {
    return programRegistry().buttonOf(QLatin1String(id));
}
inline int trayIndex(const char* id) {
    return programRegistry().trayIndexOf(QLatin1String(id));
}

inline void addProgramDueReaders(Tick& tick) {
    for (const ToolDescriptor& tool : programTools())
        if (tool.dueReader)
            tick.addDueReader(tool.dueReader, tool.dueTables);
}

// What the program's due entries do, with the test's stand-ins for Quick Notes.
inline void addProgramDueActions(Tick& tick, DesktopShell& shell, FixedDiskTest isFixedDisk,
                                 std::function<void()> noteAlarm,
                                 std::function<void(const QList<QDateTime>&)> lateAlarm = {},
                                 std::function<void()> beforeShutDown = {}) {
    tick.addDueActions({{QLatin1String(NoteAlarmAction),
                         noteAlarmAction(std::move(noteAlarm), std::move(lateAlarm))}});
    tick.addDueActions(
        scheduleDueActions(shell, std::move(isFixedDisk), std::move(beforeShutDown)));
}
