#pragma once

#include <QString>

struct AppContext;
class Registry;

// Putting an image on the desktop now, as the start-up rotation and "Change now!" both do:
// the image becomes "Plumora.bmp" in the program folder, shown in the style the user chose
// in the Wallpaper Changer.
namespace WallpaperChange {

// The style lives where the desktop settings of older versions kept it: the string values
// "WallpaperStyle" ("2" stretched, "0" centred) and "TileWallpaper" under the current
// user's "Control Panel\Desktop".
bool isStretched(const Registry& registry);
void setStretched(Registry& registry, bool stretched);

// The longest the desktop's tools may take at start-up, where they hold up the tray icon,
// and when the user asks for a change.
inline constexpr int StartupBudgetMs = 3000;
inline constexpr int InteractiveBudgetMs = 20000;

// Converts `image` and applies the bitmap with the desktop's tools, which together may take
// `budgetMs`. False (with the reason) when the image cannot be read or written, in which
// case the desktop is left as it is, or when the desktop was not told.
bool show(const AppContext& context, const QString& image, int budgetMs, QString* error = nullptr);

} // namespace WallpaperChange
