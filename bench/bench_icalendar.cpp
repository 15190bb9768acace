// SPDX-License-Identifier: GPL-3.0-or-later
// iCalendar interchange with 10,000 events: importing a file into an empty data file,
// importing it again unchanged, and exporting every event. Rules that repeat without bound:
// 100 events every second for a million seconds, one event that walks the most steps an
// event may, and 2,000 events of 1,000 days into an empty data file, of which one import
// keeps its most rows.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcsExport.h"
#include "calendar/ical/IcsImport.h"

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
            programSchema().createTemplate(path, Today).isEmpty() &&
            CalendarImport(store, Today, Now).importData(file, QStringLiteral("b")).added == Events;
    }
};

Interchange& interchange() {
    static Interchange& s = Bench::keep(std::make_unique<Interchange>());
    return s;
}

// Imports `file` into a fresh empty data file in each pass; the last pass's report.
ImportReport importIntoEmptyFile(benchmark::State& state, const QByteArray& file) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.plm"));
    EventStore store(path);
    ImportReport r;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        const bool made = programSchema().createTemplate(path, Today).isEmpty();
        state.ResumeTiming();
        if (!made) {
            state.SkipWithError("could not make an empty data file");
            break;
        }
        r = CalendarImport(store, Today, Now).importData(file, QStringLiteral("bench"));
    }
    state.counters["added"] = r.added;
    return r;
}

void importIntoEmpty(benchmark::State& state) {
    if (importIntoEmptyFile(state, interchange().file).added != Events)
        state.SkipWithError("the import did not add every event");
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

// A file of `events` events with `rule`, from `start` ("20260301" or "20260301T100000").
QByteArray ruleFile(int events, const char* start, const char* rule) {
    QByteArray f = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
    for (int i = 0; i < events; ++i)
        f += QStringLiteral("BEGIN:VEVENT\r\nUID:rule-%1\r\nDTSTAMP:20260101T000000Z\r\n"
                            "DTSTART%2:%3\r\nRRULE:%4\r\nSUMMARY:Rule %1\r\nEND:VEVENT\r\n")
                 .arg(i)
                 .arg(qstrlen(start) == 8 ? QStringLiteral(";VALUE=DATE") : QString())
                 .arg(QLatin1String(start), QLatin1String(rule))
                 .toUtf8();
    return f + "END:VCALENDAR\r\n";
}

void readRules(benchmark::State& state, const QByteArray& file, size_t expectedRows) {
    size_t rows = 0;
    for (auto _ : state) {
        const IcsImport::Result r = IcsImport::read(file, Today);
        rows = 0;
        for (const IcsImport::Event& e : r.events)
            rows += e.rows.size();
    }
    if (rows != expectedRows)
        state.SkipWithError("the rules made other rows than expected");
    state.counters["rows"] = double(rows);
}

void secondly100(benchmark::State& state) {
    // Each shown once a day for the 12 days it lasts.
    readRules(state, ruleFile(100, "20260301T100000", "FREQ=SECONDLY;COUNT=1000000"), 1200);
}

void densestEvent(benchmark::State& state) {
    // COUNT with BYDAY from 1970: walked from its start until given up.
    readRules(state, ruleFile(1, "19700101", "FREQ=WEEKLY;BYDAY=MO,TH;COUNT=100000"), 0);
}

void daily2000(benchmark::State& state) {
    const QByteArray file = ruleFile(2000, "20260301", "FREQ=DAILY;COUNT=1000");
    if (importIntoEmptyFile(state, file).added != IcsImport::MaxRowsPerBatch / 1000)
        state.SkipWithError("the import did not keep its most rows");
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("ics_import_10000", importIntoEmpty), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_reimport_10000", importUnchanged), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_export_10000", exportAll), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_secondly_100", secondly100), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_densest_event", densestEvent), 5, 1);
    Bench::standard(benchmark::RegisterBenchmark("ics_daily_2000", daily2000), 3, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QGuiApplication>(argc, argv);
}
