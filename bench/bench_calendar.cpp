// The month view with 10,000 events: a full redraw (query, placement, painting into an
// off-screen surface) and a selection move within the month. Prints the times.
#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "calendar/MonthPainter.h"
#include "calendar/ui/Calendar.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

struct Timing {
    double median;
    double best;
    double cpu; // median processor time of this thread, unaffected by waiting for a core
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Median and best of `runs` timings of `f`, in milliseconds; on a shared machine the best
// is the closest to the uncontended cost.
Timing timeMs(int runs, const std::function<void()>& f) {
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const double c = threadCpuMs();
        f();
        cpu.push_back(threadCpuMs() - c);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    return {times[times.size() / 2], times.front(), cpu[cpu.size() / 2]};
}

std::vector<EventRow> tenThousandEvents(const QDate& today) {
    // Twenty pictures, as if picked from an icon library.
    std::vector<QByteArray> icons, smalls;
    for (int i = 0; i < 20; ++i) {
        QImage img = HolidaysIL::raw(1 + i % 8);
        img.invertPixels(i % 3 == 0 ? QImage::InvertRgb : QImage::InvertRgba);
        img.setPixel(i, i, qRgb(i * 10, 0, 0));
        icons.push_back(toPng(img));
        smalls.push_back(toPng(img.scaled(16, 16)));
    }
    QRandomGenerator rng(42);
    std::vector<EventRow> rows;
    for (int i = 0; i < 10000; ++i) {
        EventRow r;
        const int kind = rng.bounded(100);
        // About half repeat weekly or monthly, which the month view always fetches.
        r.frequency = kind < 45 ? 1 : kind < 50 ? 5 : kind < 75 ? 3 : 4;
        r.eDate = today.addDays(rng.bounded(-15 * 365, 5 * 365));
        r.description = QStringLiteral("Event number %1 with a description of some length").arg(i);
        r.holiday = kind % 10 == 0 ? 1 + rng.bounded(8) : 0;
        const int pic = rng.bounded(20);
        if (r.holiday == 0) {
            r.iconImg = icons[pic];
            r.smallImg = smalls[pic];
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    if (!Schema::createTemplate(context.paths.dataFile(), clock.today()).isEmpty())
        return 1;
    EventStore(context.paths.dataFile()).add(tenThousandEvents(clock.today()));

    for (bool small : {false, true}) {
        Calendar cal(context);
        cal.findChild<QObject*>(QStringLiteral("SmIco"))->setProperty("checked", small);
        cal.resize(1000, 700);
        cal.layOutNow();

        const QDate first = EventRules::firstVisibleDay(clock.today());
        const QDate last = first.addDays(41);
        const auto pictures = small ? EventStore::Pictures::Small : EventStore::Pictures::Large;
        const QRectF grid = cal.geometryTwips().calPic;
        MonthPainter::MonthScene scene;
        scene.first = first;
        scene.month = 3;
        scene.flags = cal.holidayFlags();
        scene.smallIcons = small;
        size_t drawn = 0;
        const EventStore::Pick pick = [&](const std::vector<EventRow>& fetched) {
            scene.rows = &fetched;
            scene.occurrences = EventRules::placeMonth(fetched, first, 3);
            const std::vector<int> rows =
                MonthPainter::drawnRows(scene, grid.width(), grid.height());
            drawn = rows.size();
            return rows;
        };

        EventStore store(context.paths.dataFile());
        size_t fetched = 0;
        const Timing oneStep =
            timeMs(30, [&] { fetched = store.readMonth(first, last, 3, pictures).size(); });
        const Timing twoStep =
            timeMs(30, [&] { store.readMonthDrawn(first, last, 3, pictures, pick); });
        const Timing full = timeMs(30, [&] { cal.redraw(true); });

        // Placement and painting alone, on rows already read.
        const std::vector<EventRow> rows = store.readMonthDrawn(first, last, 3, pictures, pick);
        scene.rows = &rows;
        QImage surface(int(grid.width() / 15), int(grid.height() / 15),
                       QImage::Format_ARGB32_Premultiplied);
        const Timing paint = timeMs(30, [&] {
            scene.occurrences = EventRules::placeMonth(rows, first, 3);
            MonthPainter::paintGrid(surface, grid.width(), grid.height(), scene, cal.icons(),
                                    cal.font());
        });

        const int queries = cal.store().queriesRun();
        constexpr int Moves = 2000;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < Moves; ++i) {
            cal.setSelectedDate(QDate(2026, 3, 1 + i % 31));
            cal.redraw(false);
        }
        const double move = double(t.nsecsElapsed()) / 1e6 / Moves;

        std::printf("%s icons (%zu rows fetched, %zu drawn), median / best of 30 (median "
                    "processor time):\n"
                    "  one-step read, all texts and pictures  %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  two-step read, drawn rows' only        %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  placement and painting                 %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  full redraw                            %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  move within the month                  %8.4f ms, %d queries in %d moves\n",
                    small ? "Small" : "Large", fetched, drawn, oneStep.median, oneStep.best,
                    oneStep.cpu, twoStep.median, twoStep.best, twoStep.cpu, paint.median,
                    paint.best, paint.cpu, full.median, full.best, full.cpu, move,
                    cal.store().queriesRun() - queries, Moves);
    }

    // A file made before the index on (Frequency, eDate, Holiday), as it reads until the
    // start-up migration adds the index: every row comes from the table.
    {
        DataFile db(context.paths.dataFile());
        if (!db.exec(QStringLiteral("DROP INDEX EventsByCode")))
            return 1;
    }
    const QDate first = EventRules::firstVisibleDay(clock.today());
    const auto noPick = [](const std::vector<EventRow>&) { return std::vector<int>(); };
    EventStore unindexed(context.paths.dataFile());
    const Timing without = timeMs(10, [&] {
        unindexed.readMonthDrawn(first, first.addDays(41), 3, EventStore::Pictures::Large, noPick);
    });
    std::printf("Earlier file without the index, median / best of 10 (median processor time):\n"
                "  first step without the index           %6.2f / %6.2f ms (%6.2f ms)\n",
                without.median, without.best, without.cpu);
    return 0;
}
