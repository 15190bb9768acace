// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

class QPainter;

// Quick Notes as the shell shows it.
// Without a page: the program gives it the one the tool object makes and keeps (makePage).
ToolDescriptor notesDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintNotesIcon(QPainter& p);
