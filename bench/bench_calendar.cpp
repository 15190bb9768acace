// SPDX-License-Identifier: GPL-3.0-or-later
// The month view: a full redraw of a month with 10,000 events (query, placement, painting
// into an off-screen surface), its parts, and a selection move within the month, for large
// and small icons; the first step of the read on a file made before the index it uses; and
// the window opened on 100,000 events, with the memory that takes (counter memory_mib).
// `--benchmark_filter=month_` or `--benchmark_filter=calendar_open` runs one part alone.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "calendar/MonthPainter.h"
#include "calendar/MonthPlacement.h"
#include "calendar/ui/Calendar.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace {

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

// A data file of its own and the program's context over it.
struct DataDir {
    QTemporaryDir dir;
    AppContext context;
    bool ready;

    DataDir(FakeDesktop& desktop, FakeClock& clock)
        : context(desktop.context(AppPaths(dir.path(), dir.path()), clock)),
          ready(programSchema().createTemplate(context.paths.dataFile(), clock.today()).isEmpty()) {
    }
};

struct Fakes {
    FakeClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    FakeDesktop desktop;
};

Fakes& fakes() {
    static Fakes& f = Bench::keep(std::make_unique<Fakes>());
    return f;
}

// 10,000 events, and a copy of the file without the index on (Frequency, eDate, Holiday),
// as a file made before it reads until the start-up migration adds the index.
struct TenThousand : DataDir {
    QString unindexed;

    TenThousand() : DataDir(fakes().desktop, fakes().clock) {
        if (!ready)
            return;
        const QString file = context.paths.dataFile();
        EventStore(file).add(manyEvents(fakes().clock.today(), 10000));
        unindexed = dir.filePath(QStringLiteral("unindexed.plm"));
        ready = QFile::copy(file, unindexed) &&
                DataFile(unindexed).exec(QStringLiteral("DROP INDEX EventsByCode"));
    }
};

TenThousand& tenThousand() {
    static TenThousand& s = Bench::keep(std::make_unique<TenThousand>());
    return s;
}

// The month view over the 10,000 events in one icon size, laid out, and the parts of its
// redraw taken apart.
struct Month {
    Calendar cal;
    bool small;
    QDate first, last;
    EventStore::Pictures pictures;
    QRectF grid;
    MonthPainter::MonthScene scene;
    EventStore store;

    Month(AppContext& context, bool smallIcons)
        : cal(context), small(smallIcons), store(context.paths.dataFile()) {
        cal.findChild<QObject*>(QStringLiteral("SmIco"))->setProperty("checked", small);
        cal.resize(1000, 700);
        cal.layOutNow();
        first = EventRules::firstVisibleDay(fakes().clock.today());
        last = first.addDays(41);
        pictures = small ? EventStore::Pictures::Small : EventStore::Pictures::Large;
        grid = cal.geometryTwips().calPic;
        scene.first = first;
        scene.month = 3;
        scene.flags = cal.holidayFlags();
        scene.smallIcons = small;
    }
};

Month& month(bool small) {
    static std::array<Month*, 2> made{};
    Month*& m = made[small ? 1 : 0];
    if (!m)
        m = &Bench::keep(std::make_unique<Month>(tenThousand().context, small));
    return *m;
}

bool monthReady(benchmark::State& state) {
    if (!tenThousand().ready)
        state.SkipWithError("could not make the data file of 10,000 events");
    return tenThousand().ready;
}

// The one-step read: every row of the month with all texts and pictures.
void readOneStep(benchmark::State& state, bool small) {
    if (!monthReady(state))
        return;
    Month& m = month(small);
    size_t fetched = 0;
    for (auto _ : state)
        fetched = m.store.readMonth(m.first, m.last, 3, m.pictures).size();
    state.counters["rows_fetched"] = double(fetched);
}

// The window's read: rows placed as they come until every cell is full, then the text and
// pictures of those drawn.
void readTwoStep(benchmark::State& state, bool small) {
    if (!monthReady(state))
        return;
    Month& m = month(small);
    size_t kept = 0, drawn = 0;
    for (auto _ : state) {
        MonthPlacement placement(m.first, 3, m.scene.flags, small, m.grid.width(), m.grid.height());
        m.store.readMonthDrawn(
            m.first, m.last, 3, m.pictures, [&](const EventRow& r) { return placement.add(r); },
            [&] {
                std::vector<EventRow*> rows = placement.drawnRows();
                drawn = rows.size();
                return rows;
            });
        MonthPainter::MonthScene placed;
        placement.fill(placed);
        kept = placed.rows->size();
        benchmark::DoNotOptimize(placed.occurrences);
    }
    state.counters["rows_kept"] = double(kept);
    state.counters["rows_drawn"] = double(drawn);
}

// Placing every row fetched and painting, on rows already read.
void placeAndPaint(benchmark::State& state, bool small) {
    if (!monthReady(state))
        return;
    Month& m = month(small);
    std::vector<EventRow> rows = m.store.readMonth(m.first, m.last, 3, m.pictures);
    MonthPainter::MonthScene scene = m.scene;
    scene.rows = &rows;
    QImage surface(int(m.grid.width() / 15), int(m.grid.height() / 15),
                   QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        scene.occurrences = EventRules::placeMonth(rows, m.first, 3);
        MonthPainter::paintGrid(surface, m.grid.width(), m.grid.height(), scene, m.cal.icons(),
                                m.cal.font());
    }
}

void fullRedraw(benchmark::State& state, bool small) {
    if (!monthReady(state))
        return;
    Month& m = month(small);
    for (auto _ : state)
        m.cal.redraw(true);
}

// The budget holds for both icon sizes: each pass counts the slower of the two redraws.
void slowerRedraw(benchmark::State& state) {
    if (!monthReady(state))
        return;
    Month& large = month(false);
    Month& small = month(true);
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto start = Clock::now();
        large.cal.redraw(true);
        const auto between = Clock::now();
        small.cal.redraw(true);
        const auto end = Clock::now();
        state.SetIterationTime(
            std::chrono::duration<double>(std::max(between - start, end - between)).count());
    }
}

// A new selected day within the shown month: repainted from what the last full redraw
// read, so it should run no query (counter queries_per_move).
void moveWithinMonth(benchmark::State& state, bool small) {
    if (!monthReady(state))
        return;
    Month& m = month(small);
    m.cal.redraw(true);
    const int queries = m.cal.store().queriesRun();
    int day = 0;
    for (auto _ : state) {
        m.cal.setSelectedDate(QDate(2026, 3, 1 + day++ % 31));
        m.cal.redraw(false);
    }
    state.counters["queries_per_move"] = benchmark::Counter(
        double(m.cal.store().queriesRun() - queries), benchmark::Counter::kAvgIterations);
}

void readUnindexed(benchmark::State& state) {
    if (!monthReady(state))
        return;
    EventStore unindexed(tenThousand().unindexed);
    const QDate first = EventRules::firstVisibleDay(fakes().clock.today());
    for (auto _ : state)
        unindexed.readMonthDrawn(
            first, first.addDays(41), 3, EventStore::Pictures::Large,
            [](const EventRow&) { return true; }, [] { return std::vector<EventRow*>(); });
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

DataDir& emptyFile() {
    static DataDir& s = Bench::keep(std::make_unique<DataDir>(fakes().desktop, fakes().clock));
    return s;
}

// 100,000 events, and the growth of the peak resident size over one opening, measured once
// the widgets' own first-use costs (fonts, style) were paid on an empty file.
struct HundredThousand : DataDir {
    double growthMiB = 0;

    HundredThousand() : DataDir(fakes().desktop, fakes().clock) {
        if (!ready || !emptyFile().ready) {
            ready = false;
            return;
        }
        EventStore(context.paths.dataFile()).add(manyEvents(fakes().clock.today(), 100000));
        openCalendar(emptyFile().context);
        malloc_trim(0);
        const double before = statusMiB("VmRSS");
        resetPeak();
        openCalendar(context);
        growthMiB = statusMiB("VmHWM") - before;
    }
};

void openEmpty(benchmark::State& state) {
    if (!emptyFile().ready) {
        state.SkipWithError("could not make the empty data file");
        return;
    }
    for (auto _ : state)
        openCalendar(emptyFile().context);
}

void open100000(benchmark::State& state) {
    static HundredThousand& s = Bench::keep(std::make_unique<HundredThousand>());
    if (!s.ready) {
        state.SkipWithError("could not make the data file of 100,000 events");
        return;
    }
    for (auto _ : state)
        openCalendar(s.context);
    state.counters["memory_mib"] = s.growthMiB;
}

void registerBenchmarks() {
    for (const bool small : {false, true}) {
        const std::string size = small ? "_small" : "_large";
        Bench::standard(benchmark::RegisterBenchmark(("month_read_one_step" + size).c_str(),
                                                     readOneStep, small),
                        10, 3);
        Bench::standard(benchmark::RegisterBenchmark(("month_read_two_step" + size).c_str(),
                                                     readTwoStep, small),
                        10, 3);
        Bench::standard(benchmark::RegisterBenchmark(("month_place_paint" + size).c_str(),
                                                     placeAndPaint, small),
                        10, 3);
        Bench::standard(
            benchmark::RegisterBenchmark(("month_redraw_10000" + size).c_str(), fullRedraw, small),
            10, 3);
        Bench::standard(
            benchmark::RegisterBenchmark(("month_move" + size).c_str(), moveWithinMonth, small), 10,
            200);
    }
    Bench::standard(benchmark::RegisterBenchmark("month_redraw_10000", slowerRedraw), 10, 3)
        ->UseManualTime();
    Bench::standard(benchmark::RegisterBenchmark("month_read_unindexed", readUnindexed), 10, 1);
    Bench::standard(benchmark::RegisterBenchmark("calendar_open_empty", openEmpty), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("calendar_open_100000", open100000), 10, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QApplication>(argc, argv);
}
