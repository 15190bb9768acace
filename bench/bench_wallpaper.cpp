// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up wallpaper change with a 4000 x 3000 camera JPEG: the whole CheckWallpaper
// job (reading the settings and the list, decoding, writing Plumora.bmp, recording the
// change) with the desktop's tools faked, so only Plumora's own cost is measured; the
// decode alone; and the preview decode the Wallpaper Changer does for the same file.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "wallpaper/CheckWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperStore.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

// Smooth sky, a textured ground and noise, so the JPEG is as large as a photograph's.
QImage photograph() {
    QImage img(4000, 3000, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, 1800);
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(1, QColor(230, 200, 150));
    p.fillRect(img.rect(), sky);
    p.end();
    QRandomGenerator rng(11);
    for (int y = 1500; y < 3000; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < 4000; ++x)
            line[x] = qRgb(60 + rng.bounded(80), 90 + rng.bounded(70), 30 + rng.bounded(50));
    }
    return img;
}

// The photograph as the only wallpaper of the list, changed at every start, so each run
// converts it.
struct Wallpaper {
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    AppPaths paths{dir.path(), dir.path()};
    AppContext context{desktop.context(paths, clock)};
    QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    bool ready = false;

    Wallpaper() {
        ready = programSchema().createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty() &&
                photograph().save(jpeg, "JPG", 90) &&
                WallpaperStore(paths.dataFile()).replace({jpeg}) &&
                SettingsStore(paths.dataFile()).update([](Settings& s) { s.wallpaperOption = 2; });
    }
};

Wallpaper& wallpaper() {
    static Wallpaper& s = Bench::keep(std::make_unique<Wallpaper>());
    return s;
}

bool wallpaperReady(benchmark::State& state) {
    if (!wallpaper().ready)
        state.SkipWithError("could not write the photograph and the settings");
    return wallpaper().ready;
}

// Each change runs the desktop's five commands that set the picture.
void startupChange(benchmark::State& state) {
    if (!wallpaperReady(state))
        return;
    Wallpaper& w = wallpaper();
    const auto commands = w.desktop.processes.commands.size();
    for (auto _ : state)
        CheckWallpaper(w.context).run();
    if (w.desktop.processes.commands.size() - commands != 5 * qsizetype(state.iterations()))
        state.SkipWithError("a start did not change the wallpaper");
    state.counters["jpeg_kib"] = double(QFileInfo(w.jpeg).size()) / 1024;
}

void decode(benchmark::State& state, QSize fitWithin) {
    if (!wallpaperReady(state))
        return;
    const Wallpaper& w = wallpaper();
    for (auto _ : state)
        if (WallpaperBitmap::load(w.jpeg, nullptr, fitWithin).isNull()) {
            state.SkipWithError("the photograph did not decode");
            break;
        }
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("wallpaper_startup_change", startupChange), 10, 1);
    Bench::standard(benchmark::RegisterBenchmark("wallpaper_decode", decode, QSize()), 10, 1);
    Bench::standard(
        benchmark::RegisterBenchmark("wallpaper_preview_decode", decode, QSize(512, 384)), 10, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    // Which desktop decides how the wallpaper is set; its tools are faked.
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    registerBenchmarks();
    return Bench::run<QGuiApplication>(argc, argv);
}
