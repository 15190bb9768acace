// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

// Power Scheduler as the shell shows it: it starts the group of the tools that act on the
// machine, and its page draws the etched rule.
// Without a page: the program gives it the one the tool object makes and keeps (makePage).
ToolDescriptor scheduleDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintScheduleIcon(QPainter& p);
