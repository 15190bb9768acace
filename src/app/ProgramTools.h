// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

#include <QList>

struct AppContext;

// The program's tools in the order of the tool list (app/ToolList.h), each made by its factory
// with its object, page, jobs, Options group and due actions.
QList<ToolDescriptor> programTools(AppContext& context);
// The same tools as the shell shows them, without their objects: no pages, jobs or actions.
QList<ToolDescriptor> programTools();
