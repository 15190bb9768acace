// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/ToolData.h"

// The wallpaper changer's part of the data file: its pictures and their store.
ToolData wallpaperData();
