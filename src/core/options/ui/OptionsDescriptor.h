// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ui/ToolDescriptor.h"

class QPainter;

// Options as the shell shows it.
// Its page comes from the tool's own object, which keeps hold of it.
ToolDescriptor optionsDescriptor();
// Its picture on the 32-unit grid of Artwork.
void paintOptionsIcon(QPainter& p);
