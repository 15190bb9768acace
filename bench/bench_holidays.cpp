// SPDX-License-Identifier: GPL-3.0-or-later
// The holiday list and the HTML export: merging the shipped list into an empty data file
// and again unchanged, and exporting a month and the coming week from 2,000 events with
// the holidays (counter rows: the rows written).
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "calendar/EventExport.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "calendar/HolidayMerge.h"
#include "calendar/HolidayRules.h"
#include "data/DataFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <optional>

namespace {

const QDate Today(2026, 3, 10);

// The shipped list as a file holds it, and a data file with it merged and 2,000 events.
struct Holidays {
    QTemporaryDir dir;
    QByteArray list = *HolidayList::write(HolidayRules::shippedList(Today.year()));
    QString path = dir.filePath(QStringLiteral("data.plm"));
    EventStore store{path};
    std::optional<EventExport> exporter;
    bool ready = false;

    Holidays() {
        if (!programSchema().createTemplate(path, Today).isEmpty() ||
            !HolidayMerge::mergeList(store, list).complete)
            return;
        QRandomGenerator rng(7);
        std::vector<EventRow> rows;
        for (int i = 0; i < 2000; ++i) {
            EventRow e;
            e.eDate = Today.addDays(rng.bounded(-3650, 365));
            e.frequency = i % 4 == 0 ? 3 : i % 4 == 1 ? 5 : 1;
            e.description = QStringLiteral("Event <%1> & its description").arg(i);
            rows.push_back(std::move(e));
        }
        store.add(rows);
        exporter.emplace(store, dir.path());
        ready = true;
    }
};

Holidays& holidays() {
    static Holidays& s = Bench::keep(std::make_unique<Holidays>());
    return s;
}

void mergeIntoEmpty(benchmark::State& state) {
    const Holidays& h = holidays();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.plm"));
    EventStore store(path);
    HolidayMerge::Result r;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        const bool made = programSchema().createTemplate(path, Today).isEmpty();
        state.ResumeTiming();
        if (!made) {
            state.SkipWithError("could not make an empty data file");
            break;
        }
        r = HolidayMerge::mergeList(store, h.list);
        if (!r.complete) {
            state.SkipWithError("the merge did not complete");
            break;
        }
    }
    state.counters["added"] = r.added;
    state.counters["records"] = double(HolidayList::parse(h.list).records.size());
}

void mergeUnchanged(benchmark::State& state) {
    Holidays& h = holidays();
    if (!h.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    for (auto _ : state)
        if (!HolidayMerge::mergeList(h.store, h.list).complete) {
            state.SkipWithError("the merge did not complete");
            break;
        }
}

void exportDays(benchmark::State& state, int mode) {
    Holidays& h = holidays();
    if (!h.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    const HolidayFlags all{true, true, true};
    int rows = 0;
    for (auto _ : state)
        rows = h.exporter->write(mode, Today, Today, all).rows;
    if (rows == 0)
        state.SkipWithError("the export wrote no rows");
    state.counters["rows"] = rows;
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("holiday_merge_empty", mergeIntoEmpty), 10, 1);
    Bench::standard(benchmark::RegisterBenchmark("holiday_merge_unchanged", mergeUnchanged), 10,
                    10);
    Bench::standard(
        benchmark::RegisterBenchmark("export_month_2000", exportDays, EventExport::SelectedMonth),
        10, 1);
    Bench::standard(
        benchmark::RegisterBenchmark("export_week_2000", exportDays, EventExport::ComingDays), 10,
        1);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QGuiApplication>(argc, argv);
}
