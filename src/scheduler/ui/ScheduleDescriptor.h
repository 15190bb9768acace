// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;
class QPainter;

// Power Scheduler as the shell shows it: it starts the group of the tools that act on the
// machine, and its page draws the etched rule.
ToolDescriptor scheduleDescriptor();
// The same with its tool object (ScheduleTool) and what its entries do; open work is saved
// before a shut-down entry starts the helper.
ToolDescriptor scheduleTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintScheduleIcon(QPainter& p);
