// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ui/ToolDescriptor.h"

class QPainter;

// Power Scheduler as the shell shows it: it starts the group of the tools that act on the
// machine, and its page draws the etched rule.
// Its page comes from the tool's own object, which keeps hold of it.
ToolDescriptor scheduleDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintScheduleIcon(QPainter& p);
