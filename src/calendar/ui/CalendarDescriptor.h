// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ui/ToolDescriptor.h"

class QPainter;

// Personal Calendar as the shell shows it: the first entry of the toolbar and both menus.
// Its page comes from the tool's own object, which keeps hold of it.
ToolDescriptor calendarDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintCalendarIcon(QPainter& p);
