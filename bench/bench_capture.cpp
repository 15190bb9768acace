// SPDX-License-Identifier: GPL-3.0-or-later
// Storing a 1920 x 1080 screen capture: from the grabbed picture to the stored row (PNG
// encoding and the insert), the encoding alone, and through the windows: the frozen screen
// up after the grab, and a click on "Full Screen" to the new row listed, shown and ready
// for its description. Target 200 ms. And the whole desktop of two 1920 x 1080 monitors: the
// two grabbed pictures joined into one and stored. Target 300 ms. The picture is drawn to look like
// a desktop: a gradient, windows full of text and a photograph-like patch.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "capture/CaptureRules.h"
#include "capture/CaptureStore.h"
#include "capture/ui/FullScreen.h"
#include "capture/ui/ScreenCapture.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "platform/LinuxScreenGrabber.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

QImage desktopPicture() {
    QImage img(1920, 1080, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 1920, 1080);
    sky.setColorAt(0, QColor(30, 60, 120));
    sky.setColorAt(1, QColor(200, 120, 60));
    p.fillRect(img.rect(), sky);
    QRandomGenerator rng(7);
    for (int w = 0; w < 6; ++w) {
        const QRect r(rng.bounded(0, 1200), rng.bounded(0, 600), rng.bounded(400, 900),
                      rng.bounded(300, 600));
        p.fillRect(r, QColor(245, 245, 245));
        p.fillRect(QRect(r.topLeft(), QSize(r.width(), 28)), QColor(60, 60, 70));
        p.setPen(Qt::black);
        for (int line = 0; line < r.height() / 18 - 2; ++line)
            p.drawText(r.x() + 8, r.y() + 46 + line * 18,
                       QStringLiteral("The quick brown fox %1 jumps over the lazy dog, line %2")
                           .arg(w)
                           .arg(line));
    }
    p.end();
    const QRect photo(1300, 650, 500, 350);
    for (int y = photo.top(); y <= photo.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = photo.left(); x <= photo.right(); ++x)
            line[x] = qRgb((x * 3 + rng.bounded(30)) & 255, (y * 2 + rng.bounded(30)) & 255,
                           (x + y + rng.bounded(30)) & 255);
    }
    return img;
}

// The picture, a data file, and the Screen Capture page over it with the grab itself
// handed in by a fake.
struct Capture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.plm"));
    bool ready = programSchema().createTemplate(path, QDate(2026, 3, 1)).isEmpty();
    QImage screen = desktopPicture();
    CaptureStore store{path};
    FakeClock clock{QDateTime(QDate(2026, 3, 1), QTime(9, 0))};
    FakeDesktop desktop;
    AppContext context{desktop.context(AppPaths(dir.path(), dir.path()), clock)};
    std::unique_ptr<ScreenCapture> page;

    ScreenCapture& shownPage() {
        if (!page) {
            desktop.windows.screen = screen.rect();
            desktop.grabber.answer = {screen, {}};
            page = std::make_unique<ScreenCapture>(context);
            page->resize(900, 600);
            page->show();
        }
        return *page;
    }
};

Capture& capture() {
    static Capture& s = Bench::keep(std::make_unique<Capture>());
    return s;
}

void encode(benchmark::State& state) {
    Capture& c = capture();
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = CaptureStore::encode(c.screen).size();
    if (bytes == 0)
        state.SkipWithError("the picture did not encode");
    state.counters["png_kib"] = double(bytes) / 1024;
}

// "Full Screen": the clean copy, taken whole, stored as a new row.
void store(benchmark::State& state) {
    Capture& c = capture();
    if (!c.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    for (auto _ : state)
        if (!c.store.add(CaptureRules::capture(c.screen, c.screen.rect()))) {
            state.SkipWithError("the capture was not stored");
            break;
        }
}

// "Full Screen" on two monitors side by side: their pictures joined into the desktop's,
// taken whole and stored.
void storeTwoMonitors(benchmark::State& state) {
    Capture& c = capture();
    if (!c.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    const QImage right = c.screen.mirrored(true, false);
    for (auto _ : state) {
        const ScreenGrab desktop = LinuxScreenGrabber::compose(
            {{QRect(0, 0, 1920, 1080), c.screen}, {QRect(1920, 0, 1920, 1080), right}});
        if (desktop.image.size() != QSize(3840, 1080) ||
            !c.store.add(CaptureRules::capture(desktop.image, desktop.image.rect()))) {
            state.SkipWithError("the desktop was not stored");
            break;
        }
    }
}

// SCTimer's step: the frozen screen and its box; or the click on "Full Screen" in that box.
enum class Step { Frozen, Click };

void throughWindows(benchmark::State& state, Step timed) {
    Capture& c = capture();
    if (!c.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    ScreenCapture& page = c.shownPage();
    for (auto _ : state) {
        if (timed != Step::Frozen)
            state.PauseTiming();
        page.startCapture();
        FullScreen* full = page.fullScreen();
        CaptureToolBox* box = full ? full->toolBox() : nullptr;
        if (!box) {
            state.SkipWithError("no frozen screen with its box");
            break;
        }
        if (timed == Step::Frozen)
            state.PauseTiming();
        QCoreApplication::processEvents();
        const qint64 before = page.currentRowId();
        if (timed == Step::Click)
            state.ResumeTiming();
        box->choiceButton(CaptureToolBox::FullScreen)->click();
        if (timed == Step::Click)
            state.PauseTiming();
        const bool listed = page.currentRowId() > before;
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        if (!listed) {
            state.SkipWithError("the new capture was not listed and chosen");
            break;
        }
    }
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("capture_encode", encode), 10, 1);
    Bench::standard(benchmark::RegisterBenchmark("capture_store", store), 10, 1);
    Bench::standard(benchmark::RegisterBenchmark("capture_store_two_monitors", storeTwoMonitors),
                    10, 1);
    Bench::standard(
        benchmark::RegisterBenchmark("capture_frozen_screen", throughWindows, Step::Frozen), 10, 1);
    Bench::standard(
        benchmark::RegisterBenchmark("capture_full_screen_click", throughWindows, Step::Click), 10,
        1);
}

} // namespace

int main(int argc, char* argv[]) {
    // The grab comes from a fake; the windows never need a real screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    registerBenchmarks();
    return Bench::run<QApplication>(argc, argv);
}
