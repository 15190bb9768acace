// SPDX-License-Identifier: GPL-3.0-or-later
// iCalendar interchange with 10,000 events: importing a file into an empty data file,
// importing it again unchanged, and exporting every event.
#include "BenchMain.h"
#include "calendar/EventStore.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcsExport.h"
#include "mock/TestSchema.h"

#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

const QDate Today(2026, 3, 10);
const QDateTime Now(Today, QTime(9, 0), Qt::UTC);
constexpr int Events = 10000;

// 10,000 events as stored rows, their file, and a data file that holds them.
struct Interchange {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.plm"));
    EventStore store{path};
    std::vector<EventRow> rows;
    QByteArray file;
    bool ready = false;

    Interchange() {
        QRandomGenerator rng(26);
        for (int i = 0; i < Events; ++i) {
            EventRow e;
            e.eDate = Today.addDays(rng.bounded(-700, 700));
            e.frequency = i % 10 == 0 ? 3 : i % 10 == 1 ? 5 : i % 10 == 2 ? 4 : 1;
            e.description = QStringLiteral("Event %1, with a comma; and a longer text to fold "
                                           "over the line length of the format")
                                .arg(i);
            e.uid = EventStore::newUid();
            e.modified = Now;
            rows.push_back(std::move(e));
        }
        file = IcsExport::write(rows, Now);
        ready =
            testSchema().createTemplate(path, Today).isEmpty() &&
            CalendarImport(store, Today, Now).importData(file, QStringLiteral("b")).added == Events;
    }
};

Interchange& interchange() {
    static Interchange& s = Bench::keep(std::make_unique<Interchange>());
    return s;
}

void importIntoEmpty(benchmark::State& state) {
    const Interchange& x = interchange();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.plm"));
    EventStore store(path);
    ImportReport r;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        const bool made = testSchema().createTemplate(path, Today).isEmpty();
        state.ResumeTiming();
        if (!made) {
            state.SkipWithError("could not make an empty data file");
            break;
        }
        r = CalendarImport(store, Today, Now).importData(x.file, QStringLiteral("bench"));
    }
    if (r.added != Events)
        state.SkipWithError("the import did not add every event");
    state.counters["added"] = r.added;
}

void importUnchanged(benchmark::State& state) {
    Interchange& x = interchange();
    if (!x.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    ImportReport r;
    for (auto _ : state)
        r = CalendarImport(x.store, Today, Now).importData(x.file, QStringLiteral("bench"));
    if (r.unchanged != Events)
        state.SkipWithError("the re-import changed events");
}

void exportAll(benchmark::State& state) {
    Interchange& x = interchange();
    if (!x.ready) {
        state.SkipWithError("could not make the data file");
        return;
    }
    std::vector<EventRow> rows;
    qsizetype bytes = 0;
    for (auto _ : state) {
        if (!IcsExport::select(x.store, IcsExport::All, Today, Today, false, {}, rows)) {
            state.SkipWithError("the events could not be read");
            break;
        }
        bytes = IcsExport::write(rows, Now).size();
    }
    state.counters["events"] = double(rows.size());
    state.counters["bytes"] = double(bytes);
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("ics_import_10000", importIntoEmpty), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_reimport_10000", importUnchanged), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_export_10000", exportAll), 5, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QGuiApplication>(argc, argv);
}
