// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ui/ToolDescriptor.h"

#include <QList>

class ToolRegistry;

// The program's tools in the one order the toolbar, the Tools menu, the tray menu and the
// dispatcher number and show them.
QList<ToolDescriptor> programTools();
// Registers them, in that order, before any tool the application adds.
void registerProgramTools(ToolRegistry& tools);
