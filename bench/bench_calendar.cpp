// The month view: a full redraw of a month with 10,000 events (query, placement, painting
// into an off-screen surface) and a selection move within the month; and the window
// opened on 100,000 events, with the memory that takes. Prints the times, and a "BENCH"
// line per budgeted figure for bench/run.sh. `bench_calendar redraw` or `bench_calendar
// open` runs one part alone.
#include "BenchTiming.h"
#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "calendar/MonthPainter.h"
#include "calendar/MonthPlacement.h"
#include "calendar/ui/Calendar.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
namespace {

using Bench::timeMs;
using Bench::Timing;

// `count` events over twenty years around `today`.
std::vector<EventRow> manyEvents(const QDate& today, int count) {
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
    for (int i = 0; i < count; ++i) {
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

// A line of /proc/self/status in MiB ("VmRSS", "VmHWM").
double statusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& l : status.readAll().split('\n'))
        if (l.startsWith(key))
            return l.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Starts the peak resident size afresh from the current one.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// What the double-click does once the main window holds the page: the page is made, sized,
// shown, laid out as its refresh timer does, and painted.
void openCalendar(AppContext& context) {
    Calendar cal(context);
    cal.resize(1000, 700);
    cal.show();
    cal.layOutNow();
    cal.repaint();
}

int redrawSection(FakeClock& clock, FakeDesktop& desktop) {
    QTemporaryDir dir;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    if (!Schema::createTemplate(context.paths.dataFile(), clock.today()).isEmpty())
        return 1;
    EventStore(context.paths.dataFile()).add(manyEvents(clock.today(), 10000));

    Timing slowerMode;
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
        EventStore store(context.paths.dataFile());
        size_t kept = 0, drawn = 0;
        // The window's read: rows placed as they come until every cell is full, then the
        // text and pictures of those drawn.
        const auto twoStepRead = [&] {
            MonthPlacement placement(first, 3, scene.flags, small, grid.width(), grid.height());
            store.readMonthDrawn(
                first, last, 3, pictures, [&](const EventRow& r) { return placement.add(r); },
                [&] {
                    std::vector<EventRow*> rows = placement.drawnRows();
                    drawn = rows.size();
                    return rows;
                });
            MonthPainter::MonthScene placed;
            placement.fill(placed);
            kept = placed.rows->size();
            return placed.occurrences;
        };

        size_t fetched = 0;
        std::vector<EventRow> rows;
        const Timing oneStep = timeMs(30, [&] {
            rows = store.readMonth(first, last, 3, pictures);
            fetched = rows.size();
        });
        const Timing twoStep = timeMs(30, [&] { twoStepRead(); });
        const Timing full = timeMs(30, [&] { cal.redraw(true); });

        // Placing every row fetched and painting, on rows already read.
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

        std::printf("%s icons (%zu rows fetched, %zu kept, %zu drawn), median / best of 30 "
                    "(median processor time):\n"
                    "  one-step read, all texts and pictures  %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  two-step read, drawn rows' only        %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  every row placed, and painting         %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  full redraw                            %6.2f / %6.2f ms (%6.2f ms)\n"
                    "  move within the month                  %8.4f ms, %d queries in %d moves\n",
                    small ? "Small" : "Large", fetched, kept, drawn, oneStep.median, oneStep.best,
                    oneStep.cpu, twoStep.median, twoStep.best, twoStep.cpu, paint.median,
                    paint.best, paint.cpu, full.median, full.best, full.cpu, move,
                    cal.store().queriesRun() - queries, Moves);
        if (full.best > slowerMode.best)
            slowerMode = full;
    }
    // The budget holds for both icon sizes: the slower one counts.
    Bench::line("month_redraw_10000", slowerMode);

    // A file made before the index on (Frequency, eDate, Holiday), as it reads until the
    // start-up migration adds the index: every row comes from the table.
    {
        DataFile db(context.paths.dataFile());
        if (!db.exec(QStringLiteral("DROP INDEX EventsByCode")))
            return 1;
    }
    const QDate first = EventRules::firstVisibleDay(clock.today());
    EventStore unindexed(context.paths.dataFile());
    const Timing without = timeMs(10, [&] {
        unindexed.readMonthDrawn(
            first, first.addDays(41), 3, EventStore::Pictures::Large,
            [](const EventRow&) { return true; }, [] { return std::vector<EventRow*>(); });
    });
    std::printf("Earlier file without the index, median / best of 10 (median processor time):\n"
                "  first step without the index           %6.2f / %6.2f ms (%6.2f ms)\n",
                without.median, without.best, without.cpu);
    return 0;
}

int openSection(FakeClock& clock, FakeDesktop& desktop) {
    // The widgets' own first-use costs (fonts, style) are paid on an empty file first.
    QTemporaryDir empty;
    AppContext emptyContext = desktop.context(AppPaths(empty.path(), empty.path()), clock);
    if (!Schema::createTemplate(emptyContext.paths.dataFile(), clock.today()).isEmpty())
        return 1;
    const Timing none = timeMs(5, [&] { openCalendar(emptyContext); });

    QTemporaryDir big;
    AppContext context = desktop.context(AppPaths(big.path(), big.path()), clock);
    if (!Schema::createTemplate(context.paths.dataFile(), clock.today()).isEmpty())
        return 1;
    EventStore(context.paths.dataFile()).add(manyEvents(clock.today(), 100000));
    malloc_trim(0);

    const double before = statusMiB("VmRSS");
    resetPeak();
    openCalendar(context);
    const double growth = statusMiB("VmHWM") - before;

    const Timing open = timeMs(10, [&] { openCalendar(context); });
    std::printf("Calendar opened, median / best (median processor time):\n"
                "  on an empty data file                  %6.2f / %6.2f ms (%6.2f ms)\n"
                "  on 100,000 events                      %6.2f / %6.2f ms (%6.2f ms)\n"
                "  peak memory growth, 100,000 events     %6.1f MiB\n",
                none.median, none.best, none.cpu, open.median, open.best, open.cpu, growth);
    Bench::line("calendar_open_100000", open);
    Bench::line("calendar_memory_100000", growth, 0);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
    FakeDesktop desktop;
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (only != "open" && redrawSection(clock, desktop) != 0)
        return 1;
    if (only != "redraw" && openSection(clock, desktop) != 0)
        return 1;
    return 0;
}
