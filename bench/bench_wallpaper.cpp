// The start-up wallpaper change with a 4000 x 3000 camera JPEG: the whole CheckWallpaper
// job (reading the settings and the list, decoding, writing Plumora.bmp, recording the
// change) with the desktop's tools faked, so only Plumora's own cost is measured; and the
// preview decode the Wallpaper Changer does for the same file.
#include "core/Schema.h"
#include "core/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "wallpaper/CheckWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperStore.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

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

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    FakeClock clock;
    FakeDesktop desktop;
    const AppPaths paths(dir.path(), dir.path());
    const AppContext context = desktop.context(paths, clock);
    if (!Schema::createTemplate(paths.dataFile(), QDate(2026, 3, 1)).isEmpty())
        return 1;
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    if (!photograph().save(jpeg, "JPG", 90))
        return 1;
    // Every start changes, and the list holds only the photograph, so each run converts it.
    if (!WallpaperStore(paths.dataFile()).replace({jpeg}) ||
        !SettingsStore(paths.dataFile()).update([](Settings& s) { s.wallpaperOption = 2; }))
        return 1;

    constexpr int Rounds = 5;
    QElapsedTimer timer;
    qint64 worst = 0, total = 0, decoding = 0, preview = 0;
    for (int i = 0; i < Rounds; ++i) {
        timer.start();
        CheckWallpaper(context).run();
        const qint64 ns = timer.nsecsElapsed();
        total += ns;
        worst = std::max(worst, ns);

        timer.start();
        if (WallpaperBitmap::load(jpeg).isNull())
            return 1;
        decoding += timer.nsecsElapsed();
        timer.start();
        if (WallpaperBitmap::load(jpeg, nullptr, QSize(512, 384)).isNull())
            return 1;
        preview += timer.nsecsElapsed();
    }
    if (desktop.processes.commands.size() != 5 * Rounds)
        return 1;
    std::printf("start-up change with a 4000 x 3000 JPEG (%lld KB): %.1f ms mean, %.1f ms worst; "
                "the decode alone %.1f ms; the preview decode (512 x 384) %.1f ms\n",
                static_cast<long long>(QFileInfo(jpeg).size() / 1024), total / 1e6 / Rounds,
                worst / 1e6, decoding / 1e6 / Rounds, preview / 1e6 / Rounds);
    return 0;
}
