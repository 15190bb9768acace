#include "wallpaper/WallpaperChange.h"

#include "core/AppContext.h"
#include "platform/ProcessRunner.h"
#include "platform/Registry.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"

namespace {
const QString& Root = RegistryKeys::CurrentUser;
const QString Key = QStringLiteral("Control Panel\\Desktop");
const QString StyleName = QStringLiteral("WallpaperStyle");
const QString TileName = QStringLiteral("TileWallpaper");
} // namespace

namespace WallpaperChange {

bool isStretched(const Registry& registry) {
    return wallpaperStyleFromSetting(registry.readString(Root, Key, StyleName)) ==
           WallpaperStyle::Stretched;
}

void setStretched(Registry& registry, bool stretched) {
    registry.writeString(Root, Key, StyleName,
                         stretched ? QStringLiteral("2") : QStringLiteral("0"));
    registry.writeString(Root, Key, TileName, QStringLiteral("0"));
}

bool show(const AppContext& context, const QString& image, int budgetMs, QString* error) {
    const QString bitmap = context.paths.file(WallpaperBitmap::fileName());
    if (!WallpaperBitmap::convert(image, bitmap, error))
        return false;
    TimeBudgetRunner runner(context.processes, context.clock, budgetMs);
    DesktopWallpaper desktop(runner);
    QString why;
    const WallpaperStyle style =
        isStretched(context.registry) ? WallpaperStyle::Stretched : WallpaperStyle::Centred;
    const bool applied = desktop.apply(bitmap, style, &why);
    if (!applied && runner.budgetExceeded())
        why =
            desktop.desktopName() +
            QStringLiteral(" did not take the wallpaper within %1 seconds").arg(budgetMs / 1000.0);
    if (!applied && error)
        *error = why;
    return applied;
}

} // namespace WallpaperChange
