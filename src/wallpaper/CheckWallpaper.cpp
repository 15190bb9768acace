// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/CheckWallpaper.h"

#include "base/Clock.h"
#include "data/Settings.h"
#include "shell/AppContext.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperChange.h"
#include "wallpaper/WallpaperLog.h"
#include "wallpaper/WallpaperStore.h"

CheckWallpaper::CheckWallpaper(const AppContext& context, Tell tell,
                               WallpaperRotation::RandomSource random, int budgetMs)
    : m_context(context), m_tell(std::move(tell)), m_random(std::move(random)),
      m_budgetMs(budgetMs) {}

void CheckWallpaper::run() {
    const SettingsStore& settings = m_context.stores.settings;
    const std::optional<Settings> loaded = settings.load();
    if (!loaded) {
        qCWarning(lcWallpaper) << "wallpaper rotation skipped: the settings cannot be read";
        return;
    }
    if (loaded->wallpaperOption == WallpaperRotation::Never)
        return;
    const std::optional<QStringList> files = m_context.stores.get<WallpaperStore>().files();
    if (!files)
        return;

    const auto decision =
        WallpaperRotation::decide({loaded->wallpaperOption, loaded->wallpaperLastDay,
                                   loaded->currentWallpaper, *files, m_context.clock.today()},
                                  m_random);
    if (!decision)
        return;
    if (!WallpaperChange::canSet(m_context)) {
        qCWarning(lcWallpaper) << "start-up wallpaper not shown: no way to set it is known here";
        if (m_tell)
            m_tell(noWallpaperMethodText());
        return;
    }

    QString error;
    if (!WallpaperChange::show(m_context, decision->file, m_budgetMs, &error))
        qCWarning(lcWallpaper) << "start-up wallpaper not shown:" << error;

    Settings updated = *loaded;
    updated.currentWallpaper = decision->curWall;
    updated.wallpaperLastDay = decision->lastDay;
    if (!settings.save(*loaded, updated))
        qCWarning(lcWallpaper) << "the current wallpaper could not be recorded";
}
