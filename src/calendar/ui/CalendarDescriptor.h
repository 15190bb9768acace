// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

// Personal Calendar as the shell shows it: the first entry of the toolbar and both menus.
// Without a page: the program gives it the one the tool object makes and keeps (makePage).
ToolDescriptor calendarDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintCalendarIcon(QPainter& p);
