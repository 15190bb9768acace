// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/FileSchema.h"
#include "shell/ui/ToolDescriptor.h"

#include <QList>

struct AppContext;

// The program's tools in the one order the toolbar, the Tools menu, the tray menu and the
// dispatcher number and show them, the tick runs their jobs and reads their due entries,
// and the data file takes its schema from; each made by its factory with its object, page,
// jobs, Options group and due actions.
QList<ToolDescriptor> programTools(AppContext& context);
// The same tools as the shell shows them, without their objects: no pages, jobs or actions.
QList<ToolDescriptor> programTools();
