// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

struct AppContext;
class QObject;
class QThread;
class Registry;

// Putting an image on the desktop now, as the start-up rotation and "Change now!" both do:
// the image becomes "Plumora.bmp" in the program folder, stretched when the user ticked
// "Stretch Full Screen" in the Wallpaper Changer and otherwise in the desktop's own style.
namespace WallpaperChange {

// The style lives where the desktop settings of older versions kept it: the string values
// "WallpaperStyle" ("2" stretched, "0" centred) and "TileWallpaper" under the current
// user's "Control Panel\Desktop".
bool isStretched(const Registry& registry);
// A click on "Stretch Full Screen". Ticked: the desktop's own style is kept aside (once)
// and the desktop stretches its picture. Unticked: the style kept aside goes back. False,
// with the reason, when the desktop was not told; the choice is stored all the same.
bool setStretched(const AppContext& context, bool stretched, QString* error = nullptr);

// The longest the desktop's tools may take at start-up, where they hold up the tray icon,
// and when the user asks for a change.
inline constexpr int StartupBudgetMs = 3000;
inline constexpr int InteractiveBudgetMs = 20000;

// A way to set the picture on the running desktop is known (DesktopWallpaper::canSet).
bool canSet(const AppContext& context);

// Converts `image` and applies the bitmap with the desktop's tools, which together may take
// `budgetMs`. False (with the reason) when the image cannot be read or written, in which
// case the desktop is left as it is, or when the desktop was not told.
bool show(const AppContext& context, const QString& image, int budgetMs, QString* error = nullptr);

// The same off the user-interface thread, for a change the user asked for: the image is
// converted and the desktop's tools run on a worker thread, so the windows keep answering.
// `done` is called on `receiver`'s thread with the outcome, and not at all once the
// receiver is gone. `context` must outlive the work. Returns the worker, which deletes
// itself once done.
using Done = std::function<void(bool shown, const QString& error)>;
QThread* showInBackground(const AppContext& context, const QString& image, int budgetMs,
                          QObject* receiver, Done done);

} // namespace WallpaperChange
