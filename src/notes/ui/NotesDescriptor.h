// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ui/ToolDescriptor.h"

class QPainter;

// Quick Notes as the shell shows it.
// Its page comes from the tool's own object, which keeps hold of it.
ToolDescriptor notesDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintNotesIcon(QPainter& p);
