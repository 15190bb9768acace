// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ui/ToolDescriptor.h"

struct AppContext;
class QPainter;

// The Wallpaper Changer as the shell shows it: it starts the group that ends with Options.
// Its start-up job changes the wallpaper when a change is due.
ToolDescriptor wallpaperDescriptor();
// The same with its page (WallpaperChanger::pages).
ToolDescriptor wallpaperTool(AppContext& context);
// Its picture on the 32-unit grid of Artwork.
void paintWallpaperIcon(QPainter& p);
