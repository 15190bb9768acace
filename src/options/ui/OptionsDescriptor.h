// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;
class QPainter;

// Options as the shell shows it.
ToolDescriptor optionsDescriptor();
// The same with its tool object (OptionsTool): its page takes the other tools' groups.
ToolDescriptor optionsTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintOptionsIcon(QPainter& p);
