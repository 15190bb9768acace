// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule list's costs over 1,000 entries: reading them and making every line's
// texts, and deleting 100 marked entries on close; then the same through the Power
// Scheduler page: opening it and leaving it with 100 marks. Targets are 100 ms and 50 ms.
// Every pass starts from a fresh copy of the same 1,000 entries.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleStore.h"
#include "scheduler/ui/Schedule.h"

#include <QApplication>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

bool fill(const QString& path) {
    QFile::remove(path);
    if (!programSchema().createTemplate(path, QDate(2026, 3, 1)).isEmpty())
        return false;
    DataFile db(path);
    Transaction transaction(db);
    for (int i = 0; i < 1000; ++i) {
        const QString due = QStringLiteral("2026-%1-%2 %3:%4")
                                .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                                .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                                .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                                .arg(i % 60, 2, 10, QLatin1Char('0'));
        db.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency) "
                               "VALUES (?, ?, ?, ?)"),
                {1 + i % 2,
                 i % 2 ? QStringLiteral("H") : QStringLiteral("/opt/tools/job %1").arg(i), due,
                 i % 6});
    }
    return transaction.commit();
}

// A file of 1,000 entries kept aside, and the working data file each pass starts from a
// copy of.
struct Entries {
    QTemporaryDir dir;
    QString filled = dir.filePath(QStringLiteral("filled.plm"));
    bool ready = fill(filled);
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context{desktop.context(AppPaths(dir.path(), dir.path()), clock)};

    bool freshCopy() const {
        const QString path = context.paths.dataFile();
        QFile::remove(path);
        return QFile::copy(filled, path);
    }
};

Entries& entries() {
    static Entries& s = Bench::keep(std::make_unique<Entries>());
    return s;
}

// The data file back as it was before a pass; false (the run failed) when it cannot be.
bool freshFile(benchmark::State& state, Entries& e) {
    if (e.ready && e.freshCopy())
        return true;
    state.SkipWithError("could not make the data file");
    return false;
}

// The list made from the file: every entry read and every line's texts made.
void read1000(benchmark::State& state) {
    Entries& e = entries();
    const QLocale locale;
    for (auto _ : state) {
        state.PauseTiming();
        if (!freshFile(state, e))
            break;
        ScheduleStore store(e.context.paths.dataFile());
        ScheduleList list;
        state.ResumeTiming();
        std::vector<ScheduleRow> rows;
        if (!store.readAll(rows)) {
            state.SkipWithError("the entries could not be read");
            break;
        }
        list.load(std::move(rows));
        qsizetype chars = 0;
        for (int line = 0; line < list.lineCount(); ++line) {
            const ScheduleRowText t = list.text(line, locale);
            chars += t.type.size() + t.description.size() + t.when.size() + t.frequency.size();
        }
        if (list.lineCount() != 1001 || chars == 0) {
            state.SkipWithError("the list does not hold 1,000 entries and their texts");
            break;
        }
    }
}

// Every tenth line marked for deletion, and the marks applied to the file.
void applyMarks(benchmark::State& state) {
    Entries& e = entries();
    for (auto _ : state) {
        state.PauseTiming();
        if (!freshFile(state, e))
            break;
        ScheduleStore store(e.context.paths.dataFile());
        ScheduleList list;
        std::vector<ScheduleRow> rows;
        if (!store.readAll(rows)) {
            state.SkipWithError("the entries could not be read");
            break;
        }
        list.load(std::move(rows));
        for (int line = 0; line < 1000; line += 10)
            list.doubleClick(line, 0);
        state.ResumeTiming();
        if (!store.applyMarks(list.markedEntries())) {
            state.SkipWithError("the marks were not applied");
            break;
        }
    }
}

// The page: created, laid out, shown and painted once.
std::unique_ptr<Schedule> openPage(AppContext& context) {
    auto page = std::make_unique<Schedule>(context);
    page->resize(800, 560);
    page->show();
    page->activated();
    page->repaint();
    return page;
}

void open1000(benchmark::State& state) {
    Entries& e = entries();
    std::unique_ptr<Schedule> page;
    for (auto _ : state) {
        state.PauseTiming();
        page.reset();
        if (!freshFile(state, e))
            break;
        state.ResumeTiming();
        page = openPage(e.context);
        if (page->grid()->rowCount() != 1001) {
            state.SkipWithError("the page does not list 1,000 entries");
            break;
        }
    }
}

// The page left with 100 marks: the marked entries deleted without a message.
void leaveWithMarks(benchmark::State& state) {
    Entries& e = entries();
    for (auto _ : state) {
        state.PauseTiming();
        if (!freshFile(state, e))
            break;
        const std::unique_ptr<Schedule> page = openPage(e.context);
        for (int line = 0; line < 1000; line += 10)
            page->doubleClickCell(line, Schedule::MarkCol);
        state.ResumeTiming();
        page->aboutToHide();
        state.PauseTiming();
        const bool quiet = e.desktop.dialogs.messages.isEmpty();
        state.ResumeTiming();
        if (!quiet) {
            state.SkipWithError("leaving the page showed a message");
            break;
        }
    }
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("schedule_read_1000", read1000), 10, 5);
    Bench::standard(benchmark::RegisterBenchmark("schedule_apply_marks_100", applyMarks), 10, 5);
    Bench::standard(benchmark::RegisterBenchmark("schedule_open_1000", open1000), 10, 5);
    Bench::standard(benchmark::RegisterBenchmark("schedule_leave_100_marks", leaveWithMarks), 10,
                    5);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QApplication>(argc, argv);
}
