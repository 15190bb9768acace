// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperChange.h"

#include "platform/ProcessRunner.h"
#include "platform/Registry.h"
#include "shell/AppContext.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>

namespace {
const QString& Root = RegistryKeys::CurrentUser;
const QString Key = QStringLiteral("Control Panel\\Desktop");
const QString StyleName = QStringLiteral("WallpaperStyle");
const QString TileName = QStringLiteral("TileWallpaper");
// The desktop's own style from before the first tick, as its adapter read it.
const QString DesktopFillName = QStringLiteral("PlumoraDesktopFill");
} // namespace

namespace {

struct Outcome {
    bool shown = false;
    QString error;
};

// Touches neither the registry nor any window, so it may run on a worker thread.
Outcome apply(const AppContext& context, const QString& image, WallpaperStyle style, int budgetMs) {
    Outcome out;
    const QString bitmap = context.paths.file(WallpaperBitmap::fileName());
    if (!WallpaperBitmap::convert(image, bitmap, &out.error))
        return out;
    TimeBudgetRunner runner(context.processes, context.clock, budgetMs);
    DesktopWallpaper desktop(runner);
    out.shown = desktop.apply(bitmap, style, &out.error);
    if (!out.shown && runner.budgetExceeded())
        out.error = QCoreApplication::translate("WallpaperChange",
                                                "%1 did not take the wallpaper within %2 seconds")
                        .arg(desktop.desktopName())
                        .arg(budgetMs / 1000.0);
    return out;
}

WallpaperStyle styleOf(const Registry& registry) {
    // The desktop's own style stays unless the user asked for a stretched picture.
    return WallpaperChange::isStretched(registry) ? WallpaperStyle::Stretched
                                                  : WallpaperStyle::DesktopOwn;
}

} // namespace

namespace WallpaperChange {

bool isStretched(const Registry& registry) {
    return wallpaperStyleFromSetting(registry.readString(Root, Key, StyleName)) ==
           WallpaperStyle::Stretched;
}

bool setStretched(const AppContext& context, bool stretched, QString* error) {
    Registry& registry = context.registry;
    registry.writeString(Root, Key, StyleName,
                         stretched ? QStringLiteral("2") : QStringLiteral("0"));
    registry.writeString(Root, Key, TileName, QStringLiteral("0"));
    TimeBudgetRunner runner(context.processes, context.clock, InteractiveBudgetMs);
    DesktopWallpaper desktop(runner);
    if (stretched) {
        if (registry.readString(Root, Key, DesktopFillName).isEmpty())
            registry.writeString(Root, Key, DesktopFillName, desktop.readFill());
        return desktop.stretchFill(error);
    }
    const QString saved = registry.readString(Root, Key, DesktopFillName);
    registry.writeString(Root, Key, DesktopFillName, QString());
    return desktop.restoreFill(saved, error);
}

bool canSet(const AppContext& context) {
    return DesktopWallpaper(context.processes).canSet();
}

bool show(const AppContext& context, const QString& image, int budgetMs, QString* error) {
    const Outcome out = apply(context, image, styleOf(context.registry), budgetMs);
    if (!out.shown && error)
        *error = out.error;
    return out.shown;
}

QThread* showInBackground(const AppContext& context, const QString& image, int budgetMs,
                          QObject* receiver, Done done) {
    const WallpaperStyle style = styleOf(context.registry);
    auto outcome = std::make_shared<Outcome>();
    QThread* worker = QThread::create([&context, image, style, budgetMs, outcome] {
        *outcome = apply(context, image, style, budgetMs);
    });
    // Both run on the receiver's thread once the work is over; a receiver that is gone
    // takes its connection with it.
    QObject::connect(worker, &QThread::finished, receiver, [outcome, done = std::move(done)] {
        if (done)
            done(outcome->shown, outcome->error);
    });
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    return worker;
}

} // namespace WallpaperChange
