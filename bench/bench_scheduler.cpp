// The schedule list's costs over 1,000 entries: reading them and making every line's
// texts, and deleting 100 marked entries on close; then the same through the Power
// Scheduler page: opening it and leaving it with 100 marks. Targets are 100 ms and 50 ms.
#include "BenchTiming.h"
#include "core/DataFile.h"
#include "core/Schema.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleStore.h"
#include "scheduler/ui/Schedule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

namespace {

bool fill(const QString& path) {
    QFile::remove(path);
    if (!Schema::createTemplate(path, QDate(2026, 3, 1)).isEmpty())
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

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.plm"));
    const QLocale locale;

    constexpr int Rounds = 20;
    QElapsedTimer timer;
    qint64 worstRead = 0, totalRead = 0, worstMarks = 0, totalMarks = 0;
    for (int round = 0; round < Rounds; ++round) {
        if (!fill(path))
            return 1;
        ScheduleStore store(path);
        ScheduleList list;
        timer.start();
        std::vector<ScheduleRow> rows;
        if (!store.readAll(rows))
            return 1;
        list.load(std::move(rows));
        qsizetype chars = 0;
        for (int line = 0; line < list.lineCount(); ++line) {
            const ScheduleRowText t = list.text(line, locale);
            chars += t.type.size() + t.description.size() + t.when.size() + t.frequency.size();
        }
        qint64 ns = timer.nsecsElapsed();
        totalRead += ns;
        worstRead = std::max(worstRead, ns);
        if (list.lineCount() != 1001 || chars == 0)
            return 1;

        for (int line = 0; line < 1000; line += 10)
            list.doubleClick(line, 0);
        timer.start();
        if (!store.applyMarks(list.markedEntries()))
            return 1;
        ns = timer.nsecsElapsed();
        totalMarks += ns;
        worstMarks = std::max(worstMarks, ns);
    }
    std::printf("schedule list, 1000 entries read and formatted: %.3f ms mean, %.3f ms worst "
                "(target < 100 ms)\n",
                totalRead / 1e6 / Rounds, worstRead / 1e6);
    std::printf("100 deletion marks applied: %.3f ms mean, %.3f ms worst (target < 50 ms)\n",
                totalMarks / 1e6 / Rounds, worstMarks / 1e6);

    // The page: created, laid out, shown and painted once; then left with 100 marks.
    FakeClock clock;
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    qint64 worstOpen = 0, totalOpen = 0, worstLeave = 0, totalLeave = 0;
    qint64 bestOpen = std::numeric_limits<qint64>::max();
    std::vector<double> openCpu;
    for (int round = 0; round < Rounds; ++round) {
        if (!fill(path))
            return 1;
        const double cpu = Bench::threadCpuMs();
        timer.start();
        auto page = std::make_unique<Schedule>(context);
        page->resize(800, 560);
        page->show();
        page->activated();
        page->repaint();
        qint64 ns = timer.nsecsElapsed();
        openCpu.push_back(Bench::threadCpuMs() - cpu);
        totalOpen += ns;
        worstOpen = std::max(worstOpen, ns);
        bestOpen = std::min(bestOpen, ns);
        if (page->grid()->rowCount() != 1001)
            return 1;

        for (int line = 0; line < 1000; line += 10)
            page->doubleClickCell(line, Schedule::MarkCol);
        timer.start();
        page->aboutToHide();
        ns = timer.nsecsElapsed();
        totalLeave += ns;
        worstLeave = std::max(worstLeave, ns);
        if (!desktop.dialogs.messages.isEmpty())
            return 1;
    }
    std::printf("schedule page opened on 1000 entries: %.3f ms mean, %.3f ms worst "
                "(target < 100 ms)\n",
                totalOpen / 1e6 / Rounds, worstOpen / 1e6);
    std::printf("schedule page left with 100 marks: %.3f ms mean, %.3f ms worst "
                "(target < 50 ms)\n",
                totalLeave / 1e6 / Rounds, worstLeave / 1e6);
    std::sort(openCpu.begin(), openCpu.end());
    Bench::line("schedule_open_1000", double(bestOpen) / 1e6, openCpu[openCpu.size() / 2]);
    return 0;
}
