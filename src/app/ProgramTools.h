// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileSchema.h"
#include "core/ui/ToolDescriptor.h"

#include <QList>

// The program's tools in the one order the toolbar, the Tools menu, the tray menu and the
// dispatcher number and show them, and the tick reads their due entries.
QList<ToolDescriptor> programTools();

// The data file's schema: the settings' tables, then each tool's in the list's order.
FileSchema programSchema();
