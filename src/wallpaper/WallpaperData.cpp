// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperData.h"

#include "wallpaper/WallpaperStore.h"

ToolData wallpaperData() {
    return {{WallpaperStore::tables()}, ToolData::stores<WallpaperStore>()};
}
