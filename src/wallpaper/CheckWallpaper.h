// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Jobs.h"
#include "wallpaper/WallpaperChange.h"
#include "wallpaper/WallpaperRotation.h"

struct AppContext;

// At start-up, puts the next picture of the rotation on the desktop when the user's option
// says a change is due, and records it as the current wallpaper with today's date (even
// when the picture cannot be read, so that the next change passes it over). On a desktop
// where no way to set a picture is known, nothing is recorded and the user is told.
class CheckWallpaper final : public StartupJob {
public:
    using Tell = std::function<void(const QString& text)>;
    explicit CheckWallpaper(
        const AppContext& context, Tell tell = {},
        WallpaperRotation::RandomSource random = WallpaperRotation::systemRandom(),
        int budgetMs = WallpaperChange::StartupBudgetMs);
    const char* name() const override { return "wallpaper"; }
    void run() override;

private:
    const AppContext& m_context;
    Tell m_tell;
    WallpaperRotation::RandomSource m_random;
    int m_budgetMs;
};
