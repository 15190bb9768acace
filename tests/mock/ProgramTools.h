// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramTools.h"
#include "shell/Tick.h"
#include "shell/ui/ToolRegistry.h"

// The program's own tools for a test of the shell or the tick without the whole
// application (which registers them itself), with the test's pages, if any.
inline void registerProgramTools(ToolRegistry& tools, ProgramParts pages = {}) {
    for (ToolDescriptor& tool : programTools(std::move(pages)))
        tools.add(std::move(tool));
}

inline void addProgramDueReaders(Tick& tick) {
    for (const ToolDescriptor& tool : programTools())
        if (tool.dueReader)
            tick.addDueReader(tool.dueReader, tool.dueTables);
}
