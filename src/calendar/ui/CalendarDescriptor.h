// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

struct AppContext;

// Personal Calendar as the shell shows it: the first entry of the toolbar and both menus.
ToolDescriptor calendarDescriptor();
// The same with its tool object (CalendarTool): its page, its jobs, its sync group of
// Options, and the iCalendar files handed to the program.
ToolDescriptor calendarTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintCalendarIcon(QPainter& p);
